#include "kit/Dialogs.hpp"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>
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

/// Icons and types of what a file dialog lists, told from each entry's name
/// and from the kind its listing already found. Qt's own provider opens every
/// listed file to sniff its type: a name another process turns into a FIFO
/// would block the window in that open, and a dialog reads nothing it was
/// not asked to.
class TypeByName final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileIconProvider::icon(info.isRoot() ? Drive : Folder);
        const QMimeType type = byName(info);
        for (const QString& name : {type.iconName(), type.genericIconName()}) {
            const QIcon themed = QIcon::fromTheme(name);
            if (!themed.isNull())
                return themed;
        }
        return QFileIconProvider::icon(File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileIconProvider::type(info);
        const QMimeType type = byName(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    QMimeType byName(const QFileInfo& info) const
    {
        return mimeTypes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
    QMimeDatabase mimeTypes_;
};

/// A file dialog as all of the program's are made: Qt's own (a desktop's
/// native dialog would not take the provider), typing what it lists by name.
class FileDialog {
public:
    FileDialog(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
        : dialog_(parent, title, folderOf(dir), filter)
    {
        dialog_.setOption(QFileDialog::DontUseNativeDialog);
        dialog_.setIconProvider(&icons_);
        // Selected only now: Qt's constructor would type the named file
        // with its own provider, by opening it.
        if (folderOf(dir) != dir)
            dialog_.selectFile(dir);
    }
    QFileDialog& operator*() { return dialog_; }
    QFileDialog* operator->() { return &dialog_; }

private:
    /// @p dir when it names a folder (or nothing), else the folder it is in.
    static QString folderOf(const QString& dir)
    {
        const QFileInfo info(dir);
        return dir.isEmpty() || info.isDir() ? dir : info.absolutePath();
    }

    TypeByName icons_; // outlives the dialog that uses it
    QFileDialog dialog_;
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
    FileDialog dialog(parent, title, dir, filter);
    setUpOpenDialog(*dialog, defaultSuffix);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QString name = firstChosen(*dialog);
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
    FileDialog file(nullptr, title, dir, filter);
    QFileDialog& dialog = *file;
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
    FileDialog dialog(parent, title, dir, filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QString name = firstChosen(*dialog);
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
    FileDialog dialog(parent, title, dir, QString());
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QString name = firstChosen(*dialog);
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
