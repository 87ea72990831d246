// The downloader window filling the library from the loopback catalogue,
// then the browser running what it fetched.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTextEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <chrono>

#include "CatalogueServer.hpp"
#include "StoringProgram.hpp"
#include "games/CatalogueDownloader.hpp"
#include "games/Http.hpp"
#include "games/qt/GameLibraryForm.hpp"
#include "games/qt/GameDownloaderForm.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using games::GameLibraryForm;
using games::GameDownloaderForm;

namespace {

std::string png(QColor colour)
{
    QImage shot(256, 256, QImage::Format_RGB32);
    shot.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    shot.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::vector<CatalogueServer::Game> catalogue(int games)
{
    std::vector<CatalogueServer::Game> list;
    for (int i = 0; i < games; ++i) {
        const std::string name = "Game" + std::to_string(i);
        list.push_back({name, "Игра " + std::to_string(i), std::to_string(i % 11), "Описание",
                        {"screen1.png", "screen2.png", name + ".lvt"}, true,
                        {{"screen1.png", png(Qt::red)}, {"screen2.png", png(Qt::green)},
                         {name + ".lvt", storingProgram()}}});
    }
    return list;
}

GameDownloaderForm* downloader(test::MainWindowRig& rig)
{
    rig.window->openGameDownloader();
    return qobject_cast<GameDownloaderForm*>(rig.window->forms().gameDownloader.form());
}

QStringList logLines(GameDownloaderForm* form)
{
    return form->logView->toPlainText().split(QLatin1Char('\n'));
}

/// Plays the event loop until the method's run has ended; the time only
/// guards against a hang.
bool runEnded(GameDownloaderForm* form)
{
    return QTest::qWaitFor([form] { return !form->downloader().running(); }, 120000);
}

void click(GameDownloaderForm* form, int method)
{
    QTest::mouseClick(method == 1 ? form->pagesButton : method == 2 ? form->fastButton : form->jsonButton, Qt::LeftButton);
}

/// @p first, then "Ж" up to @p bytes in all.
std::string longText(const std::string& first, std::size_t bytes)
{
    std::string text = first;
    while (text.size() + 2 <= bytes)
        text += "Ж";
    return text;
}

/// The window on @p server's site and JSON list, run by @p method to its end.
void runOn(GameDownloaderForm* form, const CatalogueServer& server, int method)
{
    form->webEdit->setText(QString::fromStdString(server.games()));
    form->jsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
    click(form, method);
    QVERIFY(runEnded(form));
}

} // namespace

class DownloaderWindowTest : public QObject {
    Q_OBJECT
private slots:
    void noButtonCutsItsCaption();
    void method1ThenTheBrowserRunsAGame();
    void method2KeepsTheWindowResponsive();
    void methods1And3KeepTheWindowResponsive_data();
    void methods1And3KeepTheWindowResponsive();
    void method3ThroughItsButton();
    void closingTheProgramEndsTheRun_data();
    void closingTheProgramEndsTheRun();
    void hugeCatalogueTextsAreQuotedShort_data();
    void hugeCatalogueTextsAreQuotedShort();
    void theLogKeepsItsLastThousandLines();
    void namesThatForgeOrTurnLinesAreRefused_data();
    void namesThatForgeOrTurnLinesAreRefused();
    void aPageCutShortIsAFailedPage_data();
    void aPageCutShortIsAFailedPage();
    void method1FillsItsGaugeAlsoWhenAGameFailed();
};

void DownloaderWindowTest::noButtonCutsItsCaption()
{
    test::MainWindowRig rig;
    rig.window->show();
    QTRY_VERIFY(rig.window->firstActivateDone());
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    // The longest caption of each set is method 2's.
    rig.window->switchToRussian();
    QCOMPARE(form->fastButton->text(), QStringLiteral("Быстрая скачка если быстрый интернет (способ 2)"));
    for (const QPushButton* b : form->findChildren<QPushButton*>())
        QVERIFY2(kit::captionFits(*b), qPrintable(b->text()));
    rig.window->switchToEnglish();
    QCOMPARE(form->fastButton->text(), QStringLiteral("Fast download if a fast internet (method 2)"));
    for (const QPushButton* b : form->findChildren<QPushButton*>())
        QVERIFY2(kit::captionFits(*b), qPrintable(b->text()));
}

void DownloaderWindowTest::method1ThenTheBrowserRunsAGame()
{
    CatalogueServer server(catalogue(3));
    test::MainWindowRig rig;
    QVERIFY(rig.powerOn());
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->webEdit->setText(QString::fromStdString(server.address("/games")));
    QTest::mouseClick(form->pagesButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    const QStringList log = logLines(form);
    QCOMPARE(log.first(), QString::fromStdString("Пробуем открыть сайт:" + server.games()));
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
    QCOMPARE(form->webEdit->text(), QString::fromStdString(server.games()));
    QCOMPARE(form->gauge.progress(), 50);
    QVERIFY(form->pagesButton->isEnabled() && form->jsonButton->isEnabled());
    QVERIFY(rig.dialogs.errors.isEmpty());

    rig.window->openGameLibrary();
    auto* browser = qobject_cast<GameLibraryForm*>(rig.window->forms().gameLibrary.form());
    QVERIFY(browser);
    QCOMPARE(browser->gameList->count(), 3);
    const auto items = browser->gameList->findItems(QStringLiteral("Game1"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    browser->gameList->setCurrentItem(items.front());
    QCOMPARE(browser->descriptionView->toPlainText(), QStringLiteral("Игра 1\nОписание"));
    QCOMPARE(browser->firstShotView->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
    QTest::mouseClick(browser->runButton, Qt::LeftButton);
    rig.runTicks(3);
    QCOMPARE(int(rig.m().ram[0x5000]), 0x5A);
    QVERIFY(rig.window->windowTitle().endsWith(QStringLiteral("GAMES_SOFT/offline/Game1/Game1.lvt")));
}

void DownloaderWindowTest::method2KeepsTheWindowResponsive()
{
    CatalogueServer server(catalogue(12), {{"delay_ms", 20}});
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->webEdit->setText(QString::fromStdString(server.games()));
    QTest::mouseClick(form->fastButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    QVERIFY(logLines(form).contains(QStringLiteral("ЖДЕМ ..........")));
    QCOMPARE(form->gauge.maxValue(), 12);
    // The window's thread only hands lines over; it never waits for a
    // worker: an event posted now runs while the downloads still go on, and
    // lines arrive in more than one turn of the event loop. (Judged by what
    // happens, not by milliseconds, which a busy machine stretches.)
    bool ranWhileBusy = false;
    QTimer::singleShot(0, form, [&] { ranWhileBusy = form->downloader().unfinishedWorkers() > 0; });
    int turnsWithNewLines = 0;
    qsizetype linesBefore = logLines(form).size();
    QElapsedTimer whole;
    whole.start();
    while (form->downloader().unfinishedWorkers() > 0 && whole.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qsizetype lines = logLines(form).size();
        if (lines != linesBefore)
            ++turnsWithNewLines;
        linesBefore = lines;
    }
    QCoreApplication::processEvents();
    QCOMPARE(form->downloader().unfinishedWorkers(), std::size_t{0});
    QVERIFY(ranWhileBusy);
    QVERIFY2(turnsWithNewLines > 1, qPrintable(QString::number(turnsWithNewLines)));
    QCOMPARE(form->gauge.progress(), 12);
    QCOMPARE(logLines(form).filter(QStringLiteral("скачан")).size(), 12 * 3);
    QVERIFY(QFile::exists(rig.path(QStringLiteral("GAMES_SOFT/offline/Game11/Game11.txt"))));
}

void DownloaderWindowTest::method3ThroughItsButton()
{
    CatalogueServer server(catalogue(2));
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->webEdit->setText(QString::fromStdString(server.games()));
    form->jsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
    form->skipExistingBox->setChecked(false);
    QTest::mouseClick(form->jsonButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    const QStringList log = logLines(form);
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
    QCOMPARE(log.filter(QStringLiteral("Оценка:")).size(), 2);
    QFile mark(rig.path(QStringLiteral("GAMES_SOFT/offline/Game1/mark.txt")));
    QVERIFY(mark.open(QIODevice::ReadOnly));
    QCOMPARE(mark.readAll(), QByteArray("1\r\n"));
    // A list that cannot be fetched goes to the error box.
    form->jsonEdit->setText(QStringLiteral("http://127.0.0.1:1/list.php"));
    QTest::mouseClick(form->jsonButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    QCOMPARE(rig.dialogs.errors.size(), 1);
}

void DownloaderWindowTest::methods1And3KeepTheWindowResponsive_data()
{
    QTest::addColumn<int>("method");
    QTest::newRow("method 1") << 1;
    QTest::newRow("method 3") << 3;
}

void DownloaderWindowTest::methods1And3KeepTheWindowResponsive()
{
    QFETCH(int, method);
    CatalogueServer server(catalogue(3), {{"delay_ms", 50}});
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->webEdit->setText(QString::fromStdString(server.games()));
    form->jsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
    click(form, method);
    // An event posted after the click runs while the site is still being
    // read, and a second click then starts nothing.
    bool ranWhileBusy = false;
    QTimer::singleShot(0, form, [&] {
        ranWhileBusy = form->downloader().running() && !form->pagesButton->isEnabled();
        click(form, method);
    });
    QVERIFY(runEnded(form));
    QVERIFY(ranWhileBusy);
    const QStringList log = logLines(form);
    QCOMPARE(log.first(), QString::fromStdString("Пробуем открыть сайт:" + server.games()));
    QCOMPARE(log.filter(QStringLiteral("Пробуем открыть сайт:")).size(), 1);
    QCOMPARE(log.filter(QStringLiteral(".lvt скачан")).size(), 3);
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
    QVERIFY(form->pagesButton->isEnabled() && form->fastButton->isEnabled() && form->jsonButton->isEnabled());
}

void DownloaderWindowTest::closingTheProgramEndsTheRun_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("answers");
    QTest::addColumn<QString>("busy");
    // Each time the site stops answering inside the first game.
    QTest::newRow("method 1") << 1 << 2 + 3 << QStringLiteral("Game0/Game0.lvt скачан");
    QTest::newRow("method 2") << 2 << 2 << QStringLiteral("ЖДЕМ ..........");
    QTest::newRow("method 3") << 3 << 2 + 3 << QStringLiteral("Game0/Game0.lvt скачан");
}

void DownloaderWindowTest::closingTheProgramEndsTheRun()
{
    QFETCH(int, method);
    QFETCH(int, answers);
    QFETCH(QString, busy);
    CatalogueServer server(catalogue(2), {{"answer_limit", answers}});
    test::MainWindowRig rig;
    rig.window->show();
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form && form->isVisible());
    form->webEdit->setText(QString::fromStdString(server.games()));
    form->jsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
    click(form, method);
    QVERIFY(QTest::qWaitFor([&] { return !logLines(form).filter(busy).isEmpty(); }, 120000));
    QVERIFY(form->downloader().running() || form->downloader().unfinishedWorkers() > 0);

    // The user closes the main window; the program's event loop ends and
    // its exit takes the windows down.
    rig.window->close();
    rig.window.reset();
    // Every thread of the downloader has ended: nothing of the half-fetched
    // game is left, nor anything beside the library.
    QCOMPARE(QDir(rig.path(QStringLiteral("GAMES_SOFT"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("offline")});
    QCOMPARE(QDir(rig.path(QStringLiteral("GAMES_SOFT/offline"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{});
}

void DownloaderWindowTest::hugeCatalogueTextsAreQuotedShort_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QStringList>("quoted");
    // Each quote is the text's first 200 bytes at most, cut before a
    // character that does not fit: "a" and 99 two-byte letters.
    const QString a = QStringLiteral("a") + QString(99, QChar(0x416)) + QStringLiteral("...");
    const QString b = QStringLiteral("b") + QString(99, QChar(0x416)) + QStringLiteral("...");
    const QString mark = QString(200, QLatin1Char('7')) + QStringLiteral("...");
    QTest::newRow("method 1, a 3 MB title") << 1 << QStringList{
        QStringLiteral("Нашли игру ") + a, QStringLiteral("Игра ") + a + QStringLiteral(" не скачана !!!"),
        QStringLiteral("Игра ") + b + QStringLiteral(" уже сеть !!!"), QStringLiteral("    ") + mark};
    QTest::newRow("method 3, a 6 MB FullName") << 3 << QStringList{
        QStringLiteral("Игра ") + a + QStringLiteral(" не скачана !!!"),
        QStringLiteral("Игра ") + b + QStringLiteral(" уже сеть !!!")};
}

void DownloaderWindowTest::hugeCatalogueTextsAreQuotedShort()
{
    QFETCH(int, method);
    QFETCH(QStringList, quoted);
    // Big has nothing to run, Here is in the library already, Marked comes
    // whole with a long rating text. One list page holds all three.
    const std::string big = longText("a", method == 1 ? 3'000'000 : 6'000'000);
    const std::string here = longText("b", method == 1 ? 600'000 : 1'000'000);
    std::vector<CatalogueServer::Game> games = catalogue(1);
    games[0].name = "Marked";
    games[0].mark = std::string(200'000, '7');
    games[0].files = {"screen1.png", "screen2.png", "Marked.lvt"};
    games[0].contents = {{"Marked.lvt", storingProgram()}};
    games.insert(games.begin(), {{"Big", big, "1", "", {}, false}, {"Here", here, "1", "", {}, false}});
    const nlohmann::json list = nlohmann::json::array({{{"Name", "Big"}, {"FullName", big}},
                                                       {{"Name", "Here"}, {"FullName", here}}});
    CatalogueServer server(games, {{"json", list.dump()}});
    test::MainWindowRig rig;
    rig.makeFolder(QStringLiteral("GAMES_SOFT/offline/Here"));
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    runOn(form, server, method);
    const QStringList log = logLines(form);
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
    for (const QString& line : quoted)
        QVERIFY2(std::any_of(log.begin(), log.end(), [&](const QString& l) { return l.endsWith(line); }),
                 qPrintable(line.left(40)));
    // Nothing longer reaches the window, which lays out every line it holds.
    for (const QString& line : log)
        QVERIFY2(line.toUtf8().size() <= 400, qPrintable(line.left(40)));
}

void DownloaderWindowTest::theLogKeepsItsLastThousandLines()
{
    // Every game of the list is in the library already: one line each.
    constexpr int kGames = 1100;
    nlohmann::json list = nlohmann::json::array();
    test::MainWindowRig rig;
    for (int i = 0; i < kGames; ++i) {
        list.push_back({{"Name", "g" + std::to_string(i)}, {"FullName", "T" + std::to_string(i)}});
        rig.makeFolder(QStringLiteral("GAMES_SOFT/offline/g%1").arg(i));
    }
    CatalogueServer server({}, {{"count", "9999"}, {"json", list.dump()}});
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    runOn(form, server, 3);
    // Three start lines, the games, "Все !!!": the first 104 are gone.
    QCOMPARE(form->logView->document()->blockCount(), 1000);
    const QStringList log = logLines(form);
    QCOMPARE(log.first(), QStringLiteral("Игра T101 уже сеть !!!"));
    QCOMPARE(log[998], QStringLiteral("Игра T1099 уже сеть !!!"));
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
}

void DownloaderWindowTest::namesThatForgeOrTurnLinesAreRefused_data()
{
    QTest::addColumn<int>("method");
    QTest::newRow("method 1") << 1;
    QTest::newRow("method 2") << 2;
    QTest::newRow("method 3") << 3;
}

void DownloaderWindowTest::namesThatForgeOrTurnLinesAreRefused()
{
    QFETCH(int, method);
    struct Case {
        std::string name;
        const char* shown; ///< the name as the refusal line quotes it
    };
    const Case cases[] = {
        // Its folder exists (the library's parent): skipping must not come first.
        {"..", ".."},
        {"a\u2028Скачали: 77 игр", "a\\u2028Скачали: 77 игр"},
        {"b\u2029Скачали: 77 игр", "b\\u2029Скачали: 77 игр"},
        {"c\u0085Скачали: 77 игр", "c\\u0085Скачали: 77 игр"},
        {"\u202Eevil", "\\u202Eevil"},
        {"x\u202Ay", "x\\u202Ay"},
        {"\u2067isolated\u2069", "\\u2067isolated\\u2069"},
    };
    std::vector<CatalogueServer::Game> games;
    nlohmann::json list = nlohmann::json::array();
    for (const Case& c : cases) {
        games.push_back({c.name, "Title", "1", "About", {"screen1.png", "screen2.png", c.name + ".lvt"}, true});
        list.push_back({{"Name", c.name}, {"FullName", "Title"}});
    }
    CatalogueServer server(games, {{"json", list.dump()}});
    test::MainWindowRig rig;
    rig.makeFolder(QStringLiteral("GAMES_SOFT/offline"));
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    QVERIFY(form->skipExistingBox->isChecked());
    runOn(form, server, method);
    QVERIFY(QTest::qWaitFor([form] { return form->downloader().unfinishedWorkers() == 0; }, 120000));
    const QString text = form->logView->toPlainText();
    const QStringList log = logLines(form);
    for (const Case& c : cases) {
        const QString refusal = QStringLiteral("Имя игры \"") + QString::fromUtf8(c.shown) +
                                QStringLiteral("\" не годится для папки, игра пропущена !!!");
        QVERIFY2(log.count(refusal) == 1, qPrintable(refusal));
    }
    QVERIFY(log.filter(QStringLiteral("уже сеть")).isEmpty());
    QVERIFY(!log.contains(QStringLiteral("Скачали: 77 игр")));
    for (const char16_t c : {u'\u2028', u'\u2029', u'\u0085', u'\u202A', u'\u202E', u'\u2067', u'\u2069'})
        QVERIFY2(!text.contains(QChar(c)), qPrintable(QString::number(c, 16)));
    QCOMPARE(QDir(rig.path(QStringLiteral("GAMES_SOFT/offline"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{});
}

void DownloaderWindowTest::aPageCutShortIsAFailedPage_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("dripping");
    QTest::addColumn<QStringList>("after"); ///< the log after its first line
    const QString notOpened = QStringLiteral("Не могу открыть сайт !!!");
    QTest::newRow("method 1, the start page") << 1 << QStringLiteral("/games/index.php") << QStringList{notOpened};
    QTest::newRow("method 3, the start page") << 3 << QStringLiteral("/games/index.php")
                                              << QStringList{QStringLiteral("Не могу открыть ссылку !!!")};
    QTest::newRow("method 1, a list page") << 1 << QStringLiteral("/games/index.php?start=0")
                                           << QStringList{QStringLiteral("Игр на сайте:1"), notOpened};
}

void DownloaderWindowTest::aPageCutShortIsAFailedPage()
{
    QFETCH(int, method);
    QFETCH(QString, dripping);
    QFETCH(QStringList, after);
    // Five bytes a second, without end, is under the low-speed limit, here
    // one second long.
    CatalogueServer server(catalogue(1), {{"raw", {{dripping.toStdString(),
                                                    {{"stream", {{"piece", "x"}, {"every_ms", 200}}}}}}}});
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->setHttpLimits(games::HttpLimits{5, 1, 100, 60});
    runOn(form, server, method);
    QCOMPARE(logLines(form).mid(1), after);
}

void DownloaderWindowTest::method1FillsItsGaugeAlsoWhenAGameFailed()
{
    std::vector<CatalogueServer::Game> games = catalogue(2);
    games[1].files.clear();
    games[1].contents.clear();
    CatalogueServer server(games);
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    runOn(form, server, 1);
    QVERIFY(logLines(form).contains(QStringLiteral("Не скачали: 1 игр")));
    QCOMPARE(form->gauge.maxValue(), 50);
    QCOMPARE(form->gauge.progress(), 50);
}

QTEST_MAIN(DownloaderWindowTest)
#include "downloader_window_test.moc"
