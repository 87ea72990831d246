#include "kit/Dialogs.hpp"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QPointer>
#include <QMessageBox>
#include <QWindow>

#include "kit/CentreOnOwner.hpp"

namespace ostrovik::kit {

namespace {

/// Cancels a dialog once the window beneath it is closed.
class WindowGone final : public QObject {
public:
    explicit WindowGone(QDialog& dialog) : dialog_(dialog) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            dialog_.reject();
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog& dialog_;
};

/// The settings both open dialogs share. The program's filters come as
/// "name (patterns)" where the user is to read the name alone.
void setUpOpenDialog(QFileDialog& dialog, const QString& defaultSuffix)
{
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(defaultSuffix);
}

QString firstChosen(const QFileDialog& dialog)
{
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

void StandardDialogs::message(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text);
}

void StandardDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QStringLiteral("Ostrovik"), text);
}

std::optional<QString> StandardDialogs::openFile(QWidget* parent, const QString& title, const QString& dir,
                                const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, dir, filter);
    setUpOpenDialog(dialog, defaultSuffix);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString name = firstChosen(dialog);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> StandardDialogs::openFileClosable(QWidget* parent, const QString& title, const QString& dir,
                                        const QString& filter, const QString& defaultSuffix)
{
    // Not modal: a modal dialog makes the desktop's close box of the
    // window beneath do nothing. That window is disabled instead, which
    // keeps its input away but lets it be closed, and its closing ends
    // the dialog.
    QPointer<QWidget> window = parent ? parent->window() : nullptr;
    // Its own top-level window (a child would be disabled with the
    // window), kept above that window and centred on it.
    QFileDialog dialog(nullptr, title, dir, filter);
    setUpOpenDialog(dialog, defaultSuffix);
    dialog.setWindowModality(Qt::NonModal);
    if (window) {
        dialog.winId();
        if (dialog.windowHandle() && window->windowHandle())
            dialog.windowHandle()->setTransientParent(window->windowHandle());
        dialog.adjustSize();
        centreOnOwner(dialog, *window);
    }
    const bool wasEnabled = window && window->isEnabled();
    WindowGone gone(dialog);
    if (window) {
        window->setEnabled(false);
        window->installEventFilter(&gone);
    }
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    if (!window || window->isVisible())
        loop.exec();
    if (window) {
        window->removeEventFilter(&gone);
        window->setEnabled(wasEnabled);
    }
    const QString name = firstChosen(dialog);
    if (dialog.result() != QDialog::Accepted || name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> StandardDialogs::saveFile(QWidget* parent, const QString& title, const QString& dir,
                                const QString& filter)
{
    const QString name = QFileDialog::getSaveFileName(parent, title, dir, filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

bool StandardDialogs::askYesNo(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> StandardDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& dir)
{
    const QString name = QFileDialog::getExistingDirectory(parent, title, dir);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}
namespace {

StandardDialogs standardDialogs;
Dialogs* programDialogs = nullptr;
Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs()
{
    if (current)
        return *current;
    return programDialogs ? *programDialogs : standardDialogs;
}

void setProgramDialogs(Dialogs* d)
{
    programDialogs = d;
}

void setDialogs(Dialogs* d)
{
    current = d;
}

} // namespace ostrovik::kit
