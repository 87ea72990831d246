// The game library browser driven as a person would, on a library written here.
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

#include "StoringProgram.hpp"
#include "games/qt/TGamesForm.hpp"
#include "games/qt/TOnlineGamesForm.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using games::TGamesForm;
using games::TOnlineGamesForm;

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

TGamesForm* browser(test::MainWindowRig& rig)
{
    return qobject_cast<TGamesForm*>(rig.window->forms().GamesForm.form());
}

QColor pictureColour(const QLabel* label)
{
    return label->pixmap().toImage().pixelColor(128, 128);
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

void clickGame(TGamesForm* form, const QString& name)
{
    const QList<QListWidgetItem*> items = form->ListBox1->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    const QRect place = form->ListBox1->visualItemRect(items.front());
    QTest::mouseClick(form->ListBox1->viewport(), Qt::LeftButton, {}, place.center());
    QCOMPARE(form->ListBox1->currentItem(), items.front());
}

} // namespace

class GamesFormTest : public QObject {
    Q_OBJECT
private slots:
    void offLineCommandExplainsAnEmptyLibrary();
    void ratingsDrawStars();
    void missingFilesKeepWhatWasShown();
    void runningAGame();
    void refreshAddsNewGamesAndSelectsNone();
    void captionsOfBothWindows();
};

void GamesFormTest::offLineCommandExplainsAnEmptyLibrary()
{
    test::MainWindowRig rig;
    const QString root = libraryRoot(rig);
    rig.window->OffLine1Click();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0],
             QStringLiteral("Нет каталога ") + root +
                 QStringLiteral("\n\rсоздаю каталог , пройдите в меню \"Скачать игры с  http://localhost/games/\" "
                                "\n\rдля закачки игр !!!"));
    QVERIFY(QDir(root).exists());
    QVERIFY(!browser(rig));

    writeBytes(root + QStringLiteral("plain.txt"), "x");
    rig.window->OffLine1Click();
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(rig.dialogs.messages[1].startsWith(QStringLiteral("Нет игр ") + root + QStringLiteral("\n\rпройдите")));
    QVERIFY(!browser(rig));

    // A hidden folder is a game.
    addGame(rig, {QStringLiteral(".hidden"), {}, {}, {}, {}});
    rig.window->OffLine1Click();
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(browser(rig) && browser(rig)->isVisible());
    QCOMPARE(browser(rig)->ListBox1->count(), 1);
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
    rig.window->OffLine1Click();
    TGamesForm* form = browser(rig);
    QVERIFY(form);
    // The first game of the directory search was shown at once; it may be the bad one.
    rig.dialogs.errors.clear();
    n = 0;
    for (const Case& c : cases) {
        clickGame(form, QStringLiteral("g%1").arg(n++));
        QCOMPARE(starsShown(form->Image5), QString::fromLatin1(c.stars));
        // Each rating starts from black, also after five stars.
        clickGame(form, QStringLiteral("g3"));
        QCOMPARE(starsShown(form->Image5), QStringLiteral("5"));
    }
    clickGame(form, QStringLiteral("nomark"));
    QCOMPARE(starsShown(form->Image5), QStringLiteral("0"));
    QVERIFY(rig.dialogs.errors.isEmpty());
    clickGame(form, QStringLiteral("g3"));
    clickGame(form, QStringLiteral("bad"));
    QCOMPARE(rig.dialogs.errors, QStringList{QStringLiteral("'seven' is not a valid integer value")});
    QCOMPARE(starsShown(form->Image5), QStringLiteral("5"));
}

void GamesFormTest::missingFilesKeepWhatWasShown()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("full"), Qt::red, Qt::green, "\xCA\xF1\xEE\xED\xE8\xEA\xF1\r\nAbout it", "6"});
    addGame(rig, {QStringLiteral("bare"), Qt::blue, {}, {}, {}});
    addGame(rig, {QStringLiteral("broken"), {}, {}, {}, {}});
    writeBytes(libraryRoot(rig) + QStringLiteral("broken/screen1.png"), "not a png");
    rig.window->OffLine1Click();
    TGamesForm* form = browser(rig);
    QVERIFY(form);
    rig.dialogs.errors.clear();
    // What the browser shows: both pictures' colours, the stars, the text.
    const auto shown = [form] {
        return pictureColour(form->Image1).name() + ' ' + pictureColour(form->Image2).name() + ' ' +
               starsShown(form->Image5) + ' ' + form->Memo1->toPlainText();
    };
    clickGame(form, QStringLiteral("full"));
    QCOMPARE(shown(), QStringLiteral("#ff0000 #00ff00 3 Ксоникс\nAbout it"));
    QCOMPARE(form->Memo1->alignment(), Qt::AlignHCenter);
    clickGame(form, QStringLiteral("bare"));
    QCOMPARE(shown(), QStringLiteral("#0000ff #00ff00 0 Ксоникс\nAbout it"));
    clickGame(form, QStringLiteral("broken"));
    QCOMPARE(rig.dialogs.errors.size(), 1);
    QVERIFY(rig.dialogs.errors[0].contains(QStringLiteral("broken/screen1.png")));
    QCOMPARE(pictureColour(form->Image1), QColor(Qt::blue));
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
    rig.window->setUpForm()->CheckBox10->setChecked(false);
    rig.window->OffLine1Click();
    TGamesForm* form = browser(rig);
    QVERIFY(form);

    clickGame(form, QStringLiteral("none"));
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Нет файла для запуска none/none.lvt или sav")});
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ostrovik"));

    clickGame(form, QStringLiteral("both"));
    const QList<QListWidgetItem*> both = form->ListBox1->findItems(QStringLiteral("both"), Qt::MatchExactly);
    QTest::mouseDClick(form->ListBox1->viewport(), Qt::LeftButton, {},
                       form->ListBox1->visualItemRect(both.front()).center());
    const QString path = root + QStringLiteral("both/both.lvt");
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ostrovik:") + path);
    QCOMPARE(rig.window->openDialogFileName(), path);
    QCOMPARE(rig.window->setUpForm()->MRUFiles[0], path);
    QVERIFY(!rig.window->setUpForm()->CheckBox10->isChecked());
    QCOMPARE(rig.m().Paused, std::uint8_t{0});
    QVERIFY(form->isVisible());
    rig.runTicks(5);
    QCOMPARE(int(rig.m().RAM[0x5000]), 0x5A);
    QCOMPARE(rig.m().r_PC, 0x4005);
}

