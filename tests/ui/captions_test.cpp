// Both caption sets, byte for byte, in every window they reach.

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <span>

#include "support/ScriptedWaveOut.hpp"
#include "ui/Captions.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"

#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using namespace ostrovik::ui;

namespace {

struct Expected {
    const char* component;
    const char* russian;
    const char* english;
};

// The sets as the program's users know them; the download item's caption
// is followed by the catalogue's address.
const Expected kMainFormEmu[] = {
    {"MainFormEmu", "Ostrovik", "Ostrovik"},
    {"N1", "Файл", "File"},
    {"N2", "Открыть файл", "Open file"},
    {"sav1", "Сохранить файл (sav)", "Save file (sav)"},
    {"ResetCPU1", "Reset CPU", "Reset CPU"},
    {"N11", "Пауза", "Pause"},
    {"N4", "Выход", "Exit"},
    {"N5", "Настройки", "Setup"},
    {"N7", "ЧБ телевизор", "Balck-and-white TV"},
    {"N33", "Установить размер экрана", "Setup screen size"},
    {"N10", "Клавиатура", "Keyboard"},
    {"N16", "Джойстик", "Joystick"},
    {"N13", "Звук", "Sound"},
    {"N28", "Отображение звука", "Sound draw"},
    {"N15", "Язык программы", "Language"},
    {"Onlinegamesitegames1", "Скачать игры с  ", "Download from "},
    {"N17", "О программе", "About"},
    {"N18", "Дополнительно", "Advanced"},
    {"N19", "Скриншот", "ScreenShot"},
    {"N20", "Запись AVI", "Save AVI"},
    {"N22", "О программе", "About"},
    {"N23", "Сеть...", "Network ..."},
    {"N31", "Вставить из буфера", "Paste from clipboard"},
    {"Znakogenerator1", "Знакогенератор", "FontDesigner"},
    {"N26", "Настройка программы ...", "Options ..."},
    {"N32", "Вставить из буфера", "Paste from clipboard"},
    {"N35", "Игры", "Games"},
    {"N9", "Размытие", "Blur"},
};

const Expected kDebuggerForm[] = {
    {"TabSheet1", "Ассемблер", "Assembler"},
    {"TabSheet9", "Порты и регистры", "Ports and registers"},
    {"TabSheet2", "Поиск-замена в памяти", "Find-replace in memory"},
    {"TabSheet3", "Взлом !!!", "Crack !!!"},
    {"CheckBoxMem", "Память в реальном времени", "Memory RealTime"},
};

const Expected kSetUpForm[] = {
    {"GroupBox1", "Настройка", "Options"},
    {"CheckBox1", "Запускать на весь экран", "Full Screen"},
    {"CheckBox2", "Черно белым ТВ", "Balck-and-white TV"},
    {"CheckBox3", "Сглаживание изображения", "Blur picture"},
    {"CheckBox4", "Повторение цвета рамки", "Color border"},
    {"CheckBox5", "Язык программы Русский", "Language Russian"},
    {"CheckBox7", "Запускать с экраном 256 х 256", "Run screen 256 х 256"},
    {"CheckBox8", "Запускать Basic программу атоматически", "Run Basic programm after load"},
    {"CheckBox9", "Запускать со звуком", "Run with sound"},
    {"CheckBox10", "Быстрый запуск и сброс (без заставки)", "Quick start and reset (without saver)"},
    {"CheckBox11", "Пропатчить адрес h058С (XRA A)", "Change byte in adress h058С (XRA A)"},
    {"GroupBox2", "Запись видео", "Save Video Options"},
    {"Label2", "Качество сжатия", "Compression Quality"},
    {"CheckBox6", "Сжатие на лету", "On-the-Fly comp."},
    {"GroupBox3", "Скорость эмуляции", "Emulation speed"},
    {"RadioGroup1", "Скриншот в формате", "ScreenShot type"},
    {"Label1", "Декодер", "Decoder"},
    {"Button4", "Параметры сжатия (если доступно...)", "Compress options (if available...)"},
    {"Button1", "Сохранить", "Save"},
    {"Button2", "Отмена", "Cancel"},
    {"CheckBox12", "Запускать только одну копию программы", "Run only one copy of the program"},
};

const Expected kPictureToLVTForm[] = {
    {"Button1", "Загрузить картинку (BMP,JPG,PNG)", "Load picture (BMP,JPG,PNG)"},
    {"Button2", "Сохранить в LVT (Черно-белый)", "Save to LVT (BW)"},
    {"Button3", "Посмотреть в эмуляторе  ЧБ", "View in emul (BW)"},
    {"Button4", "Сохранить в LVT (Цветной)", "Save to LVT (Color)"},
    {"Button5", "Посмотреть в эмуляторе (Цветной)", "View in emul (color)"},
};

const Expected kZnakogeneratorForm[] = {
    {"Button1", "Загрузить шрифт", "Load font"},
    {"Button2", "Сохранить шрифт", "Save font"},
    {"Button3", "Выход", "Exit"},
    {"Button4", "Изменить", "Change"},
};

const Expected kGamesForm[] = {
    {"Button1", "Запустить", "Run"},
    {"Button2", "Выход", "Exit"},
    {"Label1", "РЕЙТИНГ:", "RANKING:"},
};

const Expected kOnlineGamesForm[] = {
    {"Label1", "Сайт с играми", "Site URL"},
    {"Label2", "JSON скрипт", "JSON script"},
    {"CheckBox1", "Скачать только те которых нет", "Load only those that are not in the folder"},
    {"Button1", "Подключение к сайту  и скачка (способ 1)", "Connect to a site and download (method 1)"},
    {"Button2", "Быстрая скачка если быстрый интернет (способ 2)", "Fast download if a fast internet (method 2)"},
    {"Button3", "JSON (Способ 3)", "JSON (method 3)"},
};

struct Window {
    CaptionWindow set;
    std::span<const Expected> captions;
};

const Window kWindows[] = {
    {CaptionWindow::MainFormEmu, kMainFormEmu},
    {CaptionWindow::DebuggerForm, kDebuggerForm},
    {CaptionWindow::SetUpForm, kSetUpForm},
    {CaptionWindow::PictureToLVTForm, kPictureToLVTForm},
    {CaptionWindow::ZnakogeneratorForm, kZnakogeneratorForm},
    {CaptionWindow::GamesForm, kGamesForm},
    {CaptionWindow::OnlineGamesForm, kOnlineGamesForm},
};

const QByteArray kAddress = "http://localhost/games/";

QByteArray want(const Expected& e, Language language)
{
    QByteArray text = language == Language::Russian ? e.russian : e.english;
    if (QByteArray(e.component) == "Onlinegamesitegames1")
        text += kAddress;
    return text;
}

/// A stand-in for one of the other windows, with a component of the kind
/// its name says for each caption of its set.
std::unique_ptr<QWidget> makeWindow(std::span<const Expected> captions)
{
    auto window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    QTabWidget* tabs = nullptr;
    for (const Expected& e : captions) {
        const QString name = QString::fromLatin1(e.component);
        QWidget* w = nullptr;
        if (name.startsWith(QStringLiteral("TabSheet"))) {
            if (!tabs) {
                tabs = new QTabWidget(window.get());
                layout->addWidget(tabs);
            }
            w = new QWidget;
            tabs->addTab(w, QStringLiteral("design"));
        } else if (name.startsWith(QStringLiteral("CheckBox"))) {
            w = new QCheckBox(QStringLiteral("design"));
        } else if (name.startsWith(QStringLiteral("GroupBox")) || name.startsWith(QStringLiteral("RadioGroup"))) {
            w = new QGroupBox(QStringLiteral("design"));
        } else if (name.startsWith(QStringLiteral("Label"))) {
            w = new QLabel(QStringLiteral("design"));
        } else {
            w = new QPushButton(QStringLiteral("design"));
        }
        w->setObjectName(name);
        if (!w->parentWidget())
            layout->addWidget(w);
    }
    return window;
}

/// What the user reads on the component @p name of @p window.
QString shown(QWidget& window, const QString& name)
{
    if (window.objectName() == name)
        return window.windowTitle();
    if (auto* a = window.findChild<QAction*>(name))
        return a->text();
    QWidget* w = window.findChild<QWidget*>(name);
    if (!w)
        return QStringLiteral("<missing>");
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    QWidget* stack = w->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs ? tabs->tabText(tabs->indexOf(w)) : QStringLiteral("<unknown>");
}

void checkSet(QWidget& window, std::span<const Expected> captions, Language language)
{
    for (const Expected& e : captions) {
        const QByteArray got = shown(window, QString::fromLatin1(e.component)).toUtf8();
        QVERIFY2(got == want(e, language), qPrintable(QStringLiteral("%1: \"%2\"")
                                                          .arg(QString::fromLatin1(e.component), QString::fromUtf8(got))));
    }
}

struct Rig {
    Rig()
    {
        for (const Window& w : kWindows)
            if (w.set != CaptionWindow::MainFormEmu) {
                others.push_back({w, makeWindow(w.captions)});
                adoptCaptions(main, *others.back().second, w.set);
            }
    }
    void check(Language language)
    {
        checkSet(main, kMainFormEmu, language);
        for (auto& [w, widget] : others)
            checkSet(*widget, w.captions, language);
    }

