#pragma once

#include <cstdint>
#include <functional>

#include <QByteArray>
#include <QWidget>

#include "netlink/qt/TDXPlay.hpp"
#include "ui/kit/Dialogs.hpp"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace ostrovik::ui {
class WindowHost;
}

namespace ostrovik::netlink {

/// The network link test window: two copies of the program in one session
/// send each other test messages naming addresses and ports, and each logs
/// what it sent and what it received. The machine takes no part.
class TNetConnectionForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 591;
    static constexpr int kClientHeight = 376;
    /// Lines the log keeps; older ones go as new ones come.
    static constexpr int kMaxLogLines = 1000;

    explicit TNetConnectionForm(ui::WindowHost& host);

    void Button2Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    /// "Подключение": opens a session.
    void Button3Click();
    /// "Отправить": sends the "IN" lists' messages while there is a session;
    /// says so when the session has no other player.
    void Button1Click();
    void DXPlayNetMessage(std::uint32_t fromPlayer, const QByteArray& data);

    /// Where the pseudo-random values come from (0 … 254); a test may fix it.
    std::function<std::uint32_t()> random;

    TDXPlay* DXPlayNet = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QListWidget* ListBox3 = nullptr;
    QListWidget* ListBox4 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    QSpinBox* SpinEdit3 = nullptr;
    QSpinBox* SpinEdit4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// The session's Open: closes an open session, asks how to connect.
    void Open();
    void log(const QString& line);
    void sendList(QListWidget& list, std::uint32_t kind);

    ui::WindowHost& host_;
    bool placed_ = false;
    /// The connection dialog's last answer, offered again for the run.
    ui::NetSessionChoice lastChoice_;
    /// A session was opened here at some time.
    bool opened_ = false;
};

} // namespace ostrovik::netlink