void GamesFormTest::refreshAddsNewGamesAndSelectsNone()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("first"), Qt::red, {}, "One", "2"});
    rig.window->OffLine1Click();
    TGamesForm* form = browser(rig);
    QVERIFY(form);
    // The first game is shown and selected at once.
    QCOMPARE(form->ListBox1->currentRow(), 0);
    QCOMPARE(pictureColour(form->Image1), QColor(Qt::red));
    QCOMPARE(starsShown(form->Image5), QStringLiteral("1"));
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    QVERIFY(!form->isVisible());

    addGame(rig, {QStringLiteral("second"), Qt::blue, {}, "Two", "9"});
    rig.window->OffLine1Click();
    QCOMPARE(browser(rig), form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->ListBox1->count(), 2);
    QCOMPARE(form->ListBox1->currentRow(), -1);
    QCOMPARE(pictureColour(form->Image1), QColor(Qt::red));
    QCOMPARE(starsShown(form->Image5), QStringLiteral("1"));
    // With nothing selected the run button does nothing at all.
    const QString caption = rig.window->windowTitle();
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(rig.window->windowTitle(), caption);
    QVERIFY(rig.dialogs.messages.isEmpty() && rig.dialogs.errors.isEmpty());
}

void GamesFormTest::captionsOfBothWindows()
{
    test::MainWindowRig rig;
    addGame(rig, {QStringLiteral("g"), {}, {}, {}, {}});
    rig.window->English1Click();
    rig.window->OffLine1Click();
    rig.window->Onlinegamesitegames1Click();
    TGamesForm* games = browser(rig);
    auto* online = qobject_cast<TOnlineGamesForm*>(rig.window->forms().OnlineGamesForm.form());
    QVERIFY(games && online && online->isVisible());
    QCOMPARE(games->Button1->text(), QStringLiteral("Run"));
    QCOMPARE(games->Label1->text(), QStringLiteral("RANKING:"));
    QCOMPARE(online->Button1->text(), QStringLiteral("Connect to a site and download (method 1)"));
    QCOMPARE(online->CheckBox1->text(), QStringLiteral("Load only those that are not in the folder"));
    rig.window->Russian1Click();
    QCOMPARE(games->Button2->text(), QStringLiteral("Выход"));
    QCOMPARE(games->Label1->text(), QStringLiteral("РЕЙТИНГ:"));
    QCOMPARE(online->Label1->text(), QStringLiteral("Сайт с играми"));
    QCOMPARE(online->Button1->text(), QStringLiteral("Подключение к сайту  и скачка (способ 1)"));
    QCOMPARE(online->Button3->text(), QStringLiteral("JSON (Способ 3)"));
    QCOMPARE(online->windowTitle(), QStringLiteral("OnlineGamesForm"));
    QCOMPARE(games->windowTitle(), QStringLiteral("GamesForm"));
    // The design state of the downloader.
    QCOMPARE(online->WebEdit->text(), QStringLiteral("http://localhost/games/"));
    QCOMPARE(online->JsonEdit->text(), QStringLiteral("http://localhost/games/list.php"));
    QVERIFY(online->CheckBox1->isChecked());
    QCOMPARE(online->Gauge1.Progress(), 0);
    QCOMPARE(online->Memo1->toPlainText(), QString());
    QCOMPARE(online->size(), QSize(635, 368));
    QCOMPARE(online->Gauge1Bar->geometry(), QRect(245, 62, 380, 22));
    QCOMPARE(online->Button2->geometry(), QRect(245, 90, 266, 25));
}

QTEST_MAIN(GamesFormTest)
#include "games_form_test.moc"