    ScriptedDialogs dialogs;
    TMainFormEmu main{QStringList{}, ostrovik::test::quietWaveOut()};
    std::vector<std::pair<Window, std::unique_ptr<QWidget>>> others;
};

} // namespace

class CaptionsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { config_.reset(); }
    void setsHaveSeventyTwoComponentsAsListed();
    void bothSetsByteExactEverywhere();
    void lettersAndBlanksThatLookAlike();
    void switchMarksAndDropsTheFileFromTheCaption();
    void textsOutsideTheSetsStay();
    void windowCreatedAfterASwitch();
    void firstShowSpeaksEnglish();

private:
    FreshConfig config_;
};

void CaptionsTest::setsHaveSeventyTwoComponentsAsListed()
{
    std::size_t total = 0;
    for (const Window& w : kWindows) {
        const auto set = captionSet(w.set);
        QCOMPARE(set.size(), w.captions.size());
        for (std::size_t i = 0; i < set.size(); ++i)
            QCOMPARE(QByteArray(set[i].component.data(), static_cast<qsizetype>(set[i].component.size())),
                     QByteArray(w.captions[i].component));
        total += set.size();
    }
    QCOMPARE(total, std::size_t{72});
}

void CaptionsTest::bothSetsByteExactEverywhere()
{
    Rig rig;
    // A window made before any switch reads the unchosen language as English.
    for (auto& [w, widget] : rig.others)
        checkSet(*widget, w.captions, Language::English);
    rig.main.Russian1Click();
    rig.check(Language::Russian);
    rig.main.English1Click();
    rig.check(Language::English);
    // Through the menu, as the user does it.
    rig.main.menus().item(ostrovik::ui::menu::Russian1)->trigger();
    rig.check(Language::Russian);
}

