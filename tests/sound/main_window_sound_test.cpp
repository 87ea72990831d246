#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <vector>

#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/MainFormEmu.hpp"

namespace {

/// A ROM whose program flips the beeper bit every 404 T-states, for ever.
QByteArray beepingRom()
{
    QByteArray image(22 + 16384, '\0');
    const std::vector<std::uint8_t> program{
        0xDB, 0xC2,       // C000 IN C2
        0xEE, 0x01,       //      XRI 01
        0xD3, 0xC2,       //      OUT C2
        0x06, 24,         //      MVI B,24
        0x05,             // C008 DCR B
        0xC2, 0x08, 0xC0, //      JNZ C008
        0xC3, 0x00, 0xC0, //      JMP C000
    };
    std::copy(program.begin(), program.end(), image.begin() + 22);
    return image;
}

} // namespace

class MainWindowSoundTest : public QObject {
    Q_OBJECT
private slots:
    void poweredOnMachineIsHeardThroughTheWaveOutDevice()
    {
        ostrovik::test::FreshConfig config;
        ostrovik::test::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        QFile rom(dir.filePath(QStringLiteral("bios.dat")));
        QVERIFY(rom.open(QIODevice::WriteOnly));
        rom.write(beepingRom());
        rom.close();
        {
            ostrovik::ui::TMainFormEmu window({});
            window.machine().ProgramDir = QFile::encodeName(dir.path()).toStdString();
            window.show();
            auto& beeper = window.beeper();
            // Power-on set the wave format; the ticks open the device and its
            // open notice arrives.
            QTRY_COMPARE_WITH_TIMEOUT(beeper.WaveOutOpened, std::uint8_t{1}, 5000);
            QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
            QCOMPARE(beeper.WaveFormat.samplesPerSec, 44100u);
            const auto clicks = [](const auto& buffer) { return std::count(buffer.begin(), buffer.end(), 255); };
            QTRY_VERIFY(clicks(beeper.SoundBuffers[0]) >= 139 && clicks(beeper.SoundBuffers[1]) >= 139);
        }
    }
};

QTEST_MAIN(MainWindowSoundTest)
#include "main_window_sound_test.moc"
