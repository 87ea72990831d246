// The settings window: the first-run file, loading and saving every option,
// the track bar and the timer, and the window's make-up.

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "support/ScriptedWaveOut.hpp"
#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/MainWindow.hpp"
#include "kit/RadioGroup.hpp"
#include "ui/JoystickKeyDialog.hpp"
#include "settings/SettingsSchema.hpp"
#include "ui/SettingsForm.hpp"

using namespace ostrovik;
using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using ui::SettingsForm;

namespace {

// The first-run file with some lines changed: "key=old" → "key=new".
QByteArray firstRunWith(std::initializer_list<std::pair<QByteArray, QByteArray>> changes)
{
    QByteArray file = FreshConfig::firstRunFile();
    for (const auto& [from, to] : changes) {
        const qsizetype at = file.indexOf("\n" + from + "\r");
        if (at < 0)
            qFatal("no line %s in the fixture", from.constData());
        file.replace(at + 1, from.size(), to);
    }
    return file;
}

bool writeRaw(const FreshConfig& sandbox, const QByteArray& bytes)
{
    QFile f(sandbox.path());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

class SettingsFormTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunWritesTheWholeFileExactly();
    void everyControlChangedSavesTheGoldenFile();
    void checkBoxesAreOnOnlyForOne();
    void latinCIsNotThePatchOption();
    void joystickKeyZeroLoadsAndSavesItsDefault();
    void intervalIsClampedAndSetsTheTimerOnlyWhenItMoves();
    void compressorZeroOrMissingGivesAnEmptyBox();
    void numbersThatAreNotNumbersReadAsFirstRunValues();
    void indexesOutOfRange();
    void deletedFileIsWrittenFromTheControlsWhenOpened();
    void cancelAfterMovingTheTrackBarKeepsTheTimer();
    void saveKeepsOtherSectionsAndLines();
    void failedWriteIsReportedAndTheWindowStays();
    void runTimeOptionsAreTheControls();
    void windowAndStoreShowTheSameBothWays();
    void codecListHoldsOnlyNoCompression();
    void windowMakeUp();
};

void SettingsFormTest::firstRunWritesTheWholeFileExactly()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    form.show();
    QVERIFY(!sandbox.exists());
    form.readAllOptions();
    const QByteArray expected = FreshConfig::firstRunFile();
    QVERIFY(!expected.isEmpty());
    QCOMPARE(sandbox.bytes(), expected);
    // Like Save, the first write hides the window.
    QVERIFY(form.isHidden());
    const char* captions[] = {"UP", "DOWN", "LEFT", "RIGHT", "F", "SPACE", "ENTER", "G"};
    const std::uint16_t words[] = {38, 40, 37, 39, 70, 32, 13, 71};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(form.joyButton(i)->text(), QString::fromLatin1(captions[i]));
        QCOMPARE(form.store().joystickVirtualKey(static_cast<std::size_t>(i)), words[i]);
    }
    // A second load changes nothing.
    form.readAllOptions();
    QCOMPARE(sandbox.bytes(), expected);
    QVERIFY(dialogs.errors.isEmpty());
}

void SettingsFormTest::everyControlChangedSavesTheGoldenFile()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    for (int i = 0; i < 11; ++i)
        form.optionBox(i)->setChecked(!form.optionBox(i)->isChecked());
    form.renderingBox->setCurrentIndex(1);
    form.screenshotFormatGroup->setItemIndex(2);
    form.codecBox->setEditText(QStringLiteral("XVID Кодек"));
    form.frameTimeBox->setValue(40);
    form.speedSlider->setValue(37);
    const std::uint16_t keys[] = {87, 83, 65, 68, 112, 17, 16, 9};
    for (int i = 0; i < 8; ++i)
        form.store().setJoystickVirtualKey(static_cast<std::size_t>(i), keys[i]);
    QVERIFY(form.save());
    const QByteArray golden = QByteArray::fromStdString(test::testData("settings/all_set_config.ini"));
    QVERIFY(!golden.isEmpty());
    QCOMPARE(sandbox.bytes(), golden);
    QCOMPARE(form.joyButton(4)->text(), QString(QChar(112)));
}

