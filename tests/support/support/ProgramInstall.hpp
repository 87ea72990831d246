#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>
#include <memory>
#include <vector>

#include <unistd.h>

#include "support/TapeImages.hpp"

namespace ostrovik::test {

// Each test's executables get names of their own, so that parallel runs and
// a copy the developer has open never meet them.
inline QString uniqueName(const char* tag)
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
        return addProgram(name, qEnvironmentVariable("OSTROVIK_BIN") + QStringLiteral("/ostrovik"));
    }
    /// The program whose message boxes stay open until answered (see single_copy_peer.cpp).
    bool addProgramWithAnsweredBoxes(const QString& name)
    {
        return addProgram(name, QCoreApplication::applicationDirPath() + QStringLiteral("/single_copy_peer"));
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

    /// A tape image the running copy loads: a program that loops where it starts.
    QString dataFile(const QString& name = QStringLiteral("данные 1.lvt")) const
    {
        const std::uint8_t loop[] = {0xC3, 0x00, 0x30}; // JMP 3000h
        const std::vector<std::uint8_t> image = test::machineCodeTape(0x3000, 0x3002, 0x3000, loop);
        return write(name, QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
    }
    /// A file too short for anything: the running copy refuses it with a message box.
    QString tinyFile() const { return write(QStringLiteral("tiny.lvt"), QByteArray("RIZI/")); }

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
    bool addProgram(const QString& name, const QString& source)
    {
        const QString bin = qEnvironmentVariable("OSTROVIK_BIN");
        if (!QFile::exists(dir_.filePath(QStringLiteral("bios.dat"))) &&
            !QFile::copy(bin + QStringLiteral("/bios.dat"), dir_.filePath(QStringLiteral("bios.dat"))))
            return false;
        return QFile::copy(source, dir_.filePath(name));
    }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qWarning("could not write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir_;
};

// Ended by now or within @p ms (a process already reaped counts as ended).
inline bool ends(QProcess& p, int ms = 30000)
{
    return p.state() == QProcess::NotRunning || p.waitForFinished(ms);
}

} // namespace ostrovik::test
