// The test ROM's key beep through the real main window and SDL's disk audio
// driver, which writes what the device plays into a file.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using test::kHangGuardMs;
using test::MainWindowRig;

class KeyBeepSoundTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void keyBeepIsWrittenAsClicks();

private:
    QTemporaryDir dir_;
    QString soundFile_;
};

void KeyBeepSoundTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    soundFile_ = dir_.filePath(QStringLiteral("played.raw"));
    // Before any window opens the sound device.
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(soundFile_));
}

void KeyBeepSoundTest::keyBeepIsWrittenAsClicks()
{
    {
        MainWindowRig rig{ui::MainWindow::systemWaveOut()};
        QVERIFY(rig.powerOn());
        output::sound::Beeper& beeper = rig.window->beeper();
        QTRY_COMPARE_WITH_TIMEOUT(beeper.waveOutOpened, std::uint8_t{1}, kHangGuardMs);

        // The ticks from here on are the test's, each built right after the
        // device took the one before, so every buffer is played.
        rig.window->setTimerInterval(60'000);
        const auto tickAndPlay = [&] {
            const std::uint8_t index = beeper.bufferIndex;
            rig.window->runFrame();
            return QTest::qWaitFor([&] { return beeper.bufferIndex != index; }, kHangGuardMs);
        };
        for (int i = 0; i < 3; ++i)
            QVERIFY(tickAndPlay());
        QTest::keyPress(rig.window.get(), Qt::Key_A);
        QTest::keyRelease(rig.window.get(), Qt::Key_A);
        for (int i = 0; i < 4; ++i)
            QVERIFY(tickAndPlay());
        QCOMPARE(rig.m().ram[0xBE40], std::uint8_t{'A'});
    } // the window closes the device, which finishes the file

    QFile file(soundFile_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    QVERIFY2(raw.size() > 4 * 1412, qPrintable(QString::number(raw.size())));

    std::vector<qsizetype> clicks;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto sample = static_cast<std::uint8_t>(raw[i]);
        QVERIFY2(sample == 128 || sample == 255, qPrintable(QStringLiteral("sample %1 is %2").arg(i).arg(sample)));
        if (sample == 255)
            clicks.push_back(i);
    }
    // One beep: 32 changes of the beeper bit about 614 T-states apart, one
    // click sample each. A buffer the device took twice holds it twice.
    QVERIFY(!clicks.empty());
    int inBeep = 1;
    for (std::size_t k = 1; k <= clicks.size(); ++k) {
        const qsizetype gap = k < clicks.size() ? clicks[k] - clicks[k - 1] : 1412;
        if (gap < 100) {
            QVERIFY2(gap >= 14 && gap <= 17, qPrintable(QStringLiteral("gap %1 at %2").arg(gap).arg(clicks[k])));
            ++inBeep;
        } else {
            QCOMPARE(inBeep, 32);
            inBeep = 1;
        }
    }
}

QTEST_MAIN(KeyBeepSoundTest)
#include "key_beep_sound_test.moc"