void SettingsFormTest::checkBoxesAreOnOnlyForOne()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    for (const QByteArray value : {"yes", "2", "", " 1x", "true"}) {
        QVERIFY(writeRaw(sandbox, firstRunWith({{"FullScreen=1", "FullScreen=" + value}, {"Gray=0", "Gray=1"}})));
        form.readAllOptions();
        QVERIFY2(!form.fullScreenBox->isChecked(), value.constData());
        QVERIFY(form.grayTvBox->isChecked());
    }
    // Missing keys read as their first-run values: only full screen, the
    // border colour and the sound on.
    QVERIFY(sandbox.write("[AutoStartUpOptions]\nOther=1\n"));
    form.readAllOptions();
    for (int i = 0; i < 11; ++i)
        QVERIFY2(form.optionBox(i)->isChecked() == (i == 0 || i == 3 || i == 7), qPrintable(QString::number(i)));
}

void SettingsFormTest::latinCIsNotThePatchOption()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    // "h058C" with a Latin C is a different key.
    QVERIFY(writeRaw(sandbox, firstRunWith({{"h058\xD1=0", "h058C=1"}})));
    form.readAllOptions();
    QVERIFY(!form.patch058CBox->isChecked());
    QCOMPARE(form.option(machine::Option::Patch058C), QStringLiteral("0"));

    // The Cyrillic one is read, and written back under the same bytes.
    QVERIFY(writeRaw(sandbox, firstRunWith({{"h058\xD1=0", "h058\xD1=1"}})));
    form.readAllOptions();
    QVERIFY(form.patch058CBox->isChecked());
    QCOMPARE(form.option(machine::Option::Patch058C), QStringLiteral("1"));
    form.patch058CBox->setChecked(false);
    QVERIFY(form.save());
    QCOMPARE(sandbox.bytes(), FreshConfig::firstRunFile());
}

void SettingsFormTest::joystickKeyZeroLoadsAndSavesItsDefault()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    QVERIFY(writeRaw(sandbox, firstRunWith({{"KEY_JOY_2=32", "KEY_JOY_2=0"},
                                            {"KEY_JOY_UP=38", "KEY_JOY_UP=87"},
                                            {"KEY_JOY_3=13", "KEY_JOY_3=65553"}})));
    form.readAllOptions();
    QCOMPARE(form.store().joystickVirtualKeys().joyKeyButton[1], std::uint16_t(32));
    QCOMPARE(form.joyKey2Button->text(), QStringLiteral("SPACE"));
    QCOMPARE(form.store().joystickVirtualKeys().joyKeyUp, std::uint16_t(87));
    QCOMPARE(form.joyUpButton->text(), QStringLiteral("W"));
    QCOMPARE(form.store().joystickVirtualKeys().joyKeyButton[2], std::uint16_t(17)); // 65553 cut to 16 bits
    QCOMPARE(form.joyKey3Button->text(), QStringLiteral("CTRL"));
    QVERIFY(form.save());
    QCOMPARE(sandbox.bytes(),
             firstRunWith({{"KEY_JOY_UP=38", "KEY_JOY_UP=87"}, {"KEY_JOY_3=13", "KEY_JOY_3=17"}}));

    // A word still 0 when saved (never loaded) is written as its default.
    sandbox.reset();
    settings::SettingsStore freshStore([] { return kit::configFilePath(); });
    SettingsForm fresh(freshStore, nullptr);
    QVERIFY(fresh.save());
    QCOMPARE(freshStore.joystickVirtualKeys().joyKeyButton[3], std::uint16_t(71));
    QCOMPARE(sandbox.bytes(), FreshConfig::firstRunFile());
}

void SettingsFormTest::intervalIsClampedAndSetsTheTimerOnlyWhenItMoves()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    main.setTimerInterval(37);

    // 0 clamps to 1, where the track bar already stands: the timer keeps 37.
    QVERIFY(writeRaw(sandbox, firstRunWith({{"Interval=1", "Interval=0"}})));
    form->readAllOptions();
    QCOMPARE(form->speedSlider->value(), 1);
    QCOMPARE(main.timerInterval(), 37);

    // 500 clamps to 100: the position moves, the timer follows at once.
    QVERIFY(writeRaw(sandbox, firstRunWith({{"Interval=1", "Interval=500"}})));
    form->readAllOptions();
    QCOMPARE(form->speedSlider->value(), 100);
    QCOMPARE(main.timerInterval(), 100);
    QCOMPARE(form->intervalLabel->text(), QStringLiteral("100"));

    main.setTimerInterval(55);
    form->readAllOptions();
    QCOMPARE(main.timerInterval(), 55);

    QVERIFY(form->save());
    QVERIFY(sandbox.bytes().contains("\r\nInterval=100\r\n"));
}

