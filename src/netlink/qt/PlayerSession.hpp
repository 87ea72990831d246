#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include "netlink/Frames.hpp"
#include "netlink/qt/NetTexts.hpp"

class QTcpServer;
class QTcpSocket;
class QTimer;
class QUdpSocket;

namespace ostrovik::netlink {

/// A two-player session over TCP in place of the link test's DirectPlay
/// component. One copy hosts the session on a port, the other joins it; a
/// handshake with the application GUID lets only copies of this program in,
/// and a host takes one other player at most. Messages are framed on the
/// stream and reach OnMessage whole, on the GUI thread. A hosted session
/// announces itself on the local network (see SessionAnnouncement).
///
/// A host keeps room for players whatever other programs do: at most
/// kMaxPendingHandshakes connections wait for their handshake, each for at
/// most kHandshakeTimeout; when all those places are taken, a new
/// connection takes the place of the one that has waited longest, so idle
/// connections cannot keep a real player (whose handshake takes
/// milliseconds) out. A flood of messages is handled kMaxMessagesPerTurn
/// at a time, so the window keeps handling its events.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    /// The application GUID both copies share.
    static constexpr const char* kApplicationGuid = "{CACEFF2A-71E5-4EBF-9760-8E0818DA3C59}";
    /// DirectPlay's own port, used when none is given; hosted sessions
    /// announce themselves on the same UDP port.
    static constexpr quint16 kDefaultPort = 47624;
    /// Connections that may wait for their handshake at once; a newer one
    /// takes the place of the one that has waited longest.
    static constexpr int kMaxPendingHandshakes = 8;
    /// How long a connection may take over its handshake, in ms.
    static constexpr qint64 kHandshakeTimeout = 5000;
    /// Frames handled before the window gets its turn again.
    static constexpr int kMaxMessagesPerTurn = 64;
    /// Bytes a connection holds unread; a faster sender waits for us.
    static constexpr qint64 kReadBufferSize = 64 * 1024;
    /// How often a hosted session announces itself, in ms.
    static constexpr int kAnnounceInterval = 1000;

    explicit PlayerSession(QObject* parent = nullptr);
    ~PlayerSession() override;

    /// Settings of the component.
    QByteArray applicationGuid = kApplicationGuid;
    int maxPlayers = 2;
    bool async = false;
    /// The UDP port hosted sessions announce themselves on.
    quint16 discoveryPort = kDefaultPort;
    /// The clock handshakes are timed by, in ms; a test may drive it.
    std::function<qint64()> clock;
    /// The language of the log lines and reasons, asked as each is made.
    std::function<kit::Language()> captionLanguage;

    /// Hosts a session on @p address and @p port (0: any free port) after
    /// closing an open one, and announces it: to this computer alone when
    /// @p address is a loopback address, by broadcast otherwise. False with
    /// the reason in @p error.
    bool hostSession(const QHostAddress& address, quint16 port, QString* error = nullptr);
    /// Joins the session at @p address and @p port after closing an open one.
    /// The handshake finishes in the background; the player count shows it.
    void join(const QString& address, quint16 port);
    void close();

    bool isOpen() const;
    bool isHosting() const { return server_ != nullptr; }
    /// The port a hosted session listens on.
    quint16 serverPort() const;
    /// The players of the session, this one included: 0 without a session.
    int playerCount() const;

    /// Sends @p size bytes at @p data to player @p toPlayer (0 = all players).
    void sendMessage(std::uint32_t toPlayer, const void* data, std::size_t size);

    /// Drops the connections whose handshake has taken longer than
    /// kHandshakeTimeout by Clock; a timer calls it every second.
    void expireHandshakes();
    /// Connections waiting for their handshake.
    int pendingHandshakes() const;

signals:
    /// A whole message from player @p fromPlayer.
    void messageReceived(std::uint32_t fromPlayer, const QByteArray& data);
    /// What happened to the session: players joining, leaving, refused.
    void logged(const QString& line);
    /// The player count changed.
    void playersChanged(int count);
    /// Joining the session failed (nothing answered, the host refused this
    /// copy, or the handshake did not finish), for the reason @p why.
    void joinFailed(const QString& why);

private:
    struct Link;
    void accept();
    void adopt(QTcpSocket* socket, bool joining);
    void readFrom(QTcpSocket* socket);
    /// Handles one frame; false when @p link is gone after it.
    bool handle(Link& link, Frame& frame);
    void refuse(Link& link, const QString& why);
    void failJoin(Link& link, const QString& why);
    void announce();
    void drop(Link& link);
    void send(QTcpSocket& socket, FrameType type, const std::vector<std::uint8_t>& payload);
    Link* linkOf(QTcpSocket* socket);
    /// Closes the connection that has waited longest for its handshake.
    void dropOldestWaiting();
    QString text(NetText t) const;

    QTcpServer* server_ = nullptr;
    /// Every connection: the other player once the handshake is done, and
    /// connections still on their handshake.
    std::vector<std::unique_ptr<Link>> links_;
    bool joining_ = false;
    QTimer* handshakeTimer_ = nullptr;
    QUdpSocket* announcer_ = nullptr;
    QTimer* announceTimer_ = nullptr;
    QHostAddress announceTo_;
    bool announceFailed_ = false;
    /// Waiting connections dropped for newer ones since that was last logged.
    int droppedWaiting_ = 0;
};

} // namespace ostrovik::netlink
