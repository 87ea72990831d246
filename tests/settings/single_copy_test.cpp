// One copy per executable name: real copies of the program, started side by
// side, and the receiving side in this process.

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/EventOrder.hpp"
#include "support/ProgramInstall.hpp"
#include "support/TapeImages.hpp"
#include "ui/SingleCopy.hpp"

using namespace ostrovik;
using test::ends;
using test::Install;
using test::uniqueName;

namespace {

// Waits until a copy listens under @p name (its socket answers).
bool listening(const QString& executableName, int timeoutMs = test::kHangGuardMs)
{
    const QString server = ui::singleCopyServerName(executableName);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QLocalSocket probe;
        probe.connectToServer(server);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        QTest::qWait(50);
    }
    return false;
}

bool stillRunning(QProcess& p, int forMs)
{
    return !p.waitForFinished(forMs) && p.state() == QProcess::Running;
}

/// The copy runs on and still answers on its name.
bool stillServing(QProcess& p, const QString& name)
{
    return p.state() == QProcess::Running && listening(name);
}

void stop(QProcess& p)
{
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    }
}

/// Reads @p p's output up to a line that starts with @p prefix; false when
/// the copy ends (or stays silent) first.
bool outputLine(QProcess& p, const QByteArray& prefix, int timeoutMs = 30000)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (p.canReadLine())
            if (p.readLine().startsWith(prefix))
                return true;
        if (p.state() != QProcess::Running || deadline.hasExpired())
            return false;
        p.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
}

/// A connection of our own to a socket, made without Qt so that many can be
/// opened and left silent; closed with the object.
class RawClient {
public:
    explicit RawClient(const QString& server)
    {
        const QByteArray path = QFile::encodeName(server);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(),
                    std::min(static_cast<std::size_t>(path.size()), sizeof address.sun_path - 1));
        // The server's backlog may be full for a moment: let it catch up.
        for (int tries = 0; tries < 200 && fd_ < 0; ++tries) {
            fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
                break;
            ::close(fd_);
            fd_ = -1;
            QTest::qWait(5);
        }
    }
    ~RawClient()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return fd_ >= 0; }
    void send(const QByteArray& name) const
    {
        const QByteArray message = name + '\0';
        (void)!::send(fd_, message.constData(), static_cast<std::size_t>(message.size()), MSG_NOSIGNAL);
    }
    /// Sends @p chunk over and over until the socket takes no more; the
    /// bytes it took, or -1 once the server has closed the connection.
    qint64 sendUntilFull(const QByteArray& chunk) const
    {
        qint64 sent = 0;
        for (;;) {
            const ssize_t n = ::send(fd_, chunk.constData(), static_cast<std::size_t>(chunk.size()),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                sent += n;
            else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return sent;
            else
                return -1;
        }
    }
    /// The final answer (after the acknowledgement that the name was taken);
    /// kClosed when the server closed without one; 0 while none has come.
    char outcome() const
    {
        receive();
        const qsizetype at = received_.startsWith(ui::kAnswerTaken) ? 1 : 0;
        if (received_.size() > at)
            return received_.at(at);
        return closed_ ? kClosed : 0;
    }
    /// Whether the server acknowledged the name.
    bool taken() const
    {
        receive();
        return received_.startsWith(ui::kAnswerTaken);
    }
    static constexpr char kClosed = 'x';

private:
    void receive() const
    {
        char buffer[16];
        while (!closed_) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0)
                received_.append(buffer, n);
            else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                closed_ = true;
            else
                break;
        }
    }

    int fd_ = -1;
    mutable QByteArray received_;
    mutable bool closed_ = false;
};

/// Runs the event loop until every client has its outcome.
bool allSettled(const std::vector<std::unique_ptr<RawClient>>& clients, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] { return std::all_of(clients.begin(), clients.end(), [](const auto& c) { return c->outcome() != 0; }); },
        timeoutMs);
}

} // namespace

class SingleCopyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secondCopyHandsItsFileOverAndEnds();
    void secondCopyWithoutArgumentEndsSilently();
    void relativeNameIsHandedOverAsAnAbsolutePath();
    void differentFileNamesNeverMeet();
    void optionOffRunsCopiesSideBySide();
    void copyStartedWithOptionOffHoldsNoLock();
    void runningCopyThatNeverAnswersIsGivenUpOn();
    void nameArrivesWithItsBytesAndAfterAcceptingStarts();
    void socketLeftBehindIsTakenOver();
    void handOversWaitTheirTurnOneAtATime();
    void silentConnectionsAreDroppedAndTheirNumberIsBounded();
    void namesThatAreNotLoadedAreNotAnsweredAsLoaded();
    void handOverWhoseLoadShowsAMessageBox();
    void bytesSentAfterATakenNameAreNotHeld();
    void theSocketFolderIsThisUsersAlone();
    void anotherUsersSocketHearsNothing();

private:
    QTemporaryDir runtime_;
};

void SingleCopyTest::initTestCase()
{
    // The per-user folder the sockets live in: this test's own.
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QVERIFY(QFile::exists(qEnvironmentVariable("OSTROVIK_BIN") + QStringLiteral("/ostrovik")));
}

void SingleCopyTest::secondCopyHandsItsFileOverAndEnds()
{
    Install install;
    const QString name = uniqueName("handover");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    auto first = install.start(name);
    QVERIFY(listening(name));

    auto second = install.start(name, {install.dataFile()});
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0); // answered: the running copy took the file
    QCOMPARE(second->readAllStandardError(), QByteArray());
    QVERIFY(stillServing(*first, name));
    // The running copy goes on answering.
    auto third = install.start(name, {install.dataFile()});
    QVERIFY(ends(*third, 30000));
    QCOMPARE(third->exitCode(), 0);
    stop(*first);
}

void SingleCopyTest::relativeNameIsHandedOverAsAnAbsolutePath()
{
    // "cd games; ostrovik color.lvt" while a copy runs in the program folder:
    // the running copy must find the file in the games folder, not its own.
    Install install;
    const QString name = uniqueName("relative");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    QVERIFY(QDir(install.file(QString())).mkpath(QStringLiteral("games")));
    install.dataFile(QStringLiteral("games/color.lvt"));
    QVERIFY(!QFile::exists(install.file(QStringLiteral("color.lvt"))));

    auto first = install.start(name);
    QVERIFY(listening(name));
    auto second = install.start(name, {QStringLiteral("color.lvt")}, install.file(QStringLiteral("games")));
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0); // answered at once: the file was found and loaded
    QCOMPARE(second->readAllStandardError(), QByteArray());
    QVERIFY(stillServing(*first, name));
    stop(*first);
}

void SingleCopyTest::secondCopyWithoutArgumentEndsSilently()
{
    Install install;
    const QString name = uniqueName("silent");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    auto first = install.start(name);
    QVERIFY(listening(name));

    auto second = install.start(name);
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(second->readAllStandardOutput(), QByteArray());
    QCOMPARE(second->readAllStandardError(), QByteArray());
    QVERIFY(stillServing(*first, name));
    stop(*first);
}

void SingleCopyTest::differentFileNamesNeverMeet()
{
    Install install;
    const QString one = uniqueName("one");
    const QString two = uniqueName("two");
    QVERIFY(install.addProgram(one));
    QVERIFY(install.addProgram(two));
    QVERIFY(install.setOneInstance(true));
    auto first = install.start(one);
    QVERIFY(listening(one));
    auto second = install.start(two, {install.dataFile()});
    QVERIFY(stillServing(*second, two));
    QVERIFY(stillServing(*first, one));
    stop(*first);
    stop(*second);
}

void SingleCopyTest::optionOffRunsCopiesSideBySide()
{
    Install install;
    const QString name = uniqueName("off");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(false));
    auto first = install.start(name, {install.dataFile()});
    auto second = install.start(name, {install.dataFile()});
    auto third = install.start(name);
    QVERIFY(stillRunning(*first, 1500));
    QVERIFY(stillRunning(*second, 0));
    QVERIFY(stillRunning(*third, 0));
    // None of them took the name.
    QVERIFY(!listening(name, 200));
    stop(*first);
    stop(*second);
    stop(*third);
}

