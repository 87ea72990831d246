#pragma once

#include <optional>

#include <QDialog>
#include <QHostAddress>

#include "kit/Dialogs.hpp"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace ostrovik::netlink {

class SessionBrowser;

/// The connection dialog: host a session, or join one picked from the
/// sessions announced on the local network or typed in by its address.
class SessionDialog : public QDialog {
    Q_OBJECT
public:
    /// Filled in with the request's last answer and captioned in its
    /// language; listens for announcements on @p listenOn.
    SessionDialog(QWidget* parent, const kit::NetSessionRequest& request,
                  const QHostAddress& listenOn = QHostAddress(QHostAddress::AnyIPv4));

    kit::NetSessionChoice choice() const;
    SessionBrowser& browser() { return *browser_; }

    QRadioButton* hostButton = nullptr;
    QRadioButton* joinButton = nullptr;
    QListWidget* sessionList = nullptr;
    QLineEdit* addressEdit = nullptr;
    QSpinBox* portEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void showSessions();
    /// Joining the session in row @p row: the address and port filled in.
    void pick(int row);

    SessionBrowser* browser_ = nullptr;
    QString listenError_;
};

/// Runs the dialog; nothing when cancelled.
std::optional<kit::NetSessionChoice> askSession(QWidget* parent, const kit::NetSessionRequest& request);

} // namespace ostrovik::netlink
