// Both caption sets, byte for byte, in every window they reach.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <span>

#include "support/EventOrder.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "kit/Captions.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "ui/SettingsForm.hpp"

#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using namespace ostrovik::ui;
using namespace ostrovik::kit;

namespace {

struct Window {
    CaptionWindow set;
    std::size_t count; ///< components the set names, counted by hand
};

const Window kWindows[] = {
    {CaptionWindow::MainWindow, 28},       {CaptionWindow::MemoryDebugger, 5},
    {CaptionWindow::Settings, 21},         {CaptionWindow::PictureConverter, 5},
    {CaptionWindow::FontEditor, 4}, {CaptionWindow::GameLibrary, 3},
    {CaptionWindow::GameDownloader, 6},
};

QString componentName(const Caption& c)
{
    return QString::fromLatin1(c.component.data(), static_cast<qsizetype>(c.component.size()));
}

/// A program folder with a one-game library, so that the game browser opens.
std::string libraryFolder(const QTemporaryDir& dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("GAMES_SOFT/offline/game"));
    return QFile::encodeName(dir.path()).toStdString();
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

/// Every component of @p set shows its caption from the one table.
void checkSet(QWidget& window, CaptionWindow set, Language language)
{
    for (const Caption& c : captionSet(set)) {
        const QString got = shown(window, componentName(c));
        QVERIFY2(got == captionText(c, language),
                 qPrintable(QStringLiteral("%1: \"%2\"").arg(componentName(c), got)));
    }
}

/// The main window with every other window of a caption set, each made by
/// its own command.
struct Rig {
    Rig()
    {
        main.machine().programDir = libraryFolder(folder);
        main.setSettingsForm(new SettingsForm(main.settingsStore(), &main));
        main.openPictureConverter();
        main.openFontEditor();
        main.openGameDownloader();
        main.toggleMemoryDebugger();
        main.openGameLibrary();
        auto& f = main.forms();
        others = {
            {CaptionWindow::Settings, main.settingsForm()},
            {CaptionWindow::MemoryDebugger, f.memoryDebugger.form()},
            {CaptionWindow::PictureConverter, f.pictureConverter.form()},
            {CaptionWindow::FontEditor, f.fontEditor.form()},
            {CaptionWindow::GameLibrary, f.gameLibrary.form()},
            {CaptionWindow::GameDownloader, f.gameDownloader.form()},
        };
    }
    QWidget& window(CaptionWindow set)
    {
        for (auto& [s, w] : others)
            if (s == set)
                return *w;
        return main;
    }
    /// Chooses @p language as the user does, by its menu command.
    void speak(Language language)
    {
        if (language == Language::Russian)
            main.switchToRussian();
        else
            main.switchToEnglish();
    }
    void check(Language language)
    {
        checkSet(main, CaptionWindow::MainWindow, language);
        for (auto& [set, widget] : others)
            checkSet(*widget, set, language);
    }

    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    MainWindow main{QStringList{}, ostrovik::test::quietWaveOut()};
    std::vector<std::pair<CaptionWindow, QWidget*>> others;
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
    void noButtonCutsItsCaption();

private:
    FreshConfig config_;
};

void CaptionsTest::setsHaveSeventyTwoComponentsAsListed()
{
    std::size_t total = 0;
    for (const Window& w : kWindows) {
        QCOMPARE(captionSet(w.set).size(), w.count);
        total += captionSet(w.set).size();
    }
    QCOMPARE(total, std::size_t{72});
    // A few captions as the users know them, written out by hand.
    struct Spot {
        CaptionWindow set;
        const char* component;
        const char* russian;
        const char* english;
    };
    const Spot spots[] = {
        {CaptionWindow::MainWindow, "FileMenu", "Файл", "File"},
        {CaptionWindow::MainWindow, "GrayTv", "ЧБ телевизор", "Balck-and-white TV"},
        {CaptionWindow::MainWindow, "Network", "Сеть...", "Network ..."},
        {CaptionWindow::Settings, "optionsGroup", "Настройка", "Options"},
        {CaptionWindow::Settings, "codecOptionsButton", "Параметры сжатия (если доступно...)", "Compress options (if available...)"},
        {CaptionWindow::Settings, "oneCopyBox", "Запускать только одну копию программы", "Run only one copy of the program"},
        {CaptionWindow::MemoryDebugger, "crackTab", "Взлом !!!", "Crack !!!"},
        {CaptionWindow::GameLibrary, "rankingLabel", "РЕЙТИНГ:", "RANKING:"},
    };
    Rig rig;
    for (const Language language : {Language::Russian, Language::English}) {
        rig.speak(language);
        for (const Spot& s : spots)
            QCOMPARE(shown(rig.window(s.set), QString::fromLatin1(s.component)),
                     QString::fromUtf8(language == Language::Russian ? s.russian : s.english));
    }
}

void CaptionsTest::bothSetsByteExactEverywhere()
{
    Rig rig;
    // A window made before any switch reads the unchosen language as English.
    // (The settings window and a debugger made at start keep their design
    // captions, the Russian set, until the first switch.)
    for (auto& [set, widget] : rig.others)
        if (set != CaptionWindow::Settings && set != CaptionWindow::MemoryDebugger)
            checkSet(*widget, set, Language::English);
    rig.main.switchToRussian();
    rig.check(Language::Russian);
    rig.main.switchToEnglish();
    rig.check(Language::English);
    // Through the menu, as the user does it.
    rig.main.menus().item(ostrovik::ui::menu::Russian)->trigger();
    rig.check(Language::Russian);
}

void CaptionsTest::lettersAndBlanksThatLookAlike()
{
    Rig rig;
    const QByteArray cyrillicHa = "\xD1\x85";
    const QByteArray cyrillicEs = "\xD0\xA1";
    for (Language language : {Language::Russian, Language::English}) {
        rig.speak(language);
        QWidget& setUp = rig.window(CaptionWindow::Settings);
        const QByteArray size = shown(setUp, QStringLiteral("screen256Box")).toUtf8();
        QVERIFY(size.contains("256 " + cyrillicHa + " 256"));
        QVERIFY(!size.contains("256 x 256"));
        QVERIFY(shown(setUp, QStringLiteral("patch058CBox")).toUtf8().contains("h058" + cyrillicEs + " (XRA A)"));
    }
    rig.main.switchToRussian();
    QVERIFY(shown(rig.main, QStringLiteral("DownloadGames")).toUtf8().endsWith(
        "\xD1\x81  http://localhost/games/")); // "с", two blanks, the address
    QVERIFY(shown(rig.window(CaptionWindow::PictureConverter), QStringLiteral("viewBwButton")).toUtf8().contains("\xB5  \xD0\xA7"));
    QVERIFY(shown(rig.window(CaptionWindow::GameDownloader), QStringLiteral("pagesButton")).toUtf8().contains("\x83  \xD0\xB8"));
    // The design text of the network item has a blank before the dots; the set has none.
    QCOMPARE(shown(rig.main, QStringLiteral("Network")), QStringLiteral("Сеть..."));
}

void CaptionsTest::switchMarksAndDropsTheFileFromTheCaption()
{
    ScriptedDialogs dialogs;
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    MainMenu& m = w.menus();
    QVERIFY(!m.checked(ostrovik::ui::menu::Russian));
    QVERIFY(!m.checked(ostrovik::ui::menu::English));
    QCOMPARE(w.windowHost().language(), Language::English);

    dialogs.answers.append(QStringLiteral("/nowhere/game.lvt"));
    w.openFile();
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik:/nowhere/game.lvt"));
    w.switchToRussian();
    QVERIFY(m.checked(ostrovik::ui::menu::Russian));
    QVERIFY(!m.checked(ostrovik::ui::menu::English));
    QCOMPARE(w.windowHost().language(), Language::Russian);
    QCOMPARE(w.windowTitle(), QStringLiteral("Ostrovik"));

    // Choosing the language already in use keeps its mark.
    m.item(ostrovik::ui::menu::Russian)->trigger();
    QVERIFY(m.checked(ostrovik::ui::menu::Russian));
    m.item(ostrovik::ui::menu::English)->trigger();
    QVERIFY(!m.checked(ostrovik::ui::menu::Russian));
    QVERIFY(m.checked(ostrovik::ui::menu::English));
    QCOMPARE(w.windowHost().language(), Language::English);
}

void CaptionsTest::textsOutsideTheSetsStay()
{
    ScriptedDialogs dialogs;
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    const MainMenu& m = w.menus();
    QStringList before;
    const QStringList fixed{"FullScreen", "Screen256x256", "PopupScreen256x256", "Russian", "English", "QJoystick",
                            "KeyboardJoystick", "PictureConverter", "AssemblerWorkbench", "LogWindow", "MemoryDebugger",
                            "StepDebugger", "GameLibrary", "ResetCpu"};
    for (const QString& name : fixed)
        before << m.find(name)->text();
    QStringList hints;
    for (QAction* a : m.toolBar->actions())
        hints << a->toolTip();

    for (int i = 0; i < 2; ++i) {
        w.switchToEnglish();
        w.switchToRussian();
        w.switchToEnglish();
        QStringList after;
        for (const QString& name : fixed)
            after << m.find(name)->text();
        QCOMPARE(after, before);
        QStringList hintsAfter;
        for (QAction* a : m.toolBar->actions())
            hintsAfter << a->toolTip();
        QCOMPARE(hintsAfter, hints);
    }
}

void CaptionsTest::windowCreatedAfterASwitch()
{
    ScriptedDialogs dialogs;
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    w.switchToEnglish();

    QTemporaryDir folder;
    w.machine().programDir = libraryFolder(folder);

    // The picture converter, first opened now, comes up in English ...
    w.openPictureConverter();
    QPointer<QWidget> converter = w.forms().pictureConverter.form();
    QVERIFY(converter);
    checkSet(*converter, CaptionWindow::PictureConverter, Language::English);
    // ... and follows the next switch.
    w.switchToRussian();
    checkSet(*converter, CaptionWindow::PictureConverter, Language::Russian);

    // A window first opened after that switch comes up in Russian.
    w.openGameLibrary();
    QWidget* library = w.forms().gameLibrary.form();
    QVERIFY(library);
    checkSet(*library, CaptionWindow::GameLibrary, Language::Russian);

    // A follower that is gone is skipped.
    delete converter;
    w.switchToEnglish();
    checkSet(*library, CaptionWindow::GameLibrary, Language::English);
}

void CaptionsTest::firstShowSpeaksEnglish()
{
    ScriptedDialogs dialogs;
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    QCOMPARE(w.menus().submenu(ostrovik::ui::menu::FileMenu)->title(), QStringLiteral("Файл"));
    w.show();
    QTRY_VERIFY_WITH_TIMEOUT(w.firstActivateDone(), ostrovik::test::kHangGuardMs);
    QVERIFY(w.menus().checked(ostrovik::ui::menu::English));
    QCOMPARE(w.menus().submenu(ostrovik::ui::menu::FileMenu)->title(), QStringLiteral("File"));
    QCOMPARE(w.menuBar()->actions().first()->text(), QStringLiteral("File"));
    w.close();
}

void CaptionsTest::noButtonCutsItsCaption()
{
    Rig rig;
    for (const Language language : {Language::Russian, Language::English}) {
        rig.speak(language);
        for (auto& [set, window] : rig.others) {
            for (QPushButton* b : window->findChildren<QPushButton*>()) {
                if (!b->isVisibleTo(window) || b->text().isEmpty())
                    continue;
                QVERIFY2(captionFits(*b), qPrintable(QStringLiteral("%1 \"%2\": needs %3, has %4")
                                                          .arg(b->objectName(), b->text())
                                                          .arg(b->fontMetrics().horizontalAdvance(b->text()))
                                                          .arg(b->width())));
            }
        }
    }
}

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