void SettingsFormTest::compressorZeroOrMissingGivesAnEmptyBox()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    QVERIFY(writeRaw(sandbox, firstRunWith({{"Compressor=", "Compressor=DIB "}})));
    form.readAllOptions();
    QCOMPARE(form.codecBox->currentText(), QStringLiteral("DIB"));

    QVERIFY(writeRaw(sandbox, firstRunWith({{"Compressor=", "Compressor=0"}})));
    form.readAllOptions();
    QCOMPARE(form.codecBox->currentText(), QString());

    form.codecBox->setEditText(QStringLiteral("MJPG"));
    QVERIFY(sandbox.write("[VideoOptions]\nFrameTime=40\n"));
    form.readAllOptions();
    QCOMPARE(form.codecBox->currentText(), QString());
    QCOMPARE(form.frameTimeBox->value(), 40);
}

void SettingsFormTest::numbersThatAreNotNumbersReadAsFirstRunValues()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    form->speedSlider->setValue(30);
    form->renderingBox->setCurrentIndex(2);
    form->screenshotFormatGroup->setItemIndex(0);
    form->frameTimeBox->setValue(5);
    QVERIFY(writeRaw(sandbox, firstRunWith({{"RenderingMode=0", "RenderingMode=GDI"},
                                            {"ScreenShotFormat=1", "ScreenShotFormat=png"},
                                            {"FrameTime=50", "FrameTime=1e3"},
                                            {"Interval=1", "Interval=0x10"},
                                            {"KEY_JOY_1=70", "KEY_JOY_1=F"},
                                            {"KEY_JOY_4=71", "KEY_JOY_4=72"},
                                            {"Border=1", "Border=0"}})));
    form->readAllOptions();
    QCOMPARE(form->renderingBox->currentIndex(), 0);
    QCOMPARE(form->screenshotFormatGroup->itemIndex(), 1);
    QCOMPARE(form->frameTimeBox->value(), 50);
    QCOMPARE(form->speedSlider->value(), 1);
    QCOMPARE(main.timerInterval(), 1);
    QCOMPARE(form->store().joystickVirtualKeys().joyKeyButton[0], std::uint16_t(70));
    // Nothing after a bad value is left unloaded.
    QCOMPARE(form->store().joystickVirtualKeys().joyKeyButton[3], std::uint16_t(72));
    QVERIFY(!form->borderColourBox->isChecked());
    QVERIFY(dialogs.errors.isEmpty());
}

void SettingsFormTest::indexesOutOfRange()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    QVERIFY(writeRaw(sandbox, firstRunWith({{"ScreenShotFormat=1", "ScreenShotFormat=7"},
                                            {"RenderingMode=0", "RenderingMode=2"}})));
    form.readAllOptions();
    QCOMPARE(form.screenshotFormatGroup->itemIndex(), 2);
    QCOMPARE(form.renderingBox->currentIndex(), 2);
    QCOMPARE(form.renderingBox->currentText(), QStringLiteral("DirectX3D"));

    // Below -1 gives -1: no format chosen, and that is what Save stores.
    QVERIFY(writeRaw(sandbox, firstRunWith({{"ScreenShotFormat=1", "ScreenShotFormat=-5"},
                                            {"RenderingMode=0", "RenderingMode=9"}})));
    form.readAllOptions();
    QCOMPARE(form.screenshotFormatGroup->itemIndex(), -1);
    QCOMPARE(form.renderingBox->currentIndex(), -1);
    QVERIFY(form.save());
    QCOMPARE(sandbox.bytes(), firstRunWith({{"ScreenShotFormat=1", "ScreenShotFormat=-1"},
                                            {"RenderingMode=0", "RenderingMode=-1"}}));
}

void SettingsFormTest::deletedFileIsWrittenFromTheControlsWhenOpened()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    form->readAllOptions();
    form->grayTvBox->setChecked(true); // unsaved
    form->frameTimeBox->setValue(40);
    sandbox.reset();

    form->showFromMenu();
    QVERIFY(form->isHidden());
    QCOMPARE(sandbox.bytes(), firstRunWith({{"Gray=0", "Gray=1"}, {"FrameTime=50", "FrameTime=40"}}));

    form->showFromMenu();
    QVERIFY(form->isVisible());
    QVERIFY(form->grayTvBox->isChecked());
}

