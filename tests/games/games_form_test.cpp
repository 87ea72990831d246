// The game library browser driven as a person would, on a library written here.
#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <fstream>
#include <functional>

#include <sys/stat.h>

#include "StoringProgram.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/GameLibraryForm.hpp"
#include "games/qt/GameDownloaderForm.hpp"
#include "platform/qt/FileNames.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using games::GameLibraryForm;
using games::GameDownloaderForm;

namespace {

/// A game folder of the library, with the files it is given.
struct GameFiles {
    QString name;
    QColor screen1, screen2; ///< invalid: no such file
    QByteArray text;         ///< Windows-1251; empty: no <game>.txt
    QByteArray mark;         ///< first line of mark.txt; null: no mark.txt
};

QString libraryRoot(test::MainWindowRig& rig)
{
    return rig.path(QStringLiteral("GAMES_SOFT/offline/"));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void addGame(test::MainWindowRig& rig, const GameFiles& g)
{
    const QString dir = rig.makeFolder(QStringLiteral("GAMES_SOFT/offline/") + g.name) + QLatin1Char('/');
    for (auto [colour, file] : {std::pair{g.screen1, "screen1.png"}, std::pair{g.screen2, "screen2.png"}}) {
        if (!colour.isValid())
            continue;
        QImage shot(256, 256, QImage::Format_RGB32);
        shot.fill(colour);
        QVERIFY(shot.save(dir + QLatin1String(file), "PNG"));
    }
    if (!g.text.isEmpty())
        writeBytes(dir + g.name + QStringLiteral(".txt"), g.text);
    if (!g.mark.isNull())
        writeBytes(dir + QStringLiteral("mark.txt"), g.mark + "\r\n");
}

GameLibraryForm* browser(test::MainWindowRig& rig)
{
    return qobject_cast<GameLibraryForm*>(rig.window->forms().gameLibrary.form());
}

QColor pictureColour(const QLabel* label)
{
    return label->pixmap().toImage().pixelColor(128, 128);
}

/// A picture's colour by name, or "none" when it shows no picture.
QString shotShown(const QLabel* label)
{
    return label->pixmap().isNull() ? QStringLiteral("none") : pictureColour(label).name();
}

/// Opens the browser by the menu command and lets the events it queued run
/// (the error box of a first game that cannot be read).
GameLibraryForm* openBrowser(test::MainWindowRig& rig)
{
    rig.window->openGameLibrary();
    QCoreApplication::processEvents();
    return browser(rig);
}

bool gold(const QImage& area, int x, int y)
{
    const QColor c = area.pixelColor(x, y);
    return c.red() > 200 && c.green() > 120 && c.blue() < 120;
}

/// The stars drawn on the rating area, read back from its pixels: full
/// stars from the left, then whether a half star follows.
QString starsShown(const QLabel* image5)
{
    const QImage area = image5->pixmap().toImage();
    int full = 0;
    while (full < 5 && gold(area, 31 * full + 15, 16) && gold(area, 31 * full + 22, 16))
        ++full;
    const int x = 31 * full;
    const bool half = full < 5 && gold(area, x + 10, 16) && !gold(area, x + 24, 16);
    for (int after = x + (half ? 17 : 0); after < area.width(); ++after)
        for (int y = 0; y < area.height(); ++y)
            if (area.pixelColor(after, y) != Qt::black)
                return QStringLiteral("stray ink at %1,%2").arg(after).arg(y);
    return QString::number(full) + (half ? QStringLiteral("+half") : QString());
}

/// What the browser shows: both pictures' colours, the stars, the text.
QString gameShown(const GameLibraryForm* form)
{
    return shotShown(form->firstShotView) + ' ' + shotShown(form->secondShotView) + ' ' +
           starsShown(form->starsView) + ' ' + form->descriptionView->toPlainText();
}

void clickGame(GameLibraryForm* form, const QString& name)
{
    const QList<QListWidgetItem*> items = form->gameList->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    const QRect place = form->gameList->visualItemRect(items.front());
    QTest::mouseClick(form->gameList->viewport(), Qt::LeftButton, {}, place.center());
    QCOMPARE(form->gameList->currentItem(), items.front());
}

} // namespace

class GamesFormTest : public QObject {
    Q_OBJECT
private slots:
    void offLineCommandExplainsAnEmptyLibrary();
    void ratingsDrawStars();
    void missingFilesKeepWhatWasShown();
    void aBadRatingEndsTheClickWithWhatWasRead();
    void runningAGame();
    void aFolderNameThatIsNotUtf8();
    void refreshAfterAPickSelectsNothing();
    void hostileFilesInAGameFolder();
    void theFirstGamesErrorComesOnceTheWindowIsShown();
    void captionsOfBothWindows();
    void aCutDescriptionSaysSoInTheCaptionLanguage_data();
    void aCutDescriptionSaysSoInTheCaptionLanguage();
};

void GamesFormTest::offLineCommandExplainsAnEmptyLibrary()
{
    test::MainWindowRig rig;
    const QString root = libraryRoot(rig);
    rig.window->openGameLibrary();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0],
             QStringLiteral("Нет каталога ") + root +
                 QStringLiteral("\n\rсоздаю каталог , пройдите в меню \"Скачать игры с  http://localhost/games/\" "
                                "\n\rдля закачки игр !!!"));
    QVERIFY(QDir(root).exists());
    QVERIFY(!browser(rig));

    writeBytes(root + QStringLiteral("plain.txt"), "x");
    rig.window->openGameLibrary();
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(rig.dialogs.messages[1].startsWith(QStringLiteral("Нет игр ") + root + QStringLiteral("\n\rпройдите")));
    QVERIFY(!browser(rig));

    // A hidden folder is a game.
    addGame(rig, {QStringLiteral(".hidden"), {}, {}, {}, {}});
    rig.window->openGameLibrary();
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(browser(rig) && browser(rig)->isVisible());
    QCOMPARE(browser(rig)->gameList->count(), 1);
    QCOMPARE(browser(rig)->windowTitle(), QStringLiteral("GamesForm"));
    QCOMPARE(browser(rig)->size(), QSize(733, 508));
}

