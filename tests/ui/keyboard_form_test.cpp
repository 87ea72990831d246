// The on-screen keyboard clicked as a person would, on the test ROM: what
// reaches the main window's key handling, what the ROM types, and the two
// alphabet keys pressed straight into the matrix.

#include <QApplication>
#include <QToolButton>
#include <QtTest>

#include "platform/KeyboardLayout.hpp"
#include "support/MainWindowRig.hpp"
#include "ui/KeyboardForm.hpp"

using namespace ostrovik;
using test::MainWindowRig;

namespace {

/// Counts the key events the program makes for the main window.
class KeyEventCounter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() >= QEvent::User)
            ++count;
        return false;
    }
    int count = 0;
};

} // namespace

class KeyboardFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandShowsAndHidesTheWindow();
    void keysTypeIntoTheRom();
    void deadKeysDoNothing();
    void alphabetKeysHoldTheMatrixEvenWhilePaused();
    void pausedMachineIgnoresTheClick();
    void testSentenceIsTypedInFull();

private:
    ui::KeyboardForm& form();
    /// Clicks the button over key @p number and lets the main window handle what it sent.
    void click(int number);
    QByteArray typed() const { return QByteArray::fromStdString(rig_->m().logLine); }

    std::unique_ptr<MainWindowRig> rig_;
    KeyEventCounter counter_;
};

void KeyboardFormTest::init()
{
    platform::activeKeyboardLayout().load(platform::kLayoutUS);
    rig_ = std::make_unique<MainWindowRig>();
    QVERIFY(rig_->powerOn());
    // The ROM's console output reaches LogLine while the log window is shown.
    rig_->window->showLogWindow();
    rig_->window->installEventFilter(&counter_);
    counter_.count = 0;
    rig_->m().logLine.clear();
}

void KeyboardFormTest::cleanup()
{
    rig_.reset();
    platform::activeKeyboardLayout().load(platform::kLayoutUS);
}

ui::KeyboardForm& KeyboardFormTest::form()
{
    if (!rig_->window->forms().keyboard.visible())
        rig_->window->toggleKeyboardWindow();
    return *qobject_cast<ui::KeyboardForm*>(rig_->window->forms().keyboard.form());
}

void KeyboardFormTest::click(int number)
{
    QToolButton* b = form().keyButton(number);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
    // The ROM sees the release at its next scan.
    rig_->runTicks(3);
}

void KeyboardFormTest::commandShowsAndHidesTheWindow()
{
    ui::MainWindow& w = *rig_->window;
    QVERIFY(!w.forms().keyboard.form());
    w.toggleKeyboardWindow();
    QWidget* k = w.forms().keyboard.form();
    QVERIFY(k && k->isVisible());
    QCOMPARE(k->windowTitle(), QStringLiteral("Keyboard"));
    // Shown again, it stays where the user moved it.
    const QPoint moved = k->pos() + QPoint(-40, 25);
    k->move(moved);
    w.toggleKeyboardWindow();
    QVERIFY(!k->isVisible());
    w.toggleKeyboardWindow();
    QVERIFY(k->isVisible());
    QCOMPARE(w.forms().keyboard.form(), k);
    QCOMPARE(k->pos(), moved);
    // The picture is ours, at its own size, scaled into the window.
    QCOMPARE(ui::KeyboardForm::keyboardPicture().size(), QSize(1024, 381));
    QCOMPARE(form().keyButton(77)->text(), QStringLiteral("LCTRL"));
    QCOMPARE(form().keyButton(79)->text(), QStringLiteral("RCTRL"));
    QCOMPARE(form().keyButton(78)->text(), QStringLiteral("Space"));
}

void KeyboardFormTest::keysTypeIntoTheRom()
{
    const struct {
        const char* what;
        int button;
        bool russianLayout;
        QByteArray typed;
    } cases[] = {
        {"1", 17, false, "1"},
        {"0", 26, false, "0"},
        {"^ is the key of 6: Shift is not pressed", 64, false, "6"},
        {"? is the key of /", 73, false, "/"},
        {"< is the comma key", 72, false, ","},
        {"Й J", 31, false, "J"},
        {"Э \\", 57, false, "\\"},
        {"the space bar", 78, false, " "},
        // Under the Russian layout the same machine key is typed, through
        // the PC key that carries Й there.
        {"Й J under the Russian layout", 31, true, "J"},
        {"a digit under the Russian layout", 19, true, "3"},
    };
    for (const auto& c : cases) {
        platform::activeKeyboardLayout().load(c.russianLayout ? platform::kLayoutRussian : platform::kLayoutUS);
        rig_->m().logLine.clear();
        counter_.count = 0;
        click(c.button);
        QVERIFY2(counter_.count == 2, c.what);
        QVERIFY2(typed() == c.typed, qPrintable(QStringLiteral("%1: %2").arg(c.what, typed().toHex())));
        QVERIFY2(rig_->m().keyMatrix == decltype(rig_->m().keyMatrix){}, c.what);
    }
    // The focus went back to the main window.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(rig_->window.get()));
}

void KeyboardFormTest::deadKeysDoNothing()
{
    // The first row's keys but СБР, СУ, ВР, ЗБ, ПС, НР, ТАВ, ГТ, the up-left
    // arrow, the semicolon, colon, minus and underscore keys.
    const int dead[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 46, 62, 59, 43, 75, 28, 29, 30, 16, 42, 27, 74};
    for (int number : dead) {
        click(number);
        QVERIFY2(counter_.count == 0, qPrintable(QString::number(number)));
    }
    QCOMPARE(typed(), QByteArray());
}

void KeyboardFormTest::alphabetKeysHoldTheMatrixEvenWhilePaused()
{
    machine::Machine& m = rig_->m();
    rig_->window->togglePause();
    QCOMPARE(m.paused, std::uint8_t{1});
    QCOMPARE(m.ram[0xBE02], std::uint8_t{0}); // the ROM's alphabet: Latin
    click(77);
    // One run of 60,000 T-states with row 6 bit 1 held, then released.
    QVERIFY(m.clock >= 60000 && m.clock < 60020);
    QCOMPARE(m.ram[0xBE02], std::uint8_t{1});
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0});
    QCOMPARE(counter_.count, 0);
    click(79);
    QCOMPARE(m.ram[0xBE02], std::uint8_t{0});
    QCOMPARE(m.keyMatrix[3], std::uint8_t{0});
    rig_->window->togglePause();
}

void KeyboardFormTest::pausedMachineIgnoresTheClick()
{
    machine::Machine& m = rig_->m();
    rig_->window->togglePause();
    const std::int32_t pc = m.regPC;
    click(17);
    QCOMPARE(counter_.count, 2);
    QCOMPARE(m.regPC, pc);
    QCOMPARE(m.keyMatrix[4], std::uint8_t{0});
    rig_->window->togglePause();
    rig_->runTicks(5);
    QCOMPARE(typed(), QByteArray());
}

void KeyboardFormTest::testSentenceIsTypedInFull()
{
    click(15);
    QCOMPARE(counter_.count, 2 * 26);
    rig_->runTicks(3);
    QCOMPARE(typed(), QByteArray("PACK MY BOX WITH FIVE JUGS"));
}

QTEST_MAIN(KeyboardFormTest)
#include "keyboard_form_test.moc"
