// A snapshot handed to the running program by a second copy of it, with the
// real executable in a program folder of its own. What the running copy does
// with it is heard: the snapshot's program drives the beeper, and SDL's disk
// audio driver writes what the copy plays into a file.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/Snapshot.hpp"
#include "ui/SingleCopy.hpp"
#include "support/EventOrder.hpp"

using namespace ostrovik;

namespace {

/// A machine whose program at 8000h flips the beeper bit every 404 T-states.
QByteArray beepingSnapshot()
{
    auto snapshot = std::make_unique<files::SavSnapshot>();
    const std::uint8_t program[] = {
        0xDB, 0xC2,       // 8000 IN C2
        0xEE, 0x01,       //      XRI 01
        0xD3, 0xC2,       //      OUT C2
        0x06, 24,         //      MVI B,24
        0x05,             // 8008 DCR B
        0xC2, 0x08, 0x80, //      JNZ 8008
        0xC3, 0x00, 0x80, //      JMP 8000
    };
    std::copy(std::begin(program), std::end(program), snapshot->ram.begin() + 0x8000);
    snapshot->ports.fill(0xFF);
    snapshot->SP = 0xAFC1;
    snapshot->PC = 0x8000;
    QByteArray bytes(static_cast<qsizetype>(files::kSavSize), '\0');
    files::serialiseSavSnapshot(*snapshot, std::span<std::uint8_t, files::kSavSize>(
                                               reinterpret_cast<std::uint8_t*>(bytes.data()), files::kSavSize));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class HandOverTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyHandsASnapshotToTheRunningOne();
    void commandLineNamesAreTheirOwnBytesAndAlwaysFiles_data();
    void commandLineNamesAreTheirOwnBytesAndAlwaysFiles();
};

void HandOverTest::secondCopyHandsASnapshotToTheRunningOne()
{
    // The program folder: the executable under a name of its own (so no
    // other copy meets it), the ROM image, the settings and the folders the
    // program saves into.
    QTemporaryDir folder, runtime;
    QVERIFY(folder.isValid() && runtime.isValid());
    const QString bin = qEnvironmentVariable("OSTROVIK_BIN");
    const QString name = QStringLiteral("ostrovik-handover-%1").arg(::getpid());
    QVERIFY(QFile::copy(bin + QStringLiteral("/ostrovik"), folder.filePath(name)));
    QVERIFY(QFile::copy(bin + QStringLiteral("/bios.dat"), folder.filePath(QStringLiteral("bios.dat"))));
    QVERIFY(writeFile(folder.filePath(QStringLiteral("config.ini")), "[AutoStartUpOptions]\r\nOneInstance=1\r\nRunSound=1\r\n"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("FilesSAV")));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("ScreenShots")));
    const QString snapshot = folder.filePath(QStringLiteral("FilesSAV/beep.sav"));
    QVERIFY(writeFile(snapshot, beepingSnapshot()));
    const QString played = folder.filePath(QStringLiteral("played.raw"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    const auto start = [&](const QStringList& args, const QProcessEnvironment& e) {
        auto p = std::make_unique<QProcess>();
        p->setProgram(folder.filePath(name));
        p->setArguments(args);
        p->setWorkingDirectory(folder.path());
        p->setProcessEnvironment(e);
        p->start();
        return p;
    };

    QProcessEnvironment firstEnv = env;
    firstEnv.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    firstEnv.insert(QStringLiteral("SDL_DISKAUDIOFILE"), played);
    auto first = start({}, firstEnv);
    QVERIFY(first->waitForStarted(ostrovik::test::kHangGuardMs));
    const auto cleanup = qScopeGuard([&] {
        first->kill();
        first->waitForFinished(ostrovik::test::kHangGuardMs);
    });

    // The ROM runs and its silence is played.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(played).size() >= 8192, ostrovik::test::kHangGuardMs);
    const QByteArray silence = readFile(played);
    QVERIFY(std::all_of(silence.begin(), silence.end(), [](char s) { return static_cast<std::uint8_t>(s) == 128; }));

    auto second = start({snapshot}, env);
    QVERIFY(second->waitForFinished(ostrovik::test::kHangGuardMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0); // answered, not given up on
    QCOMPARE(second->readAllStandardError(), QByteArray());
    QCOMPARE(first->state(), QProcess::Running);

    // The running copy took the snapshot: its program's beeps are played,
    // a click every ten samples or so, on the silent level.
    const auto clicksFrom = [](const QByteArray& raw) {
        std::vector<qsizetype> clicks;
        for (qsizetype i = 0; i < raw.size(); ++i)
            if (static_cast<std::uint8_t>(raw[i]) == 255)
                clicks.push_back(i);
        return clicks;
    };
    QTRY_VERIFY_WITH_TIMEOUT(clicksFrom(readFile(played)).size() >= 300, ostrovik::test::kHangGuardMs);
    const QByteArray raw = readFile(played);
    QVERIFY(std::all_of(raw.begin(), raw.end(), [](char s) {
        const auto sample = static_cast<std::uint8_t>(s);
        return sample == 128 || sample == 255;
    }));
    const std::vector<qsizetype> clicks = clicksFrom(raw);
    std::size_t tenApart = 0;
    for (std::size_t k = 1; k < clicks.size(); ++k)
        tenApart += clicks[k] - clicks[k - 1] == 10 || clicks[k] - clicks[k - 1] == 11;
    QVERIFY2(tenApart * 10 >= clicks.size() * 9, qPrintable(QStringLiteral("%1 of %2").arg(tenApart).arg(clicks.size())));
    // A handed-over file does not join the recent files.
    QVERIFY(!readFile(folder.filePath(QStringLiteral("config.ini"))).contains(QFile::encodeName(snapshot)));

    // With its sound device open the program still ends when it is told to.
    QCOMPARE(first->state(), QProcess::Running);
    first->terminate();
    QVERIFY(first->waitForFinished(ostrovik::test::kHangGuardMs));
}

void HandOverTest::commandLineNamesAreTheirOwnBytesAndAlwaysFiles_data()
{
    QTest::addColumn<QByteArray>("programFolder");
    QTest::addColumn<QByteArray>("fileName");
    QTest::newRow("a file name that is not UTF-8") << QByteArray("plain") << QByteArray("beep\xC8\xE3.sav");
    QTest::newRow("a program folder that is not UTF-8") << QByteArray("\xCF\xCA \xFF") << QByteArray("beep.sav");
    QTest::newRow("a file named like a Qt option") << QByteArray("plain") << QByteArray("-reverse");
}

void HandOverTest::commandLineNamesAreTheirOwnBytesAndAlwaysFiles()
{
    // Started straight from the bytes (QProcess would pass names through
    // text), from a working folder that holds none of the program's files.
    QFETCH(QByteArray, programFolder);
    QFETCH(QByteArray, fileName);
    QTemporaryDir root, elsewhere;
    QVERIFY(root.isValid() && elsewhere.isValid());
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(QFile::encodeName(root.path()).toStdString()) / programFolder.toStdString();
    const fs::path bin(QFile::encodeName(qEnvironmentVariable("OSTROVIK_BIN")).toStdString());
    fs::create_directory(folder);
    fs::copy_file(bin / "ostrovik", folder / "ostrovik");
    fs::copy_file(bin / "bios.dat", folder / "bios.dat");
    const QByteArray config = "[AutoStartUpOptions]\r\nRunSound=1\r\nQuickRun=1\r\n";
    const QByteArray snapshot = beepingSnapshot();
    for (const auto& [path, bytes] : {std::pair{folder / "config.ini", config}, std::pair{folder / fileName.toStdString(), snapshot}}) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        QVERIFY(f);
        QCOMPARE(std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f), std::size_t(bytes.size()));
        std::fclose(f);
    }
    const QString played = elsewhere.filePath(QStringLiteral("played.raw"));

    QByteArrayList environment;
    for (char** e = environ; *e; ++e)
        if (!QByteArray(*e).startsWith("SDL_") && !QByteArray(*e).startsWith("QT_QPA_PLATFORM="))
            environment << *e;
    environment << "QT_QPA_PLATFORM=offscreen" << "SDL_AUDIODRIVER=disk" << "SDL_DISKAUDIOFILE=" + QFile::encodeName(played);
    std::vector<char*> envp;
    for (QByteArray& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = (folder / "ostrovik").string();
    std::string argument = (folder / fileName.toStdString()).string();
    if (fileName.startsWith('-'))
        argument = fileName.toStdString(); // as typed in the program's folder
    char* argv[] = {program.data(), argument.data(), nullptr};
    const QByteArray cwd = fileName.startsWith('-') ? QByteArray::fromStdString(folder.string())
                                                     : QFile::encodeName(elsewhere.path());
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    QCOMPARE(::chdir(cwd.constData()), 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data());
    QCOMPARE(::chdir(here.constData()), 0);
    QCOMPARE(spawned, 0);
    const auto cleanup = qScopeGuard([pid, &folder] {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        std::error_code ec;
        fs::remove_all(folder, ec); // names QTemporaryDir could not spell
    });

    // The snapshot's program is heard: the file was found and loaded, and
    // the ROM image beside the program was read.
    const auto clicks = [&] {
        const QByteArray raw = readFile(played);
        return std::count(raw.begin(), raw.end(), '\xFF');
    };
    QTRY_VERIFY_WITH_TIMEOUT(clicks() >= 300, ostrovik::test::kHangGuardMs);
}

QTEST_GUILESS_MAIN(HandOverTest)
#include "handover_test.moc"