void GamesFormTest::ratingsDrawStars()
{
    test::MainWindowRig rig;
    struct Case {
        const char* mark;
        const char* stars;
    };
    const Case cases[] = {{"1", "0+half"}, {"5", "2+half"}, {"9", "4+half"}, {"10", "5"},  {" 7 ", "3+half"},
                          {"1 0", "5"},    {"12", "5"},     {"266", "5"},    {"-1", "5"},  {"0", "0"},
                          {"", "0"},       {"4", "2"}};
    int n = 0;
    for (const Case& c : cases)
        addGame(rig, {QStringLiteral("g%1").arg(n++), {}, {}, {}, QByteArray(c.mark)});
    addGame(rig, {QStringLiteral("nomark"), {}, {}, {}, {}});
    addGame(rig, {QStringLiteral("bad"), {}, {}, {}, QByteArray("seven")});
    GameLibraryForm* form = openBrowser(rig);
    QVERIFY(form);
    // The first game of the directory search was shown at once; it may be the bad one.
    rig.dialogs.errors.clear();
    n = 0;
    for (const Case& c : cases) {
        clickGame(form, QStringLiteral("g%1").arg(n++));
        QCOMPARE(starsShown(form->starsView), QString::fromLatin1(c.stars));
        // Each rating starts from black, also after five stars.
        clickGame(form, QStringLiteral("g3"));
        QCOMPARE(starsShown(form->starsView), QStringLiteral("5"));
    }
    clickGame(form, QStringLiteral("nomark"));
    QCOMPARE(starsShown(form->starsView), QStringLiteral("0"));
    QVERIFY(rig.dialogs.errors.isEmpty());
    clickGame(form, QStringLiteral("g3"));
    clickGame(form, QStringLiteral("bad"));
    QCOMPARE(rig.dialogs.errors, QStringList{QStringLiteral("'seven' is not a valid integer value")});
    // The click ends at the box: the stars shown before stay.
    QCOMPARE(starsShown(form->starsView), QStringLiteral("5"));
}

