#include "netlink/qt/PlayerSession.hpp"

#include <QDateTime>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include "netlink/SessionAnnouncement.hpp"

namespace ostrovik::netlink {

struct PlayerSession::Link {
    QPointer<QTcpSocket> socket;
    FrameReader reader;
    /// The handshake is done: this is the session's other player.
    bool player = false;
    QString name;
    /// By Clock, when the handshake must be done.
    qint64 handshakeDeadline = 0;
    /// A read is already queued for the window's next turn.
    bool readQueued = false;
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

/// Bytes taken from a socket at a time: the frame reader holds little more.
constexpr qint64 kReadChunk = 4096;

} // namespace

PlayerSession::PlayerSession(QObject* parent) : QObject(parent)
{
    clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
    captionLanguage = [] { return kit::Language::English; };
    handshakeTimer_ = new QTimer(this);
    handshakeTimer_->setInterval(1000);
    connect(handshakeTimer_, &QTimer::timeout, this, &PlayerSession::expireHandshakes);
    announceTimer_ = new QTimer(this);
    announceTimer_->setInterval(kAnnounceInterval);
    connect(announceTimer_, &QTimer::timeout, this, &PlayerSession::announce);
}

PlayerSession::~PlayerSession()
{
    // Nothing is told to a window that is going away.
    blockSignals(true);
    close();
}

bool PlayerSession::hostSession(const QHostAddress& address, quint16 port, QString* error)
{
    close();
    auto* server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        if (error)
            *error = server->errorString();
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QTcpServer::newConnection, this, &PlayerSession::accept);
    connect(server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        // Out of file handles, for instance: the server stops accepting on
        // its own. It tries again a moment later rather than never.
        if (!server_)
            return;
        emit logged(text(NetText::CannotAccept).arg(server_->errorString()));
        server_->pauseAccepting();
        QTimer::singleShot(1000, server_, [server = server_] { server->resumeAccepting(); });
    });
    emit logged(text(NetText::SessionOnPort).arg(server_->serverPort()));
    emit playersChanged(playerCount());

    announceTo_ = address.isLoopback() ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(QHostAddress::Broadcast);
    announceFailed_ = false;
    announcer_ = new QUdpSocket(this);
    announce();
    announceTimer_->start();
    return true;
}

void PlayerSession::announce()
{
    if (!server_ || !announcer_)
        return;
    const SessionAnnouncement a{applicationGuid.toStdString(), server_->serverPort(), QHostInfo::localHostName().toStdString()};
    const std::vector<std::uint8_t> datagram = a.encode();
    const qint64 sent = announcer_->writeDatagram(reinterpret_cast<const char*>(datagram.data()),
                                                  static_cast<qint64>(datagram.size()), announceTo_, discoveryPort);
    // Said once: a computer without a network cannot broadcast, and the
    // session can still be joined by its address.
    if (sent < 0 && !announceFailed_)
        emit logged(text(NetText::CannotAnnounce).arg(announcer_->errorString()));
    announceFailed_ = sent < 0;
}

void PlayerSession::accept()
{
    while (server_ && server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        // A real handshake takes milliseconds: the connection that has
        // waited longest is the one most likely idle. Counted, and logged
        // once a second.
        if (pendingHandshakes() >= kMaxPendingHandshakes) {
            dropOldestWaiting();
            ++droppedWaiting_;
        }
        adopt(socket, false);
    }
}

void PlayerSession::join(const QString& address, quint16 port)
{
    close();
    joining_ = true;
    auto* socket = new QTcpSocket(this);
    adopt(socket, true);
    links_.back()->name = address + QLatin1Char(':') + QString::number(port);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (Link* link = linkOf(socket)) {
            link->name = peerName(*socket);
            send(*socket, FrameType::Hello, bytesOf(applicationGuid));
        }
    });
    socket->connectToHost(address, port);
}

