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
        QVERIFY2(ui::captionFits(*b), qPrintable(b->text()));
    rig.window->switchToEnglish();
    QCOMPARE(form->fastButton->text(), QStringLiteral("Fast download if a fast internet (method 2)"));
    for (const QPushButton* b : form->findChildren<QPushButton*>())
        QVERIFY2(ui::captionFits(*b), qPrintable(b->text()));
}

void DownloaderWindowTest::method1ThenTheBrowserRunsAGame()
{
    CatalogueServer server(catalogue(3));
    test::MainWindowRig rig;
    QVERIFY(rig.powerOn());
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->WebEdit->setText(QString::fromStdString(server.address("/games")));
    QTest::mouseClick(form->pagesButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    const QStringList log = logLines(form);
    QCOMPARE(log.first(), QString::fromStdString("Пробуем открыть сайт:" + server.games()));
    QCOMPARE(log.last(), QStringLiteral("Все !!!"));
    QCOMPARE(form->WebEdit->text(), QString::fromStdString(server.games()));
    QCOMPARE(form->gauge.Progress(), 50);
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
    QCOMPARE(int(rig.m().RAM[0x5000]), 0x5A);
    QVERIFY(rig.window->windowTitle().endsWith(QStringLiteral("GAMES_SOFT/offline/Game1/Game1.lvt")));
}

void DownloaderWindowTest::method2KeepsTheWindowResponsive()
{
    CatalogueServer server(catalogue(12), {{"delay_ms", 20}});
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->WebEdit->setText(QString::fromStdString(server.games()));
    QTest::mouseClick(form->fastButton, Qt::LeftButton);
    QVERIFY(runEnded(form));
    QVERIFY(logLines(form).contains(QStringLiteral("ЖДЕМ ..........")));
    QCOMPARE(form->gauge.MaxValue(), 12);
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
    QCOMPARE(form->gauge.Progress(), 12);
    QCOMPARE(logLines(form).filter(QStringLiteral("скачан")).size(), 12 * 3);
    QVERIFY(QFile::exists(rig.path(QStringLiteral("GAMES_SOFT/offline/Game11/Game11.txt"))));
}

void DownloaderWindowTest::method3ThroughItsButton()
{
    CatalogueServer server(catalogue(2));
    test::MainWindowRig rig;
    GameDownloaderForm* form = downloader(rig);
    QVERIFY(form);
    form->WebEdit->setText(QString::fromStdString(server.games()));
    form->JsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
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
    form->JsonEdit->setText(QStringLiteral("http://127.0.0.1:1/list.php"));
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
    form->WebEdit->setText(QString::fromStdString(server.games()));
    form->JsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
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
    form->WebEdit->setText(QString::fromStdString(server.games()));
    form->JsonEdit->setText(QString::fromStdString(server.address("/games/list.php")));
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

QTEST_MAIN(DownloaderWindowTest)
#include "downloader_window_test.moc"
