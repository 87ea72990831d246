// AVI recording from the main window's tool button, as a person records:
// the codec, frame time and on-the-fly choices of the settings window reach
// the recording, the button blinks, a refused start is told in the error
// box, the exit completes a running recording, and the settings window's
// codec controls configure the recorder. Every file is read back by ffprobe
// and decoded by libavcodec. The recording's frames, codecs and failures
// themselves are the session's (tests/session).

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QtTest>

#include "AviProbe.hpp"
#include "files/avi/AviWriter.hpp"
#include "support/MainWindowRig.hpp"
#include "ui/MainMenu.hpp"

using namespace ostrovik;
using files::avi::test::decodeAll;
using files::avi::test::ffprobeLine;
using test::MainWindowRig;

namespace {

/// The decoded frame as the machine's bitmap layout, for a byte compare.
std::vector<std::uint8_t> bitsOf(const output::FrameBitmap& b)
{
    return {b.bits.begin(), b.bits.end()};
}

/// A rig on the test ROM's prompt with the folder recordings go to.
struct Recorder : MainWindowRig {
    bool ready()
    {
        makeFolder(QStringLiteral("ScreenAVI"));
        return powerOn();
    }
    ui::SettingsForm& settings() { return *window->settingsForm(); }
    void choose(const QString& codec, bool onTheFly, int frameTime)
    {
        settings().codecBox->setEditText(codec);
        settings().onTheFlyBox->setChecked(onTheFly);
        settings().frameTimeBox->setValue(frameTime);
    }
    /// Ticks of both timers, as the running program sees them.
    void record(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            runTicks(2);
            window->recordAviFrame();
        }
    }
    QString recordingFile() const
    {
        const QFileInfoList files = filesIn(QStringLiteral("ScreenAVI"));
        return files.size() == 1 ? files.first().filePath() : QString();
    }
    QString probe() const { return QString::fromStdString(ffprobeLine(recordingFile().toStdString())); }
    kit::Icon buttonImage() const { return window->menus().image(ui::menu::RecordAviButton); }
};

} // namespace

class AviRecordingTest : public QObject {
    Q_OBJECT
private slots:
    void roadsFromTheSettings_data();
    void roadsFromTheSettings();
    void refusedStartIsToldInTheErrorBox();
    void exitCompletesARunningRecording();
    void recordingsInOneSecondAllSurvive();
    void codecControlsOfTheSettingsWindow();
};

void AviRecordingTest::roadsFromTheSettings_data()
{
    QTest::addColumn<QString>("codec");
    QTest::addColumn<bool>("onTheFly");
    QTest::addColumn<int>("frameTime");
    QTest::addColumn<QString>("codecName");
    QTest::addColumn<QString>("rate");
    // Lossless codecs, so the last frame comes back byte for byte.
    QTest::newRow("No Compression, 1000 ms") << "No Compression" << true << 1000 << "rawvideo" << "1/1";
    QTest::newRow("HuffYUV through the work file") << "HFYU huffyuv" << false << 100 << "huffyuv" << "10/1";
}

void AviRecordingTest::roadsFromTheSettings()
{
    QFETCH(QString, codec);
    QFETCH(bool, onTheFly);
    QFETCH(int, frameTime);
    QFETCH(QString, codecName);
    QFETCH(QString, rate);

    Recorder r;
    QVERIFY(r.ready());
    r.choose(codec, onTheFly, frameTime);
    r.window->toggleAviRecording();
    QVERIFY2(r.dialogs.errors.isEmpty(), qPrintable(r.dialogs.errors.join('\n')));
    QVERIFY(r.window->recording());
    const QFileInfoList work = QDir(r.path(".")).entryInfoList({"avi_TMP_*.avi"}, QDir::Files);
    QCOMPARE(work.size(), onTheFly ? 0 : 1);

    std::vector<kit::Icon> images;
    for (int i = 0; i < 6; ++i) {
        r.record(1);
        images.push_back(r.buttonImage());
    }
    using kit::Icon;
    QCOMPARE(images, (std::vector<Icon>{Icon::AviRecording, Icon::AviFilm, Icon::AviRecording, Icon::AviFilm,
                                        Icon::AviRecording, Icon::AviFilm}));
    const std::vector<std::uint8_t> last = bitsOf(r.window->session().recordingFrame(r.window->grayTV()));
    r.window->toggleAviRecording();
    QVERIFY(!r.window->recording());
    QCOMPARE(r.buttonImage(), kit::Icon::AviFilm);
    QVERIFY(QDir(r.path(".")).entryInfoList({"avi_TMP_*.avi"}, QDir::Files).isEmpty());

    QVERIFY(QFileInfo(r.recordingFile()).fileName().startsWith("avi_"));
    QCOMPARE(r.probe(), codecName + " 256x256 " + rate + " 6 frames");
    const auto frames = decodeAll(r.recordingFile().toStdString());
    QCOMPARE(frames.size(), std::size_t(6));
    QCOMPARE(frames.back().bgr, last);
}

void AviRecordingTest::refusedStartIsToldInTheErrorBox()
{
    Recorder r;
    QVERIFY(r.ready());
    r.choose("", true, 0);
    r.window->toggleAviRecording();
    QVERIFY(!r.window->recording());
    QCOMPARE(r.dialogs.errors, QStringList{"Frame time must be at least 1 ms"});
    QCOMPARE(r.buttonImage(), kit::Icon::AviFilm);
    QVERIFY(r.filesIn("ScreenAVI").isEmpty());
    // The timer stayed off: a later press starts a recording as usual.
    r.choose("", true, 50);
    r.window->toggleAviRecording();
    QVERIFY(r.window->recording());
    r.record(1);
    r.window->toggleAviRecording();
    QCOMPARE(r.probe(), QStringLiteral("rawvideo 256x256 20/1 1 frames"));
}