void PlayerSession::adopt(QTcpSocket* socket, bool joining)
{
    auto link = std::make_unique<Link>();
    link->socket = socket;
    link->name = joining ? QString() : peerName(*socket);
    link->handshakeDeadline = clock() + kHandshakeTimeout;
    links_.push_back(std::move(link));
    socket->setReadBufferSize(kReadBufferSize);
    handshakeTimer_->start();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (Link* l = linkOf(socket)) {
            if (l->player)
                emit logged(text(joining_ ? NetText::HostClosedSession : NetText::PlayerLeft).arg(l->name));
            else if (joining_) {
                failJoin(*l, text(NetText::HostClosedConnection));
                return;
            }
            drop(*l);
        }
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
        Link* l = linkOf(socket);
        if (!l || e == QAbstractSocket::RemoteHostClosedError)
            return;
        if (!l->player && joining_) {
            failJoin(*l, socket->errorString());
            return;
        }
        if (socket->state() == QAbstractSocket::UnconnectedState)
            drop(*l);
    });
}

void PlayerSession::failJoin(Link& link, const QString& why)
{
    const QString line = text(NetText::CannotJoin).arg(link.name, why);
    emit logged(line);
    drop(link);
    emit joinFailed(line);
}

int PlayerSession::pendingHandshakes() const
{
    return static_cast<int>(std::count_if(links_.begin(), links_.end(), [](const auto& l) { return !l->player; }));
}

void PlayerSession::expireHandshakes()
{
    const qint64 now = clock();
    std::vector<QTcpSocket*> late;
    for (const auto& l : links_)
        if (!l->player && now >= l->handshakeDeadline)
            late.push_back(l->socket);
    for (QTcpSocket* socket : late)
        if (Link* l = linkOf(socket)) {
            const QString why = text(NetText::NoHandshake).arg(kHandshakeTimeout / 1000);
            if (joining_)
                failJoin(*l, why);
            else
                refuse(*l, why);
        }
    if (droppedWaiting_ > 0) {
        emit logged(text(NetText::WaitingDropped).arg(droppedWaiting_));
        droppedWaiting_ = 0;
    }
    if (pendingHandshakes() == 0)
        handshakeTimer_->stop();
}

void PlayerSession::dropOldestWaiting()
{
    Link* oldest = nullptr;
    for (const auto& l : links_)
        if (!l->player && (!oldest || l->handshakeDeadline < oldest->handshakeDeadline))
            oldest = l.get();
    if (oldest)
        drop(*oldest);
}

QString PlayerSession::text(NetText t) const
{
    return netText(t, captionLanguage ? captionLanguage() : kit::Language::English);
}

PlayerSession::Link* PlayerSession::linkOf(QTcpSocket* socket)
{
    for (auto& l : links_)
        if (l->socket == socket)
            return l.get();
    return nullptr;
}

void PlayerSession::readFrom(QTcpSocket* socket)
{
    Link* link = linkOf(socket);
    if (!link)
        return;
    link->readQueued = false;
    for (int handled = 0; handled < kMaxMessagesPerTurn;) {
        std::optional<Frame> frame = link->reader.next();
        if (!frame) {
            if (link->reader.broken()) {
                refuse(*link, QString::fromStdString(link->reader.error()));
                return;
            }
            // Taken in small pieces, so that the reader never holds much.
            const QByteArray bytes = socket->read(kReadChunk);
            if (bytes.isEmpty())
                return;
            link->reader.feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())));
            continue;
        }
        ++handled;
        if (!handle(*link, *frame))
            return;
    }
    // A flood: the rest waits for the window's next turn.
    if (link->reader.buffered() > 0 || socket->bytesAvailable() > 0) {
        link->readQueued = true;
        QMetaObject::invokeMethod(this, [this, socket = QPointer<QTcpSocket>(socket)] {
            if (Link* l = linkOf(socket); l && l->readQueued)
                readFrom(socket);
        }, Qt::QueuedConnection);
    }
}