void GamesFormTest::missingFilesKeepWhatWasShown()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("full"), Qt::red, Qt::green, "\xCA\xF1\xEE\xED\xE8\xEA\xF1\r\nAbout it", "6"});
    addGame(rig, {QStringLiteral("bare"), Qt::blue, {}, {}, {}});
    addGame(rig, {QStringLiteral("broken"), {}, {}, {}, {}});
    writeBytes(libraryRoot(rig) + QStringLiteral("broken/screen1.png"), "not a png");
    GameLibraryForm* form = openBrowser(rig);
    QVERIFY(form);
    rig.dialogs.errors.clear();
    clickGame(form, QStringLiteral("full"));
    QCOMPARE(gameShown(form), QStringLiteral("#ff0000 #00ff00 3 Ксоникс\nAbout it"));
    QCOMPARE(form->descriptionView->alignment(), Qt::AlignHCenter);
    clickGame(form, QStringLiteral("bare"));
    QCOMPARE(gameShown(form), QStringLiteral("#0000ff #00ff00 0 Ксоникс\nAbout it"));
    clickGame(form, QStringLiteral("broken"));
    QCOMPARE(rig.dialogs.errors.size(), 1);
    QVERIFY(rig.dialogs.errors[0].contains(QStringLiteral("broken/screen1.png")));
    // A game that cannot be shown shows nothing of the one before.
    QCOMPARE(gameShown(form), QStringLiteral("none none 0 "));
    clickGame(form, QStringLiteral("full"));
    QCOMPARE(gameShown(form), QStringLiteral("#ff0000 #00ff00 3 Ксоникс\nAbout it"));
}

void GamesFormTest::aBadRatingEndsTheClickWithWhatWasRead()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("good"), Qt::red, Qt::green, "Good", "6"});
    addGame(rig, {QStringLiteral("bare"), {}, {}, {}, {}});
    struct Case {
        GameFiles game;
        const char* error;
        const char* shown; ///< both pictures, the stars and the text when the box comes, and after it
    };
    const Case cases[] = {
        {{QStringLiteral("letters"), Qt::blue, Qt::yellow, "Letters", "abc"}, "'abc' is not a valid integer value",
         "#0000ff #ffff00 3 Letters"},
        // Nothing of its own but the rating: the files it lacks keep what was shown.
        {{QStringLiteral("onlyMark"), {}, {}, {}, "1x"}, "'1x' is not a valid integer value",
         "#ff0000 #00ff00 3 Good"},
        {{QStringLiteral("noPictures"), {}, {}, "No pictures", " - "}, "'-' is not a valid integer value",
         "#ff0000 #00ff00 3 No pictures"},
    };
    for (const Case& c : cases)
        addGame(rig, c.game);
    GameLibraryForm* form = openBrowser(rig);
    QVERIFY(form);
    QString atTheBox;
    rig.dialogs.onBox = [&](QWidget*) { atTheBox = gameShown(form); };
    for (const Case& c : cases) {
        clickGame(form, QStringLiteral("good"));
        rig.dialogs.errors.clear();
        atTheBox.clear();
        clickGame(form, c.game.name);
        QCOMPARE(rig.dialogs.errors, QStringList{QString::fromUtf8(c.error)});
        QCOMPARE(atTheBox, QString::fromUtf8(c.shown));
        QCOMPARE(gameShown(form), QString::fromUtf8(c.shown));
    }
    // A game without a rating after it clears the stars as before.
    clickGame(form, QStringLiteral("bare"));
    QCOMPARE(starsShown(form->starsView), QStringLiteral("0"));
}

