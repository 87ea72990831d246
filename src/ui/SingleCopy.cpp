#include "ui/SingleCopy.hpp"

#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <unistd.h>

namespace ostrovik::ui {

namespace {

// A name longer than any path is not a file name; the connection is dropped.
constexpr qsizetype kMaxNameBytes = 1 << 20;
constexpr int kConnectTimeoutMs = 1000;
const char kAnswer = '\1';

QString userRuntimeFolder()
{
    // XDG_RUNTIME_DIR belongs to the user alone; the temporary folder is
    // shared, which the user id in the name makes up for.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

} // namespace

QString SingleCopyServerName(const QString& executableFileName)
{
    return QStringLiteral("%1/%2-%3.copy").arg(userRuntimeFolder(), executableFileName).arg(::getuid());
}

QString ExecutableFileName()
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
    accepting_ = on;
    if (on)
        takeConnections();
}

void SingleCopyServer::takeConnections()
{
    while (accepting_ && server_->hasPendingConnections()) {
        if (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    }
}

void SingleCopyServer::serve(QLocalSocket* socket)
{
    struct State {
        QByteArray received;
        bool handled = false;
    };
    auto state = std::make_shared<State>();
    QPointer<QLocalSocket> guard(socket);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);

    const auto receive = [this, state, guard] {
        if (!guard || state->handled)
            return;
        state->received += guard->readAll();
        const qsizetype zero = state->received.indexOf('\0');
        if (zero < 0) {
            if (state->received.size() > kMaxNameBytes)
                guard->abort();
            return;
        }
        state->handled = true;
        const QByteArray name = state->received.left(zero);
        state->received.clear();
        if (handler_)
            handler_(name);
        // The load may have run a dialog meanwhile; the sender may be gone.
        if (guard && guard->state() == QLocalSocket::ConnectedState) {
            guard->write(&kAnswer, 1);
            guard->flush();
            guard->disconnectFromServer();
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, receive);
    if (socket->bytesAvailable() > 0)
        receive();
}

HandOver HandOverToRunningCopy(const QString& serverName, const std::optional<QByteArray>& fileName, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return HandOver::NoCopyRunning;
    if (!fileName) {
        socket.disconnectFromServer();
        return HandOver::NothingToSend;
    }
    QByteArray message = *fileName;
    message.append('\0');
    socket.write(message);

    const QDeadlineTimer deadline(timeoutMs);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    while (socket.bytesAvailable() == 0 && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
    }
    const bool answered = socket.bytesAvailable() > 0;
    socket.abort();
    return answered ? HandOver::Sent : HandOver::NoAnswer;
}

} // namespace ostrovik::ui