void SettingsFormTest::cancelAfterMovingTheTrackBarKeepsTheTimer()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    QVERIFY(writeRaw(sandbox, firstRunWith({{"Interval=1", "Interval=20"}})));
    form->showFromMenu();
    QCOMPARE(main.timerInterval(), 20);

    form->speedSlider->setValue(40);
    QCOMPARE(main.timerInterval(), 40);
    QCOMPARE(form->intervalLabel->text(), QStringLiteral("40"));
    form->runBasicBox->setChecked(true);
    form->cancel();
    QVERIFY(form->isHidden());
    QCOMPARE(sandbox.bytes(), firstRunWith({{"Interval=1", "Interval=20"}}));
    // Until the next opening the unsaved states act.
    QCOMPARE(main.timerInterval(), 40);
    QCOMPARE(form->option(machine::Option::RunBasic), QStringLiteral("1"));

    form->showFromMenu();
    QCOMPARE(form->speedSlider->value(), 20);
    QCOMPARE(main.timerInterval(), 20);
    QVERIFY(!form->runBasicBox->isChecked());
}

void SettingsFormTest::saveKeepsOtherSectionsAndLines()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    const QByteArray before = "; my settings\r\n[MRU list]\r\n1=/home/u/game.lvt\r\n[AutoStartUpOptions]\r\n"
                              "FormHeight=600\r\nFormWidth=545\r\n[AssemblerOptions]\r\nAssPath=/opt/asm\r\n";
    QVERIFY(writeRaw(sandbox, before));
    form.readAllOptions();
    QVERIFY(form.save());
    const QByteArray after = sandbox.bytes();
    // The options the file lacked were loaded, and are saved, as on a first start.
    QVERIFY(after.startsWith("; my settings\r\n[MRU list]\r\n1=/home/u/game.lvt\r\n[AutoStartUpOptions]\r\n"
                             "FormHeight=600\r\nFormWidth=545\r\nFullScreen=1\r\n"));
    QVERIFY(after.contains("[AssemblerOptions]\r\nAssPath=/opt/asm\r\n[VideoOptions]\r\n"));
    QVERIFY(after.endsWith("KEY_JOY_4=71\r\n"));
}

void SettingsFormTest::failedWriteIsReportedAndTheWindowStays()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    const QString bad = sandbox.blockWrites();

    SettingsForm form(sandbox.store, nullptr);
    form.show();
    QVERIFY(!form.save());
    QVERIFY(form.isVisible());
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("Unable to write to ") + bad + QStringLiteral("\nNot a directory")});

    // The load after a failed first write goes on with what it can read.
    dialogs.errors.clear();
    form.readAllOptions();
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(form.store().joystickVirtualKeys().joyKeyButton[0], std::uint16_t(70));
}

void SettingsFormTest::runTimeOptionsAreTheControls()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    QVERIFY(!main.quickRun()); // not yet the settings window's
    main.setSettingsForm(form);
    form->readAllOptions();
    QVERIFY(!main.quickRun());
    form->quickRunBox->setChecked(true);
    QVERIFY(main.quickRun());

    form->patch058CBox->setChecked(true);
    form->screenshotFormatGroup->setItemIndex(2);
    form->codecBox->setEditText(QStringLiteral("XVID"));
    QCOMPARE(form->option(machine::Option::QuickRun), QStringLiteral("1"));
    QCOMPARE(form->option(machine::Option::Patch058C), QStringLiteral("1"));
    // The patch option's key ends in the Cyrillic capital Es, not a Latin C.
    QCOMPARE(settings::optionKey(machine::Option::Patch058C), std::string_view("h058\xD0\xA1"));
    QCOMPARE(settings::optionKey(machine::Option::FrameTime), std::string_view("FrameTime"));
    QCOMPARE(form->option(machine::Option::RunBasic), QStringLiteral("0"));
    QCOMPARE(form->option(machine::Option::ScreenShotFormat), QStringLiteral("2"));
    QCOMPARE(form->option(machine::Option::Compressor), QStringLiteral("XVID"));
    QCOMPARE(form->option(machine::Option::FrameTime), QStringLiteral("50"));

    // The machine asks through its host.
    const machine::Host& host = main;
    QCOMPARE(host.option(machine::Option::Patch058C), std::string("1"));
    QCOMPARE(host.option(machine::Option::RunBasic), std::string("0"));
    form->runBasicBox->setChecked(true);
    QCOMPARE(host.option(machine::Option::RunBasic), std::string("1"));
}