void GamesFormTest::runningAGame()
{
    test::MainWindowRig rig;
    QVERIFY(rig.powerOn());
    addGame(rig, {QStringLiteral("both"), {}, {}, {}, {}});
    addGame(rig, {QStringLiteral("none"), {}, {}, {}, {}});
    const QString root = libraryRoot(rig);
    writeBytes(root + QStringLiteral("both/both.lvt"), QByteArray::fromStdString(storingProgram()));
    writeBytes(root + QStringLiteral("both/both.sav"), "not a snapshot");
    rig.window->settingsForm()->quickRunBox->setChecked(false);
    rig.window->openGameLibrary();
    GameLibraryForm* form = browser(rig);
    QVERIFY(form);

    clickGame(form, QStringLiteral("none"));
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Нет файла для запуска none/none.lvt или sav")});
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ostrovik"));

    clickGame(form, QStringLiteral("both"));
    const QList<QListWidgetItem*> both = form->gameList->findItems(QStringLiteral("both"), Qt::MatchExactly);
    QTest::mouseDClick(form->gameList->viewport(), Qt::LeftButton, {},
                       form->gameList->visualItemRect(both.front()).center());
    const QString path = root + QStringLiteral("both/both.lvt");
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ostrovik:") + path);
    QCOMPARE(rig.window->currentFileName(), path);
    QCOMPARE(rig.window->recentFilesMenu().files()[0], path);
    QVERIFY(!rig.window->settingsForm()->quickRunBox->isChecked());
    QCOMPARE(rig.m().paused, std::uint8_t{0});
    QVERIFY(form->isVisible());
    // The game is seen: the main window comes in front, and the browser is
    // not a tool window, which the window system would keep above it.
    QCOMPARE(QApplication::activeWindow(), rig.window.get());
    QCOMPARE(form->windowType(), Qt::Window);
    rig.runTicks(5);
    QCOMPARE(int(rig.m().ram[0x5000]), 0x5A);
    QCOMPARE(rig.m().regPC, 0x4005);
}

void GamesFormTest::aFolderNameThatIsNotUtf8()
{
    test::MainWindowRig rig;
    QVERIFY(rig.powerOn());
    // "Igra" and byte e9, as a Latin-1 system names a folder.
    const QByteArray name("Igra\xE9");
    const QByteArray dir = QFile::encodeName(libraryRoot(rig)) + name + '/';
    QVERIFY(QDir().mkpath(libraryRoot(rig)));
    QCOMPARE(::mkdir(dir.constData(), 0700), 0);
    // Qt's own file names cannot spell such a name: the files go in by their bytes.
    const auto put = [](const QByteArray& path, const QByteArray& bytes) {
        std::ofstream(path.constData(), std::ios::binary).write(bytes.constData(), bytes.size());
    };
    QImage shot(256, 256, QImage::Format_RGB32);
    shot.fill(Qt::magenta);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(shot.save(&buffer, "PNG"));
    put(dir + "screen1.png", png);
    put(dir + name + ".lvt", QByteArray::fromStdString(storingProgram()));
    rig.window->openGameLibrary();
    GameLibraryForm* form = browser(rig);
    QVERIFY(form);
    clickGame(form, platform::fileNameText(name));
    QCOMPARE(pictureColour(form->firstShotView), QColor(Qt::magenta));
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    QVERIFY(rig.dialogs.messages.isEmpty() && rig.dialogs.errors.isEmpty());
    QCOMPARE(platform::fileNameBytes(rig.window->currentFileName()), dir + name + ".lvt");
    rig.runTicks(5);
    QCOMPARE(int(rig.m().ram[0x5000]), 0x5A);
}