bool PlayerSession::handle(Link& link, Frame& frame)
{
    QTcpSocket* socket = link.socket;
    switch (frame.type) {
    case FrameType::Hello: {
        const QByteArray guid(reinterpret_cast<const char*>(frame.payload.data()),
                              static_cast<qsizetype>(frame.payload.size()));
        if (link.player) {
            refuse(link, text(NetText::SecondHandshake));
            return false;
        }
        if (guid != applicationGuid) {
            refuse(link, text(NetText::AnotherApplication).arg(QString::fromLatin1(guid.left(40))));
            return false;
        }
        if (!joining_) {
            const bool full = std::count_if(links_.begin(), links_.end(), [](const auto& l) { return l->player; }) + 1 >= maxPlayers;
            if (full) {
                refuse(link, text(NetText::SessionFull).arg(maxPlayers));
                return false;
            }
            send(*socket, FrameType::Hello, bytesOf(applicationGuid));
        }
        link.player = true;
        emit logged(text(joining_ ? NetText::JoinedAt : NetText::PlayerJoined).arg(link.name));
        emit playersChanged(playerCount());
        return linkOf(socket) != nullptr;
    }
    case FrameType::Message:
        if (!link.player) {
            refuse(link, text(NetText::MessageBeforeHandshake));
            return false;
        }
        emit messageReceived(2, QByteArray(reinterpret_cast<const char*>(frame.payload.data()),
                                     static_cast<qsizetype>(frame.payload.size())));
        return linkOf(socket) != nullptr;
    case FrameType::Refused: {
        const QString why = QString::fromUtf8(reinterpret_cast<const char*>(frame.payload.data()),
                                              static_cast<qsizetype>(frame.payload.size()));
        emit logged(text(NetText::RefusedBy).arg(link.name, why));
        if (joining_ && !link.player)
            failJoin(link, text(NetText::RefusedWithReason).arg(why));
        else
            drop(link);
        return false;
    }
    }
    return false;
}

void PlayerSession::refuse(Link& link, const QString& why)
{
    emit logged(text(NetText::Refused).arg(link.name, why));
    if (link.socket && link.socket->state() == QAbstractSocket::ConnectedState) {
        const QByteArray text = why.toUtf8().left(static_cast<qsizetype>(kMaxFrameLength - 1));
        send(*link.socket, FrameType::Refused, bytesOf(text));
        link.socket->flush();
    }
    drop(link);
}

void PlayerSession::drop(Link& link)
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
    if (wasPlayer || !isOpen())
        emit playersChanged(playerCount());
}

void PlayerSession::close()
{
    while (!links_.empty()) {
        Link& l = *links_.back();
        l.player = false;
        drop(l);
    }
    joining_ = false;
    handshakeTimer_->stop();
    announceTimer_->stop();
    if (announcer_) {
        announcer_->deleteLater();
        announcer_ = nullptr;
    }
    droppedWaiting_ = 0;
    if (server_) {
        server_->close();
        server_->deleteLater();
        server_ = nullptr;
        emit playersChanged(0);
    }
}

bool PlayerSession::isOpen() const
{
    return server_ != nullptr || joining_;
}

quint16 PlayerSession::serverPort() const
{
    return server_ ? server_->serverPort() : 0;
}

int PlayerSession::playerCount() const
{
    const auto others = std::count_if(links_.begin(), links_.end(), [](const auto& l) { return l->player; });
    if (server_)
        return 1 + static_cast<int>(others);
    // A joining copy is in the session once the host has let it in.
    return others > 0 ? 2 : 0;
}

void PlayerSession::send(QTcpSocket& socket, FrameType type, const std::vector<std::uint8_t>& payload)
{
    const std::vector<std::uint8_t> frame = encodeFrame(type, payload);
    socket.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
}

void PlayerSession::sendMessage(std::uint32_t toPlayer, const void* data, std::size_t size)
{
    // Player 1 is this copy, player 2 the other one; 0 is everybody.
    if (toPlayer != 0 && toPlayer != 2)
        return;
    if (size + 1 > kMaxFrameLength)
        throw std::length_error(text(NetText::MessageTooLong).arg(size).toStdString());
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::vector<std::uint8_t> payload(bytes, bytes + size);
    for (auto& l : links_)
        if (l->player && l->socket) {
            send(*l->socket, FrameType::Message, payload);
            // Synchronous sending: the bytes leave before the call returns.
            if (!async)
                l->socket->flush();
        }
}

} // namespace ostrovik::netlink
