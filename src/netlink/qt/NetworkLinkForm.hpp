#pragma once

#include <cstdint>
#include <functional>

#include <QByteArray>
#include <QWidget>

#include "netlink/qt/NetTexts.hpp"
#include "netlink/qt/PlayerSession.hpp"
#include "kit/Dialogs.hpp"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::netlink {

/// The network link test window: two copies of the program in one session
/// send each other test messages naming addresses and ports, and each logs
/// what it sent and what it received. The machine takes no part.
class NetworkLinkForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 591;
    static constexpr int kClientHeight = 376;
    /// Lines the log keeps; older ones go as new ones come.
    static constexpr int kMaxLogLines = 1000;

    explicit NetworkLinkForm(kit::WindowHost& host);

    void addInAddress();
    void addInPort();
    void addOutAddress();
    void addOutPort();
    /// "Подключение": opens a session.
    void connectSession();
    /// "Отправить": sends the "IN" lists' messages while there is a session;
    /// says so when the session has no other player.
    void sendMessages();
    void receiveMessage(std::uint32_t fromPlayer, const QByteArray& data);

    /// Where the pseudo-random values come from (0 … 254); a test may fix it.
    std::function<std::uint32_t()> random;

    PlayerSession* session = nullptr;
    QListWidget* inAddressList = nullptr;
    QListWidget* outAddressList = nullptr;
    QListWidget* inPortList = nullptr;
    QListWidget* outPortList = nullptr;
    QSpinBox* inAddressBox = nullptr;
    QSpinBox* inPortBox = nullptr;
    QSpinBox* outAddressBox = nullptr;
    QSpinBox* outPortBox = nullptr;
    QPushButton* sendButton = nullptr;
    QPushButton* addInAddressButton = nullptr;
    QPushButton* connectButton = nullptr;
    QPushButton* addInPortButton = nullptr;
    QPushButton* addOutAddressButton = nullptr;
    QPushButton* addOutPortButton = nullptr;
    QPlainTextEdit* logView = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// The session's Open: closes an open session, asks how to connect.
    void openSession();
    void log(const QString& line);
    QString text(NetText t) const;
    void sendList(QListWidget& list, std::uint32_t kind);

    kit::WindowHost& host_;
    /// The connection dialog's last answer, offered again for the run.
    kit::NetSessionChoice lastChoice_;
    /// A session was opened here at some time.
    bool opened_ = false;
};

} // namespace ostrovik::netlink