void GamesFormTest::refreshAfterAPickSelectsNothing()
{
    test::MainWindowRig rig;
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    const auto add = [&rig, &colours](int n) {
        const QString name = QStringLiteral("game%1").arg(n);
        addGame(rig, {name, colours[n], {}, "About " + QByteArray::number(n), QByteArray::number(2 * n + 2)});
        writeBytes(libraryRoot(rig) + name + QLatin1Char('/') + name + QStringLiteral(".lvt"),
                   QByteArray::fromStdString(storingProgram()));
    };
    for (int n = 0; n < 3; ++n)
        add(n);
    rig.window->openGameLibrary();
    GameLibraryForm* form = browser(rig);
    QVERIFY(form);
    // The first game is shown and selected at once.
    QCOMPARE(form->gameList->selectedItems(), QList{form->gameList->item(0)});
    const QString third = form->gameList->item(2)->text();
    clickGame(form, third);
    const auto shown = [form] {
        return pictureColour(form->firstShotView).name() + ' ' + starsShown(form->starsView) + ' ' + form->descriptionView->toPlainText();
    };
    const QString thirdShown = shown();
    QCOMPARE(thirdShown.section(' ', 2), QStringLiteral("About ") + third.back());
    // Closed by its close box, the window keeps the list as its focus widget.
    form->close();
    QVERIFY(!form->isVisible());

    add(3);
    rig.window->openGameLibrary();
    QCOMPARE(browser(rig), form);
    QVERIFY(form->isVisible());
    // Activated again, the window gives the list the focus, which makes a row current.
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(QApplication::focusWidget(), form->gameList);
    QCOMPARE(form->gameList->count(), 4);
    QVERIFY(form->gameList->selectedItems().isEmpty());
    QCOMPARE(shown(), thirdShown);
    // With nothing selected the run button does nothing at all.
    const QString caption = rig.window->windowTitle();
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    QCOMPARE(rig.window->windowTitle(), caption);
    QVERIFY(rig.dialogs.messages.isEmpty() && rig.dialogs.errors.isEmpty());
    // A pick after the refresh is shown as before.
    clickGame(form, QStringLiteral("game3"));
    QCOMPARE(shown(), QStringLiteral("#ffff00 4 About 3"));
}

