// Clipboard paste, the ROM's tape-load dialog and the log window, end to end
// on the test ROM inside the real main window.

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "support/EventOrder.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "asm8080/Assembler.hpp"
#include "support/FreshConfig.hpp"
#include "support/TapePrograms.hpp"
#include "support/ScriptedDialogs.hpp"
#include "ui/LogWindow.hpp"
#include "ui/MainWindow.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using namespace ostrovik;

class TextRoadsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bannerReachesTheLogWindowAtReset();
    void pastedTextIsEchoed_data();
    void pastedTextIsEchoed();
    void pastedLinesEndWithEnter();
    void loadCommandOpensTheDialogAndRunsTheProgram();
    void cancelledTapeDialogLoadsNothing();

private:
    void runTicks(int n);
    void paste(const QString& text);

    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FreshConfig> config_;
    std::unique_ptr<ui::MainWindow> window_;
};

void TextRoadsTest::init()
{
    dialogs_ = std::make_unique<ScriptedDialogs>();
    config_ = std::make_unique<FreshConfig>();
    window_ = std::make_unique<ui::MainWindow>(QStringList{}, test::quietWaveOut());
    window_->show();
    QTRY_VERIFY_WITH_TIMEOUT(window_->timerRunning(), ostrovik::test::kHangGuardMs);
    QVERIFY2(dialogs_->messages.isEmpty() && dialogs_->errors.isEmpty(),
             qPrintable((dialogs_->messages + dialogs_->errors).join('\n')));
    // Let the test ROM reach its prompt.
    runTicks(400);
}

void TextRoadsTest::cleanup()
{
    window_.reset();
    config_.reset();
    dialogs_.reset();
}

void TextRoadsTest::runTicks(int n)
{
    for (int i = 0; i < n; ++i)
        window_->runFrame();
}

void TextRoadsTest::paste(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    window_->pasteClipboard();
}

void TextRoadsTest::bannerReachesTheLogWindowAtReset()
{
    window_->showLogWindow();
    QPlainTextEdit* memo = window_->logWindow()->logTextView;
    memo->setPlainText(QStringLiteral("left over"));
    window_->resetCpu();
    runTicks(400);
    const QString log = memo->toPlainText();
    QVERIFY2(!log.contains(QStringLiteral("left over")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("OSTROVIK TEST ROM")), qPrintable(log));
    QCOMPARE(window_->logWindow()->windowTitle(), QStringLiteral("LogTextOutForm"));
}

void TextRoadsTest::pastedTextIsEchoed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("echo");
    QTest::addColumn<QStringList>("progress");
    // Lower case is typed as the machine's capitals.
    QTest::newRow("lower case") << QStringLiteral("hello") << QByteArray("HELLO")
                                << QStringList{"20", "40", "60", "80", "100"};
    // The code page has no byte for it: the clipboard's text holds "?" there.
    QTest::newRow("a character outside the code page")
        << QStringLiteral("a\u263Ab") << QByteArray("A?B") << QStringList{"33", "67", "100"};
}

void TextRoadsTest::pastedTextIsEchoed()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, echo);
    QFETCH(QStringList, progress);
    window_->showLogWindow();
    const QString caption = window_->windowTitle();
    QStringList shown;
    const QMetaObject::Connection watch = connect(window_.get(), &QWidget::windowTitleChanged, this,
                                                  [&shown](const QString& title) { shown << title; });
    paste(text);
    disconnect(watch);
    runTicks(50);
    QVERIFY2(QByteArray::fromStdString(window_->machine().logLine).endsWith(echo),
             window_->machine().logLine.c_str());
    QStringList expected;
    for (const QString& percent : progress)
        expected << QStringLiteral("Paste ") + percent + QLatin1Char('%');
    expected << caption;
    QCOMPARE(shown, expected);
    QCOMPARE(window_->windowTitle(), caption);
}

void TextRoadsTest::pastedLinesEndWithEnter()
{
    // Text copied on this desktop ends its lines with LF alone; each line
    // must still reach the machine as a line of its own.
    window_->showLogWindow();
    QPlainTextEdit* memo = window_->logWindow()->logTextView;
    paste(QStringLiteral("10 PRINT\n20 END"));
    runTicks(100);
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    QVERIFY2(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.endsWith(QStringLiteral("10 PRINT")); }),
             qPrintable(memo->toPlainText()));
    QVERIFY2(QByteArray::fromStdString(window_->machine().logLine).endsWith("20 END"),
             window_->machine().logLine.c_str());
    QVERIFY(!QByteArray::fromStdString(window_->machine().logLine).contains("PRINT"));
}

void TextRoadsTest::loadCommandOpensTheDialogAndRunsTheProgram()
{
    const asm8080::AsmResult image = asm8080::assemble(test::counterSource("8000"));
    QVERIFY(image.ok());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("count.lvt"));
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.bytes.data()),
                  static_cast<std::streamsize>(image.bytes.size()));
    }
    dialogs_->answers = {path};
    paste(QStringLiteral("L\r"));
    QCOMPARE(dialogs_->asked.size(), std::size_t{1});
    QCOMPARE(window_->machine().paused, std::uint8_t{0});
    const std::uint8_t before = window_->machine().ram[0x8100];
    runTicks(20);
    const int pc = window_->machine().regPC;
    QVERIFY2(pc >= 0x8000 && pc < 0x8008, qPrintable(QString::number(pc, 16)));
    QVERIFY(window_->machine().ram[0x8100] != before);
}

void TextRoadsTest::cancelledTapeDialogLoadsNothing()
{
    dialogs_->answers.clear();
    paste(QStringLiteral("L\r"));
    QCOMPARE(dialogs_->asked.size(), std::size_t{1});
    runTicks(50);
    QCOMPARE(window_->machine().paused, std::uint8_t{0});
    QVERIFY(window_->machine().regPC >= 0xC000);
    for (int a = 0x8000; a < 0x8010; ++a)
        QCOMPARE(window_->machine().ram[a], std::uint8_t{0});
}

QTEST_MAIN(TextRoadsTest)
#include "text_roads_test.moc"
