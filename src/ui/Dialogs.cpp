#include "ui/Dialogs.hpp"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/CompressorOptionsDialog.hpp"

namespace ostrovik::ui {

namespace {

class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox::information(parent, title, text);
    }
    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, QStringLiteral("Ostrovik"), text);
    }
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        const QString name = QFileDialog::getOpenFileName(parent, title, dir, filter);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }
    std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        const QString name = QFileDialog::getSaveFileName(parent, title, dir, filter);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }
    bool compressorOptions(QWidget* parent, const QString& title,
                           std::vector<files::avi::CompressorOption>& options) override
    {
        return editCompressorOptions(parent, title, options);
    }
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override
    {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& dir) override
    {
        const QString name = QFileDialog::getExistingDirectory(parent, title, dir);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }
};

QtDialogs realDialogs;
Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs()
{
    return current ? *current : realDialogs;
}

void setDialogs(Dialogs* d)
{
    current = d;
}

} // namespace ostrovik::ui