void CaptionsTest::lettersAndBlanksThatLookAlike()
{
    Rig rig;
    const QByteArray cyrillicHa = "\xD1\x85";
    const QByteArray cyrillicEs = "\xD0\xA1";
    for (Language language : {Language::Russian, Language::English}) {
        if (language == Language::Russian)
            rig.main.Russian1Click();
        else
            rig.main.English1Click();
        QWidget& setUp = *rig.others[1].second;
        const QByteArray size = shown(setUp, QStringLiteral("CheckBox7")).toUtf8();
        QVERIFY(size.contains("256 " + cyrillicHa + " 256"));
        QVERIFY(!size.contains("256 x 256"));
        QVERIFY(shown(setUp, QStringLiteral("CheckBox11")).toUtf8().contains("h058" + cyrillicEs + " (XRA A)"));
    }
    rig.main.Russian1Click();
    QVERIFY(shown(rig.main, QStringLiteral("Onlinegamesitegames1")).toUtf8().endsWith(
        "\xD1\x81  http://localhost/games/")); // "с", two blanks, the address
    QVERIFY(shown(*rig.others[2].second, QStringLiteral("Button3")).toUtf8().contains("\xB5  \xD0\xA7"));
    QVERIFY(shown(*rig.others[5].second, QStringLiteral("Button1")).toUtf8().contains("\x83  \xD0\xB8"));
    // The design text of the network item has a blank before the dots; the set has none.
    QCOMPARE(shown(rig.main, QStringLiteral("N23")), QStringLiteral("Сеть..."));
}