void SingleCopyTest::copyStartedWithOptionOffHoldsNoLock()
{
    Install install;
    const QString name = uniqueName("nolock");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(false));
    auto first = install.start(name);
    QVERIFY(stillRunning(*first, 500));
    QVERIFY(install.setOneInstance(true));
    auto second = install.start(name, {install.dataFile()});
    // The new start finds nobody and runs as a full copy, now holding the name.
    QVERIFY(stillServing(*second, name));
    QCOMPARE(first->state(), QProcess::Running);
    stop(*first);
    stop(*second);
}

void SingleCopyTest::runningCopyThatNeverAnswersIsGivenUpOn()
{
    Install install;
    const QString name = uniqueName("mute");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    // A "running copy" that takes connections and never answers.
    QLocalServer mute;
    QVERIFY(mute.listen(ui::singleCopyServerName(name)));

    QElapsedTimer t;
    t.start();
    auto second = install.start(name, {install.dataFile()});
    QVERIFY(ends(*second, 30000));
    QVERIFY(t.elapsed() >= ui::kHandOverTimeoutMs - 500);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(second->readAllStandardError().contains("did not take the file within 5 seconds"));
}

void SingleCopyTest::nameArrivesWithItsBytesAndAfterAcceptingStarts()
{
    Install install;
    const QString name = uniqueName("receive");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(ui::singleCopyServerName(name)));
    QList<QByteArray> received;
    server.setHandler([&](const QByteArray& n) {
        received.append(n);
        return true;
    });

    const QString file = install.dataFile();
    auto second = install.start(name, {file});
    // Not accepting yet (the machine is not on): the sender is connected and waits.
    QTRY_COMPARE_WITH_TIMEOUT(server.connectionCount(), 1, 30000);
    QCoreApplication::processEvents();
    QVERIFY(received.isEmpty());
    QCOMPARE(second->state(), QProcess::Running);

    server.setAccepting(true);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, test::kHangGuardMs);
    QCOMPARE(received.first(), QFile::encodeName(file));
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitCode(), 0);

    // An empty argument arrives as an empty name.
    auto third = install.start(name, {QString()});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2, test::kHangGuardMs);
    QCOMPARE(received.last(), QByteArray());
    QVERIFY(ends(*third, 30000));
    QCOMPARE(third->exitCode(), 0);
}

void SingleCopyTest::socketLeftBehindIsTakenOver()
{
    Install install;
    const QString name = uniqueName("stale");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    // A socket whose copy ended without taking it away.
    const QByteArray path = QFile::encodeName(ui::singleCopyServerName(name));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(static_cast<std::size_t>(path.size()) < sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    QVERIFY(QFile::exists(QFile::decodeName(path)));

    auto first = install.start(name, {install.dataFile()});
    QVERIFY(listening(name));
    QVERIFY(stillRunning(*first, 200));
    stop(*first);
}

void SingleCopyTest::handOversWaitTheirTurnOneAtATime()
{
    const QString name = ui::singleCopyServerName(uniqueName("queue"));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(name));
    server.setAccepting(true);
    // Each load opens a "message box": an event loop of its own for a while.
    int depth = 0, deepest = 0;
    QList<int> handled;
    server.setHandler([&](const QByteArray& n) {
        deepest = std::max(deepest, ++depth);
        handled.append(n.toInt());
        QEventLoop box;
        QTimer::singleShot(5, &box, &QEventLoop::quit);
        box.exec();
        --depth;
        return true;
    });

    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 300; ++i) {
        clients.push_back(std::make_unique<RawClient>(name));
        QVERIFY(clients.back()->connected());
        clients.back()->send(QByteArray::number(i));
        QCoreApplication::processEvents();
    }
    QVERIFY(allSettled(clients, 60000));
    QCOMPARE(deepest, 1);
    QVERIFY(handled.size() >= 2);
    // In the order they came, and each loaded one was told so; the others
    // were told they were not loaded or were closed on.
    QVERIFY(std::is_sorted(handled.begin(), handled.end()));
    for (int i = 0; i < 300; ++i) {
        const char outcome = clients[static_cast<std::size_t>(i)]->outcome();
        QCOMPARE(outcome == ui::kAnswerLoaded, handled.contains(i));
        // Taken means loaded in the end: no name is acknowledged and then dropped.
        QCOMPARE(clients[static_cast<std::size_t>(i)]->taken(), handled.contains(i));
        QVERIFY(outcome == ui::kAnswerLoaded || outcome == ui::kAnswerRefused || outcome == RawClient::kClosed);
    }
    // Still there for the next start.
    RawClient later(name);
    QVERIFY(later.connected());
    later.send("later");
    QTRY_COMPARE(later.outcome(), ui::kAnswerLoaded);
    QCOMPARE(handled.last(), 0); // "later" reads as 0
}

