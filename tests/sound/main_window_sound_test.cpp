#include <QtTest>

#include <algorithm>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"

class MainWindowSoundTest : public QObject {
    Q_OBJECT
private slots:
    void poweredOnMachineIsHeardThroughTheWaveOutDevice()
    {
        ostrovik::test::MainWindowRig rig(ostrovik::ui::MainWindow::systemWaveOut());
        QVERIFY(!rig.writeFile(QStringLiteral("bios.dat"), ostrovik::test::beepingRom()).isEmpty());
        rig.window->show();
        auto& beeper = rig.window->beeper();
        // Power-on set the wave format; the ticks open the device and its
        // open notice arrives.
        QTRY_COMPARE_WITH_TIMEOUT(beeper.waveOutOpened, std::uint8_t{1}, ostrovik::test::kHangGuardMs);
        QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
        QCOMPARE(beeper.waveFormat.samplesPerSec, 44100u);
        const auto clicks = [](const auto& buffer) { return std::count(buffer.begin(), buffer.end(), 255); };
        QTRY_VERIFY_WITH_TIMEOUT(clicks(beeper.soundBuffers[0]) >= 139 && clicks(beeper.soundBuffers[1]) >= 139, ostrovik::test::kHangGuardMs);
    }
};

QTEST_MAIN(MainWindowSoundTest)
#include "main_window_sound_test.moc"
