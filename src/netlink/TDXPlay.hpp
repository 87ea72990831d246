#pragma once

#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include "netlink/Frames.hpp"

class QTcpServer;
class QTcpSocket;

namespace ostrovik::netlink {

/// A two-player session over TCP in place of the link test's DirectPlay
/// component. One copy hosts the session on a port, the other joins it; a
/// handshake with the application GUID lets only copies of this program in,
/// and a host takes one other player at most. Messages are framed on the
/// stream and reach OnMessage whole, on the GUI thread.
class TDXPlay : public QObject {
    Q_OBJECT
public:
    /// The application GUID both copies share.
    static constexpr const char* kApplicationGuid = "{CACEFF2A-71E5-4EBF-9760-8E0818DA3C59}";
    /// DirectPlay's own port, used when none is given.
    static constexpr quint16 kDefaultPort = 47624;

    explicit TDXPlay(QObject* parent = nullptr);
    ~TDXPlay() override;

    /// Settings of the component.
    QByteArray Guid = kApplicationGuid;
    int MaxPlayers = 2;
    bool Async = false;

    /// Hosts a session on @p address and @p port (0: any free port) after
    /// closing an open one. False with the reason in @p error.
    bool Host(const QHostAddress& address, quint16 port, QString* error = nullptr);
    /// Joins the session at @p address and @p port after closing an open one.
    /// The handshake finishes in the background; the player count shows it.
    void Join(const QString& address, quint16 port);
    void Close();

    bool Opened() const;
    bool Hosting() const { return server_ != nullptr; }
    /// The port a hosted session listens on.
    quint16 ServerPort() const;
    /// The players of the session, this one included: 0 without a session.
    int PlayerCount() const;

    /// Sends @p size bytes at @p data to player @p toPlayer (0 = all players).
    void SendMessage(std::uint32_t toPlayer, const void* data, std::size_t size);

signals:
    /// A whole message from player @p fromPlayer.
    void OnMessage(std::uint32_t fromPlayer, const QByteArray& data);
    /// What happened to the session: players joining, leaving, refused.
    void OnLog(const QString& line);
    /// The player count changed.
    void PlayersChanged(int count);

private:
    struct Link;
    void adopt(QTcpSocket* socket, bool joining);
    void readFrom(Link& link);
    void refuse(Link& link, const QString& why);
    void drop(Link& link);
    void send(QTcpSocket& socket, FrameType type, const std::vector<std::uint8_t>& payload);
    Link* linkOf(QTcpSocket* socket);

    QTcpServer* server_ = nullptr;
    /// Every connection: the other player once the handshake is done, and
    /// connections still on their handshake.
    std::vector<std::unique_ptr<Link>> links_;
    bool joining_ = false;
};

} // namespace ostrovik::netlink
