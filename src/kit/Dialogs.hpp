#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "kit/Captions.hpp"

class QWidget;

namespace ostrovik::files::avi {
struct CompressorOption;
}

namespace ostrovik::kit {

/// The connection dialog's answer: host a session or join one.
struct NetSessionChoice {
    bool host = true;
    QString address = QStringLiteral("127.0.0.1");
    quint16 port = 47624;
};

/// What the connection dialog opens with.
struct NetSessionRequest {
    /// The previous answer, filled in again.
    NetSessionChoice last;
    Language language = Language::English;
    /// The UDP port on which hosted sessions announce themselves.
    quint16 discoveryPort = 47624;
};

/// Every modal step the windows take goes through here, so that tests can
/// answer it without a person at the keyboard.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// A message box with one OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    /// The application's error box.
    virtual void error(QWidget* parent, const QString& text) = 0;
    /// An open-file dialog; nothing when cancelled. @p filter is
    /// "name (patterns)", of which the dialog shows the name alone; a name
    /// typed without an extension gets @p defaultSuffix (no dot), if any.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter, const QString& defaultSuffix = QString()) = 0;
    /// An open-file dialog that leaves the window beneath it closable: the
    /// window takes no other input meanwhile, and closing it cancels the
    /// dialog. For a dialog the machine may ask for again and again, so that
    /// the program can always be ended. A double answers it as openFile.
    virtual std::optional<QString> openFileClosable(QWidget* parent, const QString& title, const QString& dir,
                                                    const QString& filter, const QString& defaultSuffix = QString())
    {
        return openFile(parent, title, dir, filter, defaultSuffix);
    }
    /// A save-file dialog; nothing when cancelled.
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter) = 0;
    /// A codec's configuration dialog over its own options, edited in
    /// place; false when cancelled.
    virtual bool compressorOptions(QWidget* parent, const QString& title,
                                   std::vector<files::avi::CompressorOption>& options)
    {
        (void)parent, (void)title, (void)options;
        return false;
    }
    /// A confirmation box with the buttons Yes and No; true for Yes. A
    /// double that does not answer it says No.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text)
    {
        (void)parent, (void)title, (void)text;
        return false;
    }
    /// A folder picker started at @p dir; nothing when cancelled (and from
    /// a double that does not answer it).
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& dir)
    {
        (void)parent, (void)title, (void)dir;
        return std::nullopt;
    }
    /// The network session's connection dialog, listing the sessions that
    /// announce themselves; nothing when cancelled (and from a double that
    /// does not answer it).
    virtual std::optional<NetSessionChoice> netSession(QWidget* parent, const NetSessionRequest& request)
    {
        (void)parent, (void)request;
        return std::nullopt;
    }
};

/// The desktop's own dialogs. The codec options and the network session
/// belong to the windows above the kit: the program's dialogs add them.
class StandardDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter, const QString& defaultSuffix = QString()) override;
    std::optional<QString> openFileClosable(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter, const QString& defaultSuffix = QString()) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& dir) override;
};

/// The dialogs in use: a test's when it installed its own, otherwise the
/// program's, otherwise the standard ones.
Dialogs& dialogs();
/// Installs the program's real dialogs (not owned); nullptr leaves the
/// standard ones.
void setProgramDialogs(Dialogs* d);
/// Installs @p d (not owned); nullptr restores the real dialogs.
void setDialogs(Dialogs* d);

} // namespace ostrovik::kit