void SettingsFormTest::windowAndStoreShowTheSameBothWays()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    ui::MainWindow main({}, test::quietWaveOut());
    auto* form = new SettingsForm(main.settingsStore(), &main);
    main.setSettingsForm(form);
    form->show();
    settings::SettingsStore& store = main.settingsStore();
    const machine::Host& host = main;

    // A control changed by the user is in the store at once, unsaved.
    const struct {
        const char* name;
        std::function<void()> edit;
        std::function<bool()> seen;
    } edits[] = {
        {"tick", [&] { QTest::mouseClick(form->runBasicBox, Qt::LeftButton); },
         [&] { return host.option(machine::Option::RunBasic) == "1"; }},
        {"radio", [&] { form->screenshotFormatGroup->button(0)->click(); },
         [&] { return main.screenShotFormat() == 0; }},
        {"typed codec", [&] { QTest::keyClicks(form->codecBox, QStringLiteral("MJPG")); },
         [&] { return store.compressor() == "MJPG"; }},
        {"quality", [&] { form->qualityBox->setCurrentIndex(4); }, [&] { return store.recordingQuality() == 4; }},
        {"on the fly", [&] { form->onTheFlyBox->click(); }, [&] { return !store.compressOnTheFly(); }},
        {"frame time", [&] { form->frameTimeBox->setValue(70); }, [&] { return store.frameTime() == 70; }},
        {"track bar", [&] { form->speedSlider->setValue(12); },
         [&] { return store.interval() == 12 && main.timerInterval() == 12; }},
        {"render mode", [&] { form->renderingBox->setCurrentIndex(2); }, [&] { return store.renderingMode() == 2; }},
    };
    for (const auto& e : edits) {
        e.edit();
        QVERIFY2(e.seen(), e.name);
    }
    QVERIFY(!sandbox.exists());

    // What another window puts in the store shows in the settings window.
    const struct {
        const char* name;
        std::function<void()> change;
        std::function<bool()> shown;
    } changes[] = {
        {"fast start for a program", [&] { main.windowHost().setOptionChecked(machine::Option::QuickRun, true); },
         [&] { return form->quickRunBox->isChecked() && main.quickRun(); }},
        {"a joystick key", [&] { store.setJoystickVirtualKey(6, 32); },
         [&] { return form->joyKey3Button->text() == QStringLiteral("SPACE"); }},
        {"no format", [&] { store.setScreenShotFormat(-1); },
         [&] { return form->screenshotFormatGroup->itemIndex() == -1; }},
        {"interval", [&] { store.setInterval(300); },
         [&] { return form->speedSlider->value() == 100 && main.timerInterval() == 100; }},
        {"codec", [&] { store.setCompressor("DIB "); }, [&] { return form->codecBox->currentText() == "DIB "; }},
    };
    for (const auto& c : changes) {
        c.change();
        QVERIFY2(c.shown(), c.name);
    }
}

void SettingsFormTest::codecListHoldsOnlyNoCompression()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    form.codecBox->setEditText(QStringLiteral("typed"));
    QTest::mouseClick(form.listCodecsButton, Qt::LeftButton);
    QCOMPARE(form.codecBox->count(), 1);
    QCOMPARE(form.codecBox->itemText(0), QStringLiteral("No Compression"));
    QCOMPARE(form.codecBox->currentIndex(), -1);
    QTest::mouseClick(form.codecOptionsButton, Qt::LeftButton); // does nothing yet
    // A joystick key button opens the key-capture dialog; closed with X it
    // changes nothing.
    form.readAllOptions();
    QTimer::singleShot(0, &form, [&form] { form.joystickKeyDialog().cancelKey(); });
    form.chooseJoyUpKey();
    QCOMPARE(form.store().joystickVirtualKeys().joyKeyUp, std::uint16_t(38));
}