void GamesFormTest::hostileFilesInAGameFolder()
{
    test::MainWindowRig rig;
    const QString root = libraryRoot(rig);
    const auto fifo = [](const QString& path) { QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); };
    const auto zero = [](const QString& path) { QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path)); };
    const auto folder = [](const QString& path) { QVERIFY(QDir().mkpath(path)); };
    // A sparse file: @p start, then zero bytes up to @p size.
    const auto huge = [](const QString& path, const QByteArray& start, qint64 size) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(start);
        QVERIFY(f.resize(size));
    };
    struct Case {
        const char* file; ///< in the game's folder; "txt" is the description
        std::function<void(const QString&)> plant;
        const char* error; ///< the end of the error shown; empty: none
        const char* shown; ///< picture, stars and the description's first and last lines
    };
    const Case cases[] = {
        {"mark.txt", folder, "", "#ff0000 0 Good | Good"},
        {"txt", folder, "", "#ff0000 0 Good | Good"},
        {"screen1.png", folder, "", "#ff0000 0 Good | Good"},
        {"mark.txt", fifo, "mark.txt: not a regular file", "none 0  | "},
        {"txt", fifo, ".txt: not a regular file", "none 0  | "},
        {"screen1.png", fifo, "screen1.png: not a regular file", "none 0  | "},
        {"txt", zero, ".txt: not a regular file", "none 0  | "},
        {"mark.txt", zero, "mark.txt: not a regular file", "none 0  | "},
        {"screen1.png", zero, "screen1.png: not a regular file", "none 0  | "},
        {"mark.txt", [&](const QString& p) { huge(p, QByteArray(100, '1'), 200'000'000); },
         "'1111111111111111111111111111111111111111…' is not a valid integer value", "#ff0000 3 Good | Good"},
        {"txt", [&](const QString& p) { huge(p, "Title\r\n" + QByteArray(100, 'x'), 150'000'000); }, "",
         "#ff0000 0 Title | [The description is longer than 8192 bytes: only its beginning is shown]"},
        {"screen1.png", [&](const QString& p) { huge(p, "\x89PNG", 20'000'000); },
         "screen1.png: the file holds 20000000 bytes, more than 8388608", "none 0  | "},
    };
    addGame(rig, {QStringLiteral("good"), Qt::red, {}, "Good", "6"});
    for (int n = 0; n < int(std::size(cases)); ++n) {
        const QString game = QStringLiteral("g%1").arg(n);
        addGame(rig, {game, {}, {}, {}, {}});
        const QString file = QString::fromLatin1(cases[n].file);
        cases[n].plant(root + game + QLatin1Char('/') + (file == QLatin1String("txt") ? game + ".txt" : file));
    }
    GameLibraryForm* form = openBrowser(rig);
    QVERIFY(form);
    const auto shown = [form] {
        const QString text = form->descriptionView->toPlainText();
        return shotShown(form->firstShotView) + ' ' + starsShown(form->starsView) + ' ' + text.section('\n', 0, 0)
               + " | " + text.section('\n', -1);
    };
    for (int n = 0; n < int(std::size(cases)); ++n) {
        const Case& c = cases[n];
        clickGame(form, QStringLiteral("good"));
        rig.dialogs.errors.clear();
        clickGame(form, QStringLiteral("g%1").arg(n));
        QCOMPARE(rig.dialogs.errors.size(), *c.error ? 1 : 0);
        if (*c.error) {
            QVERIFY2(rig.dialogs.errors[0].endsWith(QString::fromUtf8(c.error)), qPrintable(rig.dialogs.errors[0]));
            QVERIFY(rig.dialogs.errors[0].size() < 300);
        }
        QCOMPARE(QString::number(n) + ' ' + shown(), QString::number(n) + ' ' + QString::fromUtf8(c.shown));
        QVERIFY(form->descriptionView->toPlainText().size() < qsizetype(games::kDescriptionBytes + 100));
    }
}

void GamesFormTest::theFirstGamesErrorComesOnceTheWindowIsShown()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("bad"), Qt::red, Qt::green, "Bad", "seven"});
    bool windowShown = false;
    rig.dialogs.onBox = [&](QWidget* parent) { windowShown = parent && parent->isVisible(); };
    rig.window->openGameLibrary();
    QTRY_COMPARE(rig.dialogs.errors, QStringList{QStringLiteral("'seven' is not a valid integer value")});
    QVERIFY(windowShown);
    GameLibraryForm* form = browser(rig);
    QVERIFY(form);
    // What was read before the rating is shown; no stars.
    QCOMPARE(shotShown(form->firstShotView), QStringLiteral("#ff0000"));
    QCOMPARE(form->descriptionView->toPlainText(), QStringLiteral("Bad"));
    QCOMPARE(starsShown(form->starsView), QStringLiteral("0"));
}

