#include "ui/SingleCopy.hpp"

#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::ui {

namespace {

// A name longer than any path is not a file name; the connection is dropped.
constexpr qsizetype kMaxNameBytes = 1 << 20;
constexpr int kConnectTimeoutMs = 1000;

/// A folder that this user owns and nobody else may enter: the only kind
/// where another user cannot put a socket of their own first.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

QString privateSocketFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return QFile::decodeName(runtime);
    // The temporary folder is shared: a folder of our own inside it, made
    // with no access for others, and used only when it is still that.
    const QByteArray folder = QFile::encodeName(QDir::tempPath()) + "/ostrovik-" + QByteArray::number(::getuid());
    ::mkdir(folder.constData(), 0700);
    return isPrivateFolder(folder) ? QFile::decodeName(folder) : QString();
}

/// Whether the process at the other end of @p socket runs as this user.
bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    const auto fd = static_cast<int>(socket.socketDescriptor());
    return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer &&
           peer.uid == ::getuid();
}

} // namespace

QString singleCopyServerName(const QString& executableFileName)
{
    const QString folder = privateSocketFolder();
    if (folder.isEmpty())
        return {};
    return QStringLiteral("%1/%2-%3.copy").arg(folder, executableFileName).arg(::getuid());
}

QString executableFileName()
{
    const QStringList args = QCoreApplication::arguments();
    QString name = args.isEmpty() ? QString() : QFileInfo(args.first()).fileName();
    if (name.isEmpty())
        name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return name;
}

SingleCopyServer::SingleCopyServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] { takeConnections(); });
}

SingleCopyServer::~SingleCopyServer() = default;

bool SingleCopyServer::listen(const QString& serverName)
{
    if (serverName.isEmpty())
        return false;
    if (server_->listen(serverName))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // A live copy takes a connection; the socket of one that ended refuses it.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(serverName);
    return server_->listen(serverName);
}

void SingleCopyServer::setAccepting(bool on)
{
    accepting_ = on && !closed_;
    takeConnections();
    scheduleHandling();
}

void SingleCopyServer::setHeld(bool held)
{
    held_ = held;
    scheduleHandling();
}

void SingleCopyServer::close()
{
    closed_ = true;
    accepting_ = false;
    server_->close();
    while (!waiting_.empty()) {
        answer(waiting_.front().socket, kAnswerRefused);
        waiting_.pop_front();
    }
}

void SingleCopyServer::takeConnections()
{
    while (server_->hasPendingConnections()) {
        if (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    }
}

void SingleCopyServer::serve(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (closed_ || connections_ >= kMaxConnections || !peerIsThisUser(*socket)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });

    struct State {
        QByteArray received;
        bool named = false;
    };
    auto state = std::make_shared<State>();
    QPointer<QLocalSocket> guard(socket);
    // A connection that does not send its name soon is dropped, so that
    // silent ones cannot use up the places.
    QTimer::singleShot(kNameTimeoutMs, socket, [state, guard] {
        if (guard && !state->named)
            guard->abort();
    });

    const auto receive = [this, state, guard] {
        if (!guard || state->named)
            return;
        state->received += guard->readAll();
        const qsizetype zero = state->received.indexOf('\0');
        if (zero < 0) {
            if (state->received.size() > kMaxNameBytes)
                guard->abort();
            return;
        }
        state->named = true;
        QByteArray name = state->received.left(zero);
        state->received.clear();
        // Nothing more is read: what a sender streams after its name stays in
        // the socket, which then holds the sender up instead of growing.
        guard->setReadBufferSize(1);
        enqueue(guard, std::move(name));
    };
    connect(socket, &QLocalSocket::readyRead, this, receive);
    if (socket->bytesAvailable() > 0)
        receive();
}

void SingleCopyServer::enqueue(QLocalSocket* socket, QByteArray name)
{
    if (closed_ || waiting_.size() >= static_cast<std::size_t>(kMaxQueuedNames)) {
        answer(socket, kAnswerRefused);
        return;
    }
    // Taken: from now on the sender waits for the load however long it takes.
    answer(socket, kAnswerTaken, false);
    waiting_.push_back({socket, std::move(name)});
    scheduleHandling();
}

void SingleCopyServer::scheduleHandling()
{
    if (handlingScheduled_)
        return;
    handlingScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            handlingScheduled_ = false;
            handleWaiting();
        },
        Qt::QueuedConnection);
}

void SingleCopyServer::handleWaiting()
{
    // A load may open a message box, whose event loop brings in further
    // names: they wait here instead of starting a load inside this one.
    if (handling_)
        return;
    handling_ = true;
    while (accepting_ && !held_ && !waiting_.empty()) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        const bool loaded = handler_ && handler_(next.name);
        // The load may have run a dialog meanwhile; the sender may be gone.
        answer(next.socket, loaded ? kAnswerLoaded : kAnswerNotLoaded);
    }
    handling_ = false;
}

void SingleCopyServer::answer(QLocalSocket* socket, char answer, bool final)
{
    if (socket && socket->state() == QLocalSocket::ConnectedState) {
        socket->write(&answer, 1);
        socket->flush();
        if (final)
            socket->disconnectFromServer();
    }
}

HandOver handOverToRunningCopy(const QString& serverName, const std::optional<QByteArray>& fileName, int timeoutMs)
{
    if (serverName.isEmpty())
        return HandOver::NoCopyRunning;
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return HandOver::NoCopyRunning;
    // Whoever listens there must be this user's own copy; nobody else hears
    // the file's name.
    if (!peerIsThisUser(socket)) {
        socket.abort();
        return HandOver::NoCopyRunning;
    }
    if (!fileName) {
        socket.disconnectFromServer();
        return HandOver::NothingToSend;
    }
    QByteArray message = *fileName;
    message.append('\0');
    socket.write(message);

    // Bounded: a copy that hangs never takes the name.
    const QDeadlineTimer deadline(timeoutMs);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired())
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
    char reply = 0;
    if (!socket.getChar(&reply)) {
        // Closed on without a word: the copy dropped the connection (too
        // many held, or closing).
        const bool dropped = socket.state() != QLocalSocket::ConnectedState;
        socket.abort();
        return dropped ? HandOver::Refused : HandOver::NoAnswer;
    }
    if (reply == kAnswerTaken) {
        // Unbounded: the load may show a message box that waits for the user.
        while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState)
            if (!socket.waitForReadyRead(-1))
                break;
        if (!socket.getChar(&reply)) {
            socket.abort();
            return HandOver::Lost;
        }
    }
    socket.abort();
    switch (reply) {
    case kAnswerLoaded:
        return HandOver::Sent;
    case kAnswerRefused:
        return HandOver::Refused;
    default:
        return HandOver::NotLoaded;
    }
}

} // namespace ostrovik::ui