void SingleCopyTest::silentConnectionsAreDroppedAndTheirNumberIsBounded()
{
    const QString name = ui::singleCopyServerName(uniqueName("silent"));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(name));
    server.setAccepting(true);
    QList<QByteArray> received;
    server.setHandler([&](const QByteArray& n) {
        received.append(n);
        return true;
    });

    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 100; ++i) {
        silent.push_back(std::make_unique<RawClient>(name));
        QVERIFY(silent.back()->connected());
        QCoreApplication::processEvents();
        QVERIFY(server.connectionCount() <= ui::kMaxConnections);
    }
    const auto closed = [&] {
        return std::count_if(silent.begin(), silent.end(), [](const auto& c) { return c->outcome() == RawClient::kClosed; });
    };
    QTRY_VERIFY_WITH_TIMEOUT(closed() >= 100 - ui::kMaxConnections, test::kHangGuardMs);
    QVERIFY(server.connectionCount() <= ui::kMaxConnections);
    // Those held are dropped once they have kept silent too long.
    QTRY_COMPARE_WITH_TIMEOUT(closed(), 100L, test::kHangGuardMs);
    QCOMPARE(server.connectionCount(), 0);
    QVERIFY(received.isEmpty());

    // A real second copy is heard as before.
    Install install;
    const QString program = uniqueName("silent");
    QVERIFY(install.addProgram(program));
    QVERIFY(install.setOneInstance(true));
    ui::SingleCopyServer real;
    QVERIFY(real.listen(ui::singleCopyServerName(program)));
    real.setAccepting(true);
    real.setHandler([&](const QByteArray& n) {
        received.append(n);
        return true;
    });
    auto second = install.start(program, {install.dataFile()});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, test::kHangGuardMs);
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitCode(), 0);
}

void SingleCopyTest::namesThatAreNotLoadedAreNotAnsweredAsLoaded()
{
    Install install;
    const QString program = uniqueName("closing");
    QVERIFY(install.addProgram(program));
    QVERIFY(install.setOneInstance(true));
    const QString name = ui::singleCopyServerName(program);
    ui::SingleCopyServer server;
    QVERIFY(server.listen(name));
    server.setAccepting(true);
    QList<QByteArray> received;
    bool take = false;
    server.setHandler([&](const QByteArray& n) {
        received.append(n);
        return take;
    });

    // A handler that did not take the name: the second copy says so and fails.
    auto second = install.start(program, {install.dataFile()});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, test::kHangGuardMs);
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(second->readAllStandardError().contains("could not load the file"));

    // Too many waiting (not accepting yet): one more is refused at once, and
    // its second copy says so.
    take = true;
    server.setAccepting(false);
    std::vector<std::unique_ptr<RawClient>> queued;
    for (int i = 0; i < ui::kMaxQueuedNames; ++i) {
        queued.push_back(std::make_unique<RawClient>(name));
        QVERIFY(queued.back()->connected());
        queued.back()->send("queued");
        QCoreApplication::processEvents();
    }
    QTRY_VERIFY(std::all_of(queued.begin(), queued.end(), [](const auto& c) { return c->taken(); }));
    auto third = install.start(program, {install.dataFile()});
    // This process is the running copy here: its event loop must run meanwhile.
    QTRY_COMPARE_WITH_TIMEOUT(third->state(), QProcess::NotRunning, 30000);
    QCOMPARE(third->exitCode(), 1);
    QVERIFY(third->readAllStandardError().contains("has too many files waiting"));
    QCOMPARE(queued.front()->outcome(), '\0'); // the waiting ones still wait

    // Closing: the names waiting, and one connected but not yet sent, are
    // refused and never handled; the socket is gone for later starts.
    RawClient waiting(name);
    QVERIFY(waiting.connected());
    QTRY_COMPARE(server.connectionCount(), ui::kMaxQueuedNames + 1);
    server.close();
    waiting.send("late");
    QTRY_COMPARE(waiting.outcome(), ui::kAnswerRefused);
    QVERIFY(std::all_of(queued.begin(), queued.end(), [](const auto& c) { return c->outcome() == ui::kAnswerRefused; }));
    QCOMPARE(received.size(), 1);
    QVERIFY(!RawClient(name).connected());
}