void AviRecordingTest::exitCompletesARunningRecording()
{
    for (bool exitCommand : {true, false}) {
        Recorder r;
        QVERIFY(r.ready());
        r.choose("FMP4 mpeg4", !exitCommand, 50);
        r.window->toggleAviRecording();
        r.record(5);
        const QString folder = r.path("ScreenAVI");
        if (exitCommand)
            r.window->exitProgram();
        r.window.reset(); // the window's destruction at the end of the program
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(ffprobeLine(files.first().filePath().toStdString()), std::string("mpeg4 256x256 20/1 5 frames"));
        QCOMPARE(decodeAll(files.first().filePath().toStdString()).size(), std::size_t(5));
        QVERIFY(r.dialogs.errors.isEmpty());
    }
}

void AviRecordingTest::recordingsInOneSecondAllSurvive()
{
    // Six recordings started and stopped within one second, by both roads:
    // six files, each with its own frames, and no work file left.
    Recorder r;
    QVERIFY(r.ready());
    const QString stamp = QStringLiteral("08_12_2026_23_59_01");
    r.window->session().recordingStamp = [&stamp] { return stamp.toStdString(); };
    QStringList names;
    for (int i = 0; i < 6; ++i) {
        r.choose(QStringLiteral("No Compression"), i % 2 == 0, 50);
        r.window->toggleAviRecording();
        QVERIFY2(r.dialogs.errors.isEmpty(), qPrintable(r.dialogs.errors.join('\n')));
        r.record(i + 1);
        r.window->toggleAviRecording();
        QVERIFY(!r.window->recording());
        names << QStringLiteral("avi_%1%2.avi").arg(stamp, i == 0 ? QString() : QStringLiteral("_%1").arg(i + 1));
    }
    QCOMPARE(r.dialogs.errors, QStringList());
    const QFileInfoList files = r.filesIn(QStringLiteral("ScreenAVI"));
    QStringList found;
    for (const QFileInfo& f : files)
        found << f.fileName();
    names.sort();
    found.sort();
    QCOMPARE(found, names);
    for (int i = 0; i < 6; ++i) {
        const QString file = r.path(QStringLiteral("ScreenAVI/") + (i == 0 ? QStringLiteral("avi_%1.avi").arg(stamp)
                                                                        : QStringLiteral("avi_%1_%2.avi").arg(stamp).arg(i + 1)));
        QCOMPARE(QString::fromStdString(ffprobeLine(file.toStdString())),
                 QStringLiteral("rawvideo 256x256 20/1 %1 frames").arg(i + 1));
        QCOMPARE(decodeAll(file.toStdString()).size(), std::size_t(i + 1));
    }
    QVERIFY(QDir(r.path(".")).entryInfoList({"avi_TMP_*.avi"}, QDir::Files).isEmpty());
}

void AviRecordingTest::codecControlsOfTheSettingsWindow()
{
    Recorder r;
    QVERIFY(r.ready());
    ui::SettingsForm& s = r.settings();
    files::avi::AviWriter& writer = r.window->aviWriter();

    s.listCodecs();
    QVERIFY(s.codecBox->count() > 3);
    QCOMPARE(s.codecBox->itemText(0), QStringLiteral("No Compression"));
    const int mpeg4 = s.codecBox->findText("FMP4 mpeg4");
    QVERIFY(mpeg4 > 0);

    const struct {
        const char* name;
        int index;           // the line chosen, or -1 for typed text
        const char* typed;
        const char* fourCC;
    } choices[] = {
        {"the MPEG-4 line", mpeg4, "", "FMP4"},
        {"No Compression", 0, "", ""},
        {"typed text", -1, "FMP4 typed", ""},
    };
    for (const auto& c : choices) {
        writer.setCompressor("MJPG");
        if (c.index >= 0)
            s.codecBox->setCurrentIndex(c.index);
        else
            s.codecBox->setEditText(c.typed);
        s.codecChanged();
        QVERIFY2(writer.compressorFourCC == c.fourCC, c.name);
    }

    // The codec's own options, in its dialog; Cancel keeps them, OK takes them.
    s.codecBox->setCurrentIndex(mpeg4);
    s.codecChanged();
    s.configureCodec();
    QCOMPARE(r.dialogs.codecDialogs, QStringList{"FMP4 mpeg4"});
    QVERIFY(!r.dialogs.codecOptionsShown.empty());
    QVERIFY(writer.chosenCompressorOptions.empty());
    r.dialogs.codecAnswer = true;
    r.dialogs.codecEdits = {{"mpeg_quant", "1"}};
    s.configureCodec();
    QCOMPARE(writer.chosenCompressorOptions, (std::map<std::string, std::string>{{"mpeg_quant", "1"}}));
    // A recording with that codec keeps them; another codec drops them.
    r.window->toggleAviRecording();
    QVERIFY(r.window->recording());
    r.record(2);
    r.window->toggleAviRecording();
    QCOMPARE(writer.chosenCompressorOptions, (std::map<std::string, std::string>{{"mpeg_quant", "1"}}));
    QVERIFY2(r.probe().endsWith(" 2 frames"), qPrintable(r.probe()));
    writer.setCompressor("MJPG");
    QVERIFY(writer.chosenCompressorOptions.empty());

    // "No Compression" has no options to show.
    s.codecBox->setCurrentIndex(0);
    s.codecChanged();
    s.configureCodec();
    QCOMPARE(r.dialogs.codecDialogs.size(), 2);
}

QTEST_MAIN(AviRecordingTest)
#include "avi_recording_test.moc"
