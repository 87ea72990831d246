#pragma once

#include <deque>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;

/// Running one copy of the program per executable name and user: the first
/// copy listens on a local socket named after its executable's file name; a
/// later start finds it there, hands over its file name (the bytes of its
/// first argument and a terminating zero) and waits until the running copy
/// has loaded it.
namespace ostrovik::ui {

/// The socket of the executable @p executableFileName for this user, in a
/// folder only this user may write: the runtime folder when it is the
/// user's own (mode 0700), else a folder of mode 0700 made for the purpose
/// in the temporary folder. Empty when no such folder can be had (another
/// user owns it, or anybody else may write it): the program then runs
/// without single-copy start.
QString singleCopyServerName(const QString& executableFileName);

/// The file name of the running executable as it was started.
QString executableFileName();

/// How long a later start waits for the running copy to take its file name.
/// Once taken, it waits for the load however long it lasts (a message box
/// of the load may stay open) while the connection lives.
inline constexpr int kHandOverTimeoutMs = 5000;
/// How long a connection may take to send its name before it is dropped.
inline constexpr int kNameTimeoutMs = 3000;
/// Connections held at once (reading a name or waiting their turn); one more
/// is closed at once.
inline constexpr int kMaxConnections = 32;
/// Names waiting for their load; one more is refused.
inline constexpr int kMaxQueuedNames = 16;

/// What the running copy answers. A name it takes is acknowledged at once
/// with kAnswerTaken, then answered with the load's outcome, kAnswerLoaded or
/// kAnswerNotLoaded (the file could not be loaded); a name it does not take
/// (closing, or too many waiting) gets kAnswerRefused alone.
inline constexpr char kAnswerLoaded = '\1';
inline constexpr char kAnswerNotLoaded = '\2';
inline constexpr char kAnswerTaken = '\3';
inline constexpr char kAnswerRefused = '\4';

/// The running copy's side.
class SingleCopyServer : public QObject {
    Q_OBJECT
public:
    /// Called with each handed-over name (without the zero), one at a time
    /// and never inside a signal of the sender's connection: a name that
    /// arrives while a load (and any message box it opens) runs waits its
    /// turn. Returns whether the file was loaded; the sender gets that answer
    /// when the handler returns.
    using Handler = std::function<bool(const QByteArray& name)>;

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

    /// While held (the machine waits inside a run for its user), names wait
    /// as they do before accepting; released, they are handled once the
    /// caller's event handler has returned, as if they had arrived then.
    void setHeld(bool held);

    /// The program is closing: every name waiting, and every later one, is
    /// refused, and the socket is given up.
    void close();

    /// Connections held now (tests).
    int connectionCount() const { return connections_; }
    /// Names taken and waiting for their load (tests).
    int namesWaiting() const { return static_cast<int>(waiting_.size()); }

private:
    struct Waiting {
        QPointer<QLocalSocket> socket;
        QByteArray name;
    };

    void takeConnections();
    void serve(QLocalSocket* socket);
    void enqueue(QLocalSocket* socket, QByteArray name);
    /// Handles the waiting names from the event loop, once the caller's
    /// signal handler (a socket's, whose socket a message box's event loop
    /// may delete) has returned.
    void scheduleHandling();
    void handleWaiting();
    /// Sends @p answer; a final one ends the connection.
    static void answer(QLocalSocket* socket, char answer, bool final = true);

    QLocalServer* server_;
    Handler handler_;
    bool accepting_ = false;
    bool held_ = false;
    bool closed_ = false;
    bool handling_ = false;
    bool handlingScheduled_ = false;
    int connections_ = 0;
    std::deque<Waiting> waiting_;
};

/// The result of starting while another copy runs.
enum class HandOver {
    NoCopyRunning, ///< nobody of this user listens: this start is the first copy
    Sent,          ///< the running copy took the name and loaded the file
    NotLoaded,     ///< the running copy took the name and could not load the file
    Refused,       ///< the running copy is closing or has too many files waiting
    NothingToSend, ///< another copy runs and there was no file to give it
    NoAnswer,      ///< the running copy did not take the name in time
    Lost,          ///< the running copy took the name and went away before the outcome
};

/// Connects to @p serverName; when a copy of this user listens there, sends
/// @p fileName (when there is one), waits up to @p timeoutMs for the running
/// copy to take it, then for the outcome of the load as long as the
/// connection lives. A socket held by another user is never sent anything.
HandOver handOverToRunningCopy(const QString& serverName, const std::optional<QByteArray>& fileName,
                               int timeoutMs = kHandOverTimeoutMs);

} // namespace ostrovik::ui
