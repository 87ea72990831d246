// One copy per executable name: real copies of the program, started side by
// side, and the receiving side in this process.

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "ui/SingleCopy.hpp"

using namespace ostrovik;

namespace {

// Each test's executables get names of their own, so that parallel runs and
// a copy the developer has open never meet them.
QString uniqueName(const char* tag)
{
    static int counter = 0;
    return QStringLiteral("ostrovik-%1-%2-%3").arg(QString::fromLatin1(tag)).arg(::getpid()).arg(++counter);
}

/// A folder holding copies of the program under the given names, bios.dat
/// and a config.ini of its own.
class Install {
public:
    Install() { QVERIFY(dir_.isValid()); }

    bool addProgram(const QString& name)
    {
        const QString bin = qEnvironmentVariable("OSTROVIK_BIN");
        if (!QFile::exists(dir_.filePath(QStringLiteral("bios.dat"))) &&
            !QFile::copy(bin + QStringLiteral("/bios.dat"), dir_.filePath(QStringLiteral("bios.dat"))))
            return false;
        return QFile::copy(bin + QStringLiteral("/ostrovik"), dir_.filePath(name));
    }
    bool setOneInstance(bool on) const
    {
        QFile f(dir_.filePath(QStringLiteral("config.ini")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        f.write(on ? "[AutoStartUpOptions]\r\nOneInstance=1\r\n" : "[AutoStartUpOptions]\r\nOneInstance=0\r\n");
        return true;
    }
    QString file(const QString& name) const { return dir_.filePath(name); }

    /// A file the running copy can be handed (its content does not matter here).
    QString dataFile() const
    {
        const QString path = dir_.filePath(QStringLiteral("данные 1.bin"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(4096, '\x55'));
        return path;
    }

    /// Starts copy @p name in the install folder, or in @p workDir.
    std::unique_ptr<QProcess> start(const QString& name, const QStringList& args = {},
                                    const QString& workDir = {}) const
    {
        auto p = std::make_unique<QProcess>();
        p->setProgram(dir_.filePath(name));
        p->setArguments(args);
        p->setWorkingDirectory(workDir.isEmpty() ? dir_.path() : workDir);
        p->start();
        if (!p->waitForStarted(5000))
            qWarning("could not start %s", qPrintable(name));
        return p;
    }

private:
    QTemporaryDir dir_;
};

// Waits until a copy listens under @p name (its socket answers).
bool listening(const QString& executableName, int timeoutMs = 15000)
{
    const QString server = ui::SingleCopyServerName(executableName);
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

// Ended by now or within @p ms (a process already reaped counts as ended).
bool ends(QProcess& p, int ms = 30000)
{
    return p.state() == QProcess::NotRunning || p.waitForFinished(ms);
}

bool stillRunning(QProcess& p, int forMs)
{
    return !p.waitForFinished(forMs) && p.state() == QProcess::Running;
}

void stop(QProcess& p)
{
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    }
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
    QVERIFY(stillRunning(*first, 200));
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
    QFile game(install.file(QStringLiteral("games/color.lvt")));
    QVERIFY(game.open(QIODevice::WriteOnly));
    game.write(QByteArray(4096, '\x55'));
    game.close();
    QVERIFY(!QFile::exists(install.file(QStringLiteral("color.lvt"))));

    auto first = install.start(name);
    QVERIFY(listening(name));
    auto second = install.start(name, {QStringLiteral("color.lvt")}, install.file(QStringLiteral("games")));
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0); // answered at once: the file was found and loaded
    QCOMPARE(second->readAllStandardError(), QByteArray());
    QVERIFY(stillRunning(*first, 200));
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
    QVERIFY(stillRunning(*first, 200));
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
    QVERIFY(listening(two));
    QVERIFY(stillRunning(*second, 500));
    QVERIFY(stillRunning(*first, 0));
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
    QVERIFY(listening(name));
    QVERIFY(stillRunning(*second, 200));
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
    QVERIFY(mute.listen(ui::SingleCopyServerName(name)));

    QElapsedTimer t;
    t.start();
    auto second = install.start(name, {install.dataFile()});
    QVERIFY(ends(*second, 30000));
    QVERIFY(t.elapsed() >= ui::kHandOverTimeoutMs - 500);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(second->readAllStandardError().contains("did not answer"));
}

void SingleCopyTest::nameArrivesWithItsBytesAndAfterAcceptingStarts()
{
    Install install;
    const QString name = uniqueName("receive");
    QVERIFY(install.addProgram(name));
    QVERIFY(install.setOneInstance(true));
    ui::SingleCopyServer server;
    QVERIFY(server.listen(ui::SingleCopyServerName(name)));
    QList<QByteArray> received;
    server.setHandler([&](const QByteArray& n) { received.append(n); });

    const QString file = install.dataFile();
    auto second = install.start(name, {file});
    // Not accepting yet (the machine is not on): the sender waits.
    QTest::qWait(700);
    QVERIFY(received.isEmpty());
    QCOMPARE(second->state(), QProcess::Running);

    server.setAccepting(true);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
    QCOMPARE(received.first(), QFile::encodeName(file));
    QVERIFY(ends(*second, 30000));
    QCOMPARE(second->exitCode(), 0);

    // An empty argument arrives as an empty name.
    auto third = install.start(name, {QString()});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2, 5000);
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
    const QByteArray path = QFile::encodeName(ui::SingleCopyServerName(name));
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

QTEST_GUILESS_MAIN(SingleCopyTest)
#include "single_copy_test.moc"
