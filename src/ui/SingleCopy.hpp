#pragma once

#include <functional>
#include <optional>

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

/// Running one copy of the program per executable name and user: the first
/// copy listens on a local socket named after its executable's file name; a
/// later start finds it there, hands over its file name (the bytes of its
/// first argument and a terminating zero) and waits until the running copy
/// has loaded it.
namespace ostrovik::ui {

/// The socket of the executable @p executableFileName for this user: in the
/// user's own runtime folder, so other users' copies never meet it.
QString SingleCopyServerName(const QString& executableFileName);

/// The file name of the running executable as it was started.
QString ExecutableFileName();

/// How long a later start waits for the running copy to take and load its file.
inline constexpr int kHandOverTimeoutMs = 5000;

/// The running copy's side.
class SingleCopyServer : public QObject {
    Q_OBJECT
public:
    /// Called with each handed-over name (without the zero); the sender gets
    /// its answer when the handler returns.
    using Handler = std::function<void(const QByteArray& name)>;

    explicit SingleCopyServer(QObject* parent = nullptr);
    ~SingleCopyServer() override;

    /// Takes the name. False when another copy holds it (it answered a
    /// connection) or the socket cannot be made; a socket left behind by a
    /// copy that ended without closing it is taken over.
    bool listen(const QString& serverName);

    void setHandler(Handler handler) { handler_ = std::move(handler); }

    /// Names are handed to the handler only while accepting; until then the
    /// senders wait (the main window accepts once the machine is on).
    void setAccepting(bool on);

private:
    void takeConnections();
    void serve(QLocalSocket* socket);

    QLocalServer* server_;
    Handler handler_;
    bool accepting_ = false;
};

/// The result of starting while another copy runs.
enum class HandOver {
    NoCopyRunning, ///< nobody listens: this start is the first copy
    Sent,          ///< the running copy took the name and answered
    NothingToSend, ///< another copy runs and there was no file to give it
    NoAnswer,      ///< the running copy did not answer in time (or went away)
};

/// Connects to @p serverName; when a copy listens there, sends @p fileName
/// (when there is one) and waits up to @p timeoutMs for the answer.
HandOver HandOverToRunningCopy(const QString& serverName, const std::optional<QByteArray>& fileName,
                               int timeoutMs = kHandOverTimeoutMs);

} // namespace ostrovik::ui