void CaptionsTest::switchMarksAndDropsTheFileFromTheCaption()
{
    ScriptedDialogs dialogs;
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    TMainMenu& m = w.menus();
    QVERIFY(!m.checked(ostrovik::ui::menu::Russian1));
    QVERIFY(!m.checked(ostrovik::ui::menu::English1));
    QCOMPARE(currentLanguage(w), Language::English);

    dialogs.answers.append(QStringLiteral("/nowhere/game.lvt"));
    w.N2Click();
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik:/nowhere/game.lvt"));
    w.Russian1Click();
    QVERIFY(m.checked(ostrovik::ui::menu::Russian1));
    QVERIFY(!m.checked(ostrovik::ui::menu::English1));
    QCOMPARE(currentLanguage(w), Language::Russian);
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik"));

    // Choosing the language already in use keeps its mark.
    m.item(ostrovik::ui::menu::Russian1)->trigger();
    QVERIFY(m.checked(ostrovik::ui::menu::Russian1));
    m.item(ostrovik::ui::menu::English1)->trigger();
    QVERIFY(!m.checked(ostrovik::ui::menu::Russian1));
    QVERIFY(m.checked(ostrovik::ui::menu::English1));
    QCOMPARE(currentLanguage(w), Language::English);
}

void CaptionsTest::textsOutsideTheSetsStay()
{
    ScriptedDialogs dialogs;
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    const TMainMenu& m = w.menus();
    QStringList before;
    const QStringList fixed{"FullScreen1", "N256x2561", "N256x2562", "Russian1", "English1", "Qjoystick1",
                            "Keyboardjoystick1", "PictureToLVT1", "Assemblereditor1", "LogTextOut1", "N6",
                            "Debuggerstepbystep1", "OffLine1", "ResetCPU1"};
    for (const QString& name : fixed)
        before << m.find(name)->text();
    QStringList hints;
    for (QAction* a : m.ToolBar1->actions())
        hints << a->toolTip();

    for (int i = 0; i < 2; ++i) {
        w.English1Click();
        w.Russian1Click();
        w.English1Click();
        QStringList after;
        for (const QString& name : fixed)
            after << m.find(name)->text();
        QCOMPARE(after, before);
        QStringList hintsAfter;
        for (QAction* a : m.ToolBar1->actions())
            hintsAfter << a->toolTip();
        QCOMPARE(hintsAfter, hints);
    }
}

void CaptionsTest::windowCreatedAfterASwitch()
{
    ScriptedDialogs dialogs;
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    w.English1Click();

    // The picture converter, first opened now, comes up in English ...
    auto converter = makeWindow(kPictureToLVTForm);
    adoptCaptions(w, *converter, CaptionWindow::PictureToLVTForm);
    checkSet(*converter, kPictureToLVTForm, Language::English);
    // ... and follows the next switch.
    w.Russian1Click();
    checkSet(*converter, kPictureToLVTForm, Language::Russian);

    // A window first opened after that switch comes up in Russian.
    auto library = makeWindow(kGamesForm);
    adoptCaptions(w, *library, CaptionWindow::GamesForm);
    checkSet(*library, kGamesForm, Language::Russian);

    // A follower that is gone is skipped.
    converter.reset();
    w.English1Click();
    checkSet(*library, kGamesForm, Language::English);
}

void CaptionsTest::firstShowSpeaksEnglish()
{
    ScriptedDialogs dialogs;
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    QCOMPARE(w.menus().submenu(ostrovik::ui::menu::N1)->title(), QStringLiteral("Файл"));
    w.show();
    QTRY_VERIFY(w.firstActivateDone());
    QVERIFY(w.menus().checked(ostrovik::ui::menu::English1));
    QCOMPARE(w.menus().submenu(ostrovik::ui::menu::N1)->title(), QStringLiteral("File"));
    QCOMPARE(w.menuBar()->actions().first()->text(), QStringLiteral("File"));
    w.close();
}

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