void SingleCopyTest::handOverWhoseLoadShowsAMessageBox()
{
    // The running copy keeps its boxes open until the test answers them; the
    // later starts are the program itself, from a folder of their own.
    Install running, later;
    const QString name = uniqueName("box");
    QVERIFY(running.addProgramWithAnsweredBoxes(name));
    QVERIFY(later.addProgram(name));
    QVERIFY(running.setOneInstance(true) && later.setOneInstance(true));
    auto first = running.start(name);
    QVERIFY(listening(name));
    const QByteArray box = "box File is very small or not found !!!";

    // The sender waits for the load while its box is open, past the bound
    // for a copy that never takes the name, and then says it was not loaded.
    auto waiting = later.start(name, {later.tinyFile()});
    QVERIFY(outputLine(*first, box));
    QVERIFY(!waiting->waitForFinished(ui::kHandOverTimeoutMs + 2000));
    first->write("\n");
    QVERIFY(outputLine(*first, "answered"));
    QVERIFY(ends(*waiting));
    QCOMPARE(waiting->exitStatus(), QProcess::NormalExit);
    QCOMPARE(waiting->exitCode(), 1);
    QVERIFY(waiting->readAllStandardError().contains("the running copy could not load the file"));

    // A sender killed while the box is open: the box is answered after its
    // connection has gone.
    auto killed = later.start(name, {later.tinyFile()});
    QVERIFY(outputLine(*first, box));
    killed->kill();
    QVERIFY(ends(*killed));
    first->write("\n");
    QVERIFY(outputLine(*first, "answered"));

    // The running copy lives on and takes the next file.
    auto next = later.start(name, {later.dataFile()});
    QVERIFY(QTest::qWaitFor([&] { return next->state() == QProcess::NotRunning || first->state() != QProcess::Running; },
                            30000));
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(next->exitCode(), 0);
    QCOMPARE(next->readAllStandardError(), QByteArray());
    stop(*next);
    stop(*first);
}

void SingleCopyTest::bytesSentAfterATakenNameAreNotHeld()
{
    // The name waits for its load (not accepting, as while a load's message
    // box is open) and its sender streams on: each time the running copy's
    // event loop turns, the sender fills its socket again as far as the
    // running copy has taken the bytes in.
    const QString name = ui::singleCopyServerName(uniqueName("stream"));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(name));
    RawClient peer(name);
    QVERIFY(peer.connected());
    peer.send("stream.lvt");
    QTRY_VERIFY(peer.taken());

    const QByteArray chunk(64 * 1024, 'x');
    qint64 taken = 0;
    for (int turn = 0; turn < 500; ++turn) {
        const qint64 sent = peer.sendUntilFull(chunk);
        if (sent < 0)
            break; // closed on
        taken += sent;
        QCoreApplication::processEvents();
    }
    // What the sockets themselves buffer, and no more.
    QVERIFY2(taken < 8 * 1024 * 1024, qPrintable(QStringLiteral("%1 bytes taken in").arg(taken)));

    // A sender that keeps to the rule is still heard.
    RawClient next(name);
    QVERIFY(next.connected());
    next.send("next.lvt");
    QList<QByteArray> received;
    server.setHandler([&](const QByteArray& n) {
        received.append(n);
        return true;
    });
    server.setAccepting(true);
    QTRY_COMPARE(next.outcome(), ui::kAnswerLoaded);
    QVERIFY(received.contains("next.lvt"));
}