void SettingsFormTest::windowMakeUp()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    SettingsForm form(sandbox.store, nullptr);
    QCOMPARE(form.windowTitle(), QStringLiteral("SetUpForm"));
    QCOMPARE(form.size(), QSize(515, 429));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMinMaxButtonsHint));

    const auto inside = [](QWidget* w, QWidget* parent) { return w->parentWidget() == parent; };
    // The design captions are the Russian set's.
    QCOMPARE(form.optionsGroup->title(), QStringLiteral("Настройка"));
    const char* captions[] = {"Запускать на весь экран", "Черно белым ТВ", "Сглаживание изображения",
                              "Повторение цвета рамки", "Язык программы Русский", "Запускать с экраном 256 х 256",
                              "Запускать Basic программу атоматически", "Запускать со звуком",
                              "Быстрый запуск и сброс (без заставки)", "Пропатчить адрес h058С (XRA A)",
                              "Запускать только одну копию программы"};
    const bool design[] = {true, false, false, true, false, false, false, true, false, false, false};
    for (int i = 0; i < 11; ++i) {
        QVERIFY(inside(form.optionBox(i), form.optionsGroup));
        QCOMPARE(form.optionBox(i)->text(), QString::fromUtf8(captions[i]));
        QCOMPARE(form.optionBox(i)->isChecked(), design[i]);
    }
    // Both "С" and "х" are Cyrillic.
    QVERIFY(form.patch058CBox->text().contains(QChar(0x0421)));
    QVERIFY(form.screen256Box->text().contains(QChar(0x0445)));

    QCOMPARE(form.videoGroup->title(), QStringLiteral("Запись видео"));
    for (QWidget* w : std::initializer_list<QWidget*>{form.codecBox, form.listCodecsButton, form.codecOptionsButton, form.qualityBox,
                                                      form.onTheFlyBox, form.frameTimeBox})
        QVERIFY(inside(w, form.videoGroup));
    QCOMPARE(form.codecOptionsButton->text(), QStringLiteral("Параметры сжатия (если доступно...)"));
    QCOMPARE(form.qualityBox->currentText(), QStringLiteral("High"));
    QCOMPARE(form.qualityBox->count(), 5);
    QVERIFY(form.onTheFlyBox->isChecked());
    QCOMPARE(form.frameTimeBox->value(), 50);

    QCOMPARE(form.speedGroup->title(), QStringLiteral("Скорость эмуляции"));
    QVERIFY(inside(form.speedSlider, form.speedGroup));
    QCOMPARE(form.speedSlider->minimum(), 1);
    QCOMPARE(form.speedSlider->maximum(), 100);
    QVERIFY(form.fastLabel->x() < form.intervalLabel->x() && form.intervalLabel->x() < form.slowLabel->x());
    QCOMPARE(form.fastLabel->text(), QStringLiteral("Hi"));
    QCOMPARE(form.slowLabel->text(), QStringLiteral("Low"));

    QCOMPARE(form.renderingGroup->title(), QStringLiteral("Video rendering"));
    QVERIFY(inside(form.renderingBox, form.renderingGroup));
    QCOMPARE(form.renderingBox->itemText(2), QStringLiteral("DirectX3D"));

    QCOMPARE(form.screenshotFormatGroup->title(), QStringLiteral("Скриншот в формате"));
    QCOMPARE(form.screenshotFormatGroup->itemIndex(), 1);
    QCOMPARE(form.screenshotFormatGroup->button(1)->text(), QStringLiteral("jpg"));
    // Three columns: the items side by side.
    QCOMPARE(form.screenshotFormatGroup->button(0)->y(), form.screenshotFormatGroup->button(2)->y());

    QCOMPARE(form.joystickGroup->title(), QStringLiteral("Joystick"));
    QVERIFY(!form.joystickGroup->isEnabled());
    for (int i = 0; i < 8; ++i)
        QVERIFY(inside(form.joyButton(i), form.joystickGroup));
    QVERIFY(inside(form.joystickTargetGroup, form.joystickGroup));
    QCOMPARE(form.joystickTargetGroup->itemIndex(), 0);
    QCOMPARE(form.saveButton->text(), QStringLiteral("Сохранить"));
    QCOMPARE(form.cancelButton->text(), QStringLiteral("Отмена"));

    // Every control lies inside its parent, and no two siblings overlap.
    const auto ours = [](QWidget* w) {
        return !w->isWindow() && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
    };
    const auto check = [&ours](QWidget* parent, auto&& self) -> void {
        const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (!ours(child))
                continue;
            QVERIFY2(parent->rect().contains(child->geometry()), qPrintable(child->objectName()));
            for (QWidget* other : children)
                if (other != child && ours(other))
                    QVERIFY2(!child->geometry().intersects(other->geometry()),
                             qPrintable(child->objectName() + " / " + other->objectName()));
            if (qobject_cast<QGroupBox*>(child))
                self(child, self);
        }
    };
    check(&form, check);
}

QTEST_MAIN(SettingsFormTest)
#include "setup_form_test.moc"