void GamesFormTest::captionsOfBothWindows()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("g"), {}, {}, {}, {}});
    rig.window->switchToEnglish();
    rig.window->openGameLibrary();
    rig.window->openGameDownloader();
    GameLibraryForm* games = browser(rig);
    auto* online = qobject_cast<GameDownloaderForm*>(rig.window->forms().gameDownloader.form());
    QVERIFY(games && online && online->isVisible());
    QCOMPARE(games->runButton->text(), QStringLiteral("Run"));
    QCOMPARE(games->rankingLabel->text(), QStringLiteral("RANKING:"));
    QCOMPARE(online->pagesButton->text(), QStringLiteral("Connect to a site and download (method 1)"));
    QCOMPARE(online->skipExistingBox->text(), QStringLiteral("Load only those that are not in the folder"));
    rig.window->switchToRussian();
    QCOMPARE(games->exitButton->text(), QStringLiteral("Выход"));
    QCOMPARE(games->rankingLabel->text(), QStringLiteral("РЕЙТИНГ:"));
    QCOMPARE(online->siteLabel->text(), QStringLiteral("Сайт с играми"));
    QCOMPARE(online->pagesButton->text(), QStringLiteral("Подключение к сайту  и скачка (способ 1)"));
    QCOMPARE(online->jsonButton->text(), QStringLiteral("JSON (Способ 3)"));
    QCOMPARE(online->windowTitle(), QStringLiteral("OnlineGamesForm"));
    QCOMPARE(games->windowTitle(), QStringLiteral("GamesForm"));
    // The design state of the downloader.
    QCOMPARE(online->webEdit->text(), QStringLiteral("http://localhost/games/"));
    QCOMPARE(online->jsonEdit->text(), QStringLiteral("http://localhost/games/list.php"));
    QVERIFY(online->skipExistingBox->isChecked());
    QCOMPARE(online->gauge.progress(), 0);
    QCOMPARE(online->logView->toPlainText(), QString());
    // Nothing cut off, in either language, and the window whole on the screen.
    QCOMPARE(test::clippedPart(*online), QString());
    rig.window->switchToEnglish();
    QCOMPARE(test::clippedPart(*online), QString());
    QCOMPARE(test::clippedPart(*games), QString());
}

void GamesFormTest::aCutDescriptionSaysSoInTheCaptionLanguage_data()
{
    const QString english = QStringLiteral("[The description is longer than 8192 bytes: only its beginning is shown]");
    const QString russian = QStringLiteral("[Описание длиннее 8192 байт: показано только его начало]");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<QString>("lastLineAfterTheSwitch");
    QTest::newRow("English") << true << english << russian;
    QTest::newRow("Russian") << false << russian << english;
}

void GamesFormTest::aCutDescriptionSaysSoInTheCaptionLanguage()
{
    QFETCH(bool, english);
    QFETCH(QString, lastLine);
    QFETCH(QString, lastLineAfterTheSwitch);
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("long"), Qt::red, {}, "Title\r\n" + QByteArray(20'000, 'x'), "3"});
    addGame(rig, {QStringLiteral("short"), Qt::blue, {}, "Short", "3"});
    const auto switchCaptions = [&rig](bool toEnglish) {
        if (toEnglish)
            rig.window->switchToEnglish();
        else
            rig.window->switchToRussian();
    };
    switchCaptions(english);
    GameLibraryForm* form = openBrowser(rig);
    QVERIFY(form);
    clickGame(form, QStringLiteral("long"));
    const QString text = form->descriptionView->toPlainText();
    QCOMPARE(text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Title"));
    QCOMPARE(text.section(QLatin1Char('\n'), -1), lastLine);

    // Switched while it is shown, the line follows the window's captions.
    const QString ranking = form->rankingLabel->text();
    switchCaptions(!english);
    QVERIFY(form->rankingLabel->text() != ranking);
    const QString switched = form->descriptionView->toPlainText();
    QCOMPARE(switched.section(QLatin1Char('\n'), -1), lastLineAfterTheSwitch);
    QCOMPARE(switched.section(QLatin1Char('\n'), 0, -2), text.section(QLatin1Char('\n'), 0, -2));
    QCOMPARE(form->descriptionView->alignment(), Qt::AlignHCenter);

    // A whole description gets no such line from a switch.
    clickGame(form, QStringLiteral("short"));
    switchCaptions(english);
    QCOMPARE(form->descriptionView->toPlainText(), QStringLiteral("Short"));

    // Switched while the window is closed, the line follows when it opens again.
    clickGame(form, QStringLiteral("long"));
    form->close();
    switchCaptions(!english);
    QCOMPARE(openBrowser(rig), form);
    QCOMPARE(form->descriptionView->toPlainText().section(QLatin1Char('\n'), -1), lastLineAfterTheSwitch);
}

QTEST_MAIN(GamesFormTest)
#include "games_form_test.moc"