void SingleCopyTest::theSocketFolderIsThisUsersAlone()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTmp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("TMPDIR", savedTmp);
    });
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const QString own = tmp.path() + QStringLiteral("/ostrovik-%1").arg(::getuid());
    const auto mode = [&] {
        struct stat st {};
        return ::stat(QFile::encodeName(own).constData(), &st) == 0 ? st.st_mode & 0777 : 0u;
    };

    struct Case {
        const char* what;
        QByteArray runtime;      // XDG_RUNTIME_DIR, "" for unset
        mode_t runtimeMode;
        bool expectRuntime;      // the socket goes into the runtime folder
    };
    QTemporaryDir runtime;
    const QByteArray runtimePath = QFile::encodeName(runtime.path());
    const Case cases[] = {
        {"no runtime folder", "", 0, false},
        {"a private runtime folder", runtimePath, 0700, true},
        {"a runtime folder others may enter", runtimePath, 0755, false},
        {"a runtime folder anybody may write", runtimePath, 0777, false},
    };
    for (const Case& c : cases) {
        if (c.runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else {
            qputenv("XDG_RUNTIME_DIR", c.runtime);
            QCOMPARE(::chmod(c.runtime.constData(), c.runtimeMode), 0);
        }
        const QString name = ui::singleCopyServerName(QStringLiteral("prog"));
        const QString folder = c.expectRuntime ? runtime.path() : own;
        QVERIFY2(name == folder + QStringLiteral("/prog-%1.copy").arg(::getuid()), c.what);
        if (!c.expectRuntime)
            QCOMPARE(mode(), 0700u);
    }
    ::chmod(runtimePath.constData(), 0700);

    // A folder of that name that others may write into, or another user's,
    // is not used at all: no socket, no hand-over.
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(::chmod(QFile::encodeName(own).constData(), 0777), 0);
    QCOMPARE(ui::singleCopyServerName(QStringLiteral("prog")), QString());
    QCOMPARE(ui::handOverToRunningCopy(QString(), QByteArray("/secret")), ui::HandOver::NoCopyRunning);
    if (::geteuid() != 0)
        QSKIP("needs to run as root to give the folder to another user");
    QCOMPARE(::chmod(QFile::encodeName(own).constData(), 0700), 0);
    QCOMPARE(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    QCOMPARE(ui::singleCopyServerName(QStringLiteral("prog")), QString());
}

void SingleCopyTest::anotherUsersSocketHearsNothing()
{
    if (::geteuid() != 0)
        QSKIP("needs to run as root to start a listener under another user id");
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    QCOMPARE(::chmod(QFile::encodeName(shared.path()).constData(), 0777), 0);
    const QByteArray path = QFile::encodeName(shared.filePath(QStringLiteral("prog-0.copy")));
    int report[2];
    QCOMPARE(::pipe(report), 0);

    // The other user listens, answers as a copy would, and tells us how
    // many bytes it heard.
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0)
            ::_exit(3);
        ::chmod(path.constData(), 0777);
        const int peer = ::accept(fd, nullptr, nullptr);
        char buffer[256];
        // Until the first bytes or the caller's close, whichever comes first.
        const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
        (void)!::send(peer, "\1", 1, MSG_NOSIGNAL);
        const int heard = n > 0 ? static_cast<int>(n) : 0;
        (void)!::write(report[1], &heard, sizeof heard);
        ::_exit(0);
    }
    ::close(report[1]);
    QVERIFY(child > 0);
    QTRY_VERIFY(QFile::exists(QFile::decodeName(path)));

    QCOMPARE(ui::handOverToRunningCopy(QFile::decodeName(path), QByteArray("/home/u/secret.lvt")),
             ui::HandOver::NoCopyRunning);
    int heard = -1;
    QCOMPARE(::read(report[0], &heard, sizeof heard), static_cast<ssize_t>(sizeof heard));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(heard, 0);
}

QTEST_GUILESS_MAIN(SingleCopyTest)
#include "single_copy_test.moc"
