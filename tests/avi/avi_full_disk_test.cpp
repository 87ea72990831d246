// A recording on a full disk, through the main window's record button: the
// failure is reported once, in words, naming the file that was cut, and the
// work file does not stay behind. The disk is a small tmpfs filled to the
// brim where the test may mount one, else files are limited to a few
// kilobytes for the test's lifetime (the same write fault, "File too large").

#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "support/MainWindowRig.hpp"

using namespace ostrovik;

namespace {

class FullDisk {
public:
    explicit FullDisk(const QString& dir) : dir_(QFile::encodeName(dir))
    {
        if (::mount("tmpfs", dir_.constData(), "tmpfs", 0, "size=200k") == 0) {
            mounted_ = true;
            error_ = ENOSPC;
            QDir(dir).mkpath(QStringLiteral("ScreenAVI"));
            fill(dir + QStringLiteral("/filler"));
            return;
        }
        // Past the limit a write fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &before_);
        rlimit small = before_;
        small.rlim_cur = 4096;
        limited_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
        error_ = EFBIG;
        QDir(dir).mkpath(QStringLiteral("ScreenAVI"));
    }
    ~FullDisk()
    {
        if (mounted_)
            ::umount2(dir_.constData(), MNT_DETACH);
        if (limited_)
            ::setrlimit(RLIMIT_FSIZE, &before_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool ready() const { return mounted_ || limited_; }
    /// What the system says of the fault, as the message should.
    QString reason() const { return QString::fromLocal8Bit(std::strerror(error_)); }

private:
    static void fill(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size() && f.flush()) {
        }
    }

    QByteArray dir_;
    bool mounted_ = false, limited_ = false;
    int error_ = 0;
    rlimit before_{};
};

} // namespace

class AviFullDiskTest : public QObject {
    Q_OBJECT
private slots:
    void fullDiskIsReportedOnce();
};

void AviFullDiskTest::fullDiskIsReportedOnce()
{
    const struct {
        const char* name;
        bool onTheFly;
        const char* error; ///< pattern before ": <reason>"
    } cases[] = {
        // Compressed frames wait in the write buffer: the disk refuses them
        // only when the file is completed at the stop.
        {"on the fly, cut at the stop", true, "Unable to write output file .*/ScreenAVI/avi_[0-9_]+\\.avi"},
        // Uncompressed frames fill the work file at once; it is the work
        // file that was cut, not the output.
        {"through the work file", false, "Failed to add Frame to .*/avi_TMP_[0-9_]+\\.avi"},
    };
    for (const auto& c : cases) {
        test::MainWindowRig rig;
        ui::MainWindow& window = *rig.window;
        const QString dir = rig.makeFolder(QStringLiteral("disk"));
        FullDisk disk(dir);
        QVERIFY2(disk.ready(), "neither a tmpfs nor a file size limit could be set");
        window.machine().programDir = QFile::encodeName(dir).toStdString();
        window.settingsForm()->codecBox->setEditText(QStringLiteral("FMP4 mpeg4"));
        window.settingsForm()->onTheFlyBox->setChecked(c.onTheFly);

        window.toggleAviRecording();
        QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
        QVERIFY(window.recording());
        for (int tick = 0; tick < 3 && window.recording(); ++tick)
            window.recordAviFrame();
        if (window.recording())
            window.toggleAviRecording();

        QVERIFY2(!window.recording(), c.name);
        QCOMPARE(rig.dialogs.errors.size(), 1);
        const QRegularExpression expected(QStringLiteral("^%1: %2$").arg(QString::fromUtf8(c.error), disk.reason()));
        QVERIFY2(expected.match(rig.dialogs.errors.first()).hasMatch(),
                 qPrintable(QString::fromUtf8(c.name) + ": " + rig.dialogs.errors.first()));
        QVERIFY2(QDir(dir).entryList({QStringLiteral("avi_TMP_*")}, QDir::Files).isEmpty(), c.name);
    }
}

QTEST_MAIN(AviFullDiskTest)
#include "avi_full_disk_test.moc"
