#include "netlink/TDXPlay.hpp"

#include <QTcpServer>
#include <QTcpSocket>

namespace ostrovik::netlink {

struct TDXPlay::Link {
    QPointer<QTcpSocket> socket;
    FrameReader reader;
    /// The handshake is done: this is the session's other player.
    bool player = false;
    QString name;
};

namespace {

QString peerName(const QTcpSocket& s)
{
    return s.peerAddress().toString() + QLatin1Char(':') + QString::number(s.peerPort());
}

std::vector<std::uint8_t> bytesOf(const QByteArray& a)
{
    return {a.begin(), a.end()};
}

} // namespace

TDXPlay::TDXPlay(QObject* parent) : QObject(parent) {}

TDXPlay::~TDXPlay()
{
    // Nothing is told to a window that is going away.
    blockSignals(true);
    Close();
}

bool TDXPlay::Host(const QHostAddress& address, quint16 port, QString* error)
{
    Close();
    auto* server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        if (error)
            *error = server->errorString();
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (server_ && server_->hasPendingConnections())
            adopt(server_->nextPendingConnection(), false);
    });
    emit OnLog(QStringLiteral("Session on port %1").arg(server_->serverPort()));
    emit PlayersChanged(PlayerCount());
    return true;
}

void TDXPlay::Join(const QString& address, quint16 port)
{
    Close();
    joining_ = true;
    auto* socket = new QTcpSocket(this);
    adopt(socket, true);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (Link* link = linkOf(socket)) {
            link->name = peerName(*socket);
            send(*socket, FrameType::Hello, bytesOf(Guid));
        }
    });
    socket->connectToHost(address, port);
}

void TDXPlay::adopt(QTcpSocket* socket, bool joining)
{
    auto link = std::make_unique<Link>();
    link->socket = socket;
    link->name = joining ? QString() : peerName(*socket);
    links_.push_back(std::move(link));
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (Link* l = linkOf(socket))
            readFrom(*l);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (Link* l = linkOf(socket)) {
            if (l->player)
                emit OnLog(joining_ ? QStringLiteral("The host %1 has closed the session").arg(l->name)
                                    : QStringLiteral("Player %1 has left").arg(l->name));
            drop(*l);
        }
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
        Link* l = linkOf(socket);
        if (!l || e == QAbstractSocket::RemoteHostClosedError)
            return;
        if (!l->player && joining_)
            emit OnLog(QStringLiteral("Cannot join the session: %1").arg(socket->errorString()));
        if (socket->state() == QAbstractSocket::UnconnectedState)
            drop(*l);
    });
}

TDXPlay::Link* TDXPlay::linkOf(QTcpSocket* socket)
{
    for (auto& l : links_)
        if (l->socket == socket)
            return l.get();
    return nullptr;
}

void TDXPlay::readFrom(Link& link)
{
    QTcpSocket* socket = link.socket;
    const QByteArray bytes = socket->readAll();
    link.reader.feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
    while (linkOf(socket)) {
        std::optional<Frame> frame = link.reader.next();
        if (!frame) {
            if (link.reader.broken())
                refuse(link, QString::fromStdString(link.reader.error()));
            return;
        }
        switch (frame->type) {
        case FrameType::Hello: {
            const QByteArray guid(reinterpret_cast<const char*>(frame->payload.data()),
                                  static_cast<qsizetype>(frame->payload.size()));
            if (link.player) {
                refuse(link, QStringLiteral("a second handshake"));
                return;
            }
            if (guid != Guid) {
                refuse(link, QStringLiteral("another application (%1)").arg(QString::fromLatin1(guid.left(40))));
                return;
            }
            if (!joining_) {
                const bool full = std::count_if(links_.begin(), links_.end(), [](const auto& l) { return l->player; }) + 1 >= MaxPlayers;
                if (full) {
                    refuse(link, QStringLiteral("the session already has %1 players").arg(MaxPlayers));
                    return;
                }
                send(*socket, FrameType::Hello, bytesOf(Guid));
            }
            link.player = true;
            emit OnLog(joining_ ? QStringLiteral("Joined the session at %1").arg(link.name)
                                : QStringLiteral("Player %1 has joined").arg(link.name));
            emit PlayersChanged(PlayerCount());
            break;
        }
        case FrameType::Message:
            if (!link.player) {
                refuse(link, QStringLiteral("a message before the handshake"));
                return;
            }
            emit OnMessage(2, QByteArray(reinterpret_cast<const char*>(frame->payload.data()),
                                         static_cast<qsizetype>(frame->payload.size())));
            break;
        case FrameType::Refused: {
            const QString why = QString::fromUtf8(reinterpret_cast<const char*>(frame->payload.data()),
                                                  static_cast<qsizetype>(frame->payload.size()));
            emit OnLog(QStringLiteral("Refused by %1: %2").arg(link.name, why));
            drop(link);
            return;
        }
        }
    }
}

void TDXPlay::refuse(Link& link, const QString& why)
{
    emit OnLog(QStringLiteral("Refused %1: %2").arg(link.name, why));
    if (link.socket && link.socket->state() == QAbstractSocket::ConnectedState) {
        const QByteArray text = why.toUtf8().left(static_cast<qsizetype>(kMaxFrameLength - 1));
        send(*link.socket, FrameType::Refused, bytesOf(text));
        link.socket->flush();
    }
    drop(link);
}

void TDXPlay::drop(Link& link)
{
    const bool wasPlayer = link.player;
    QPointer<QTcpSocket> socket = link.socket;
    std::erase_if(links_, [&link](const auto& l) { return l.get() == &link; });
    if (socket) {
        socket->disconnect(this);
        socket->disconnectFromHost();
        socket->deleteLater();
    }
    if (joining_ && links_.empty())
        joining_ = false;
    if (wasPlayer || !Opened())
        emit PlayersChanged(PlayerCount());
}

void TDXPlay::Close()
{
    while (!links_.empty()) {
        Link& l = *links_.back();
        l.player = false;
        drop(l);
    }
    joining_ = false;
    if (server_) {
        server_->close();
        server_->deleteLater();
        server_ = nullptr;
        emit PlayersChanged(0);
    }
}

bool TDXPlay::Opened() const
{
    return server_ != nullptr || joining_;
}

quint16 TDXPlay::ServerPort() const
{
    return server_ ? server_->serverPort() : 0;
}

int TDXPlay::PlayerCount() const
{
    const auto others = std::count_if(links_.begin(), links_.end(), [](const auto& l) { return l->player; });
    if (server_)
        return 1 + static_cast<int>(others);
    // A joining copy is in the session once the host has let it in.
    return others > 0 ? 2 : 0;
}

void TDXPlay::send(QTcpSocket& socket, FrameType type, const std::vector<std::uint8_t>& payload)
{
    const std::vector<std::uint8_t> frame = EncodeFrame(type, payload);
    socket.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
}

void TDXPlay::SendMessage(std::uint32_t toPlayer, const void* data, std::size_t size)
{
    // Player 1 is this copy, player 2 the other one; 0 is everybody.
    if (toPlayer != 0 && toPlayer != 2)
        return;
    if (size + 1 > kMaxFrameLength)
        throw std::length_error("The message is too long for the session (" + std::to_string(size) + " bytes)");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::vector<std::uint8_t> payload(bytes, bytes + size);
    for (auto& l : links_)
        if (l->player && l->socket) {
            send(*l->socket, FrameType::Message, payload);
            // Synchronous sending: the bytes leave before the call returns.
            if (!Async)
                l->socket->flush();
        }
}

} // namespace ostrovik::netlink
