// Typing on the test ROM through real key events of the main window: the key
// matrices, both alphabets switched by the Ctrl keys, and a paused machine.

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QtTest>

#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"
#include "platform/KeyboardLayout.hpp"
#include "ui/MainMenu.hpp"
#include "ui/LogWindow.hpp"

using namespace ostrovik;
using test::MainWindowRig;

namespace {

// xkb key codes and key symbols of the two Ctrl keys and of the key that
// carries A (Ф in the Russian layout).
constexpr quint32 kLeftCtrlCode = 37, kRightCtrlCode = 105, kKeyACode = 38;
constexpr quint32 kLeftCtrlSym = 0xffe3, kRightCtrlSym = 0xffe4, kCyrillicEfSym = 0x6c6;
constexpr quint32 kControlMask = 0x4;

void send(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 code,
          quint32 sym, const QString& text = {}, bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, code, sym, modifiers.testFlag(Qt::ControlModifier) ? kControlMask : 0, text,
                    autoRepeat);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TypingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keysReachTheMatrices();
    void ctrlKeysSwitchTheAlphabetTheRomTypes();
    void pausedMachineIgnoresPressesButTakesReleases();
    void keysWhileAMenuIsOpenStayOutOfTheMachine();

private:
    /// Where the desktop delivers key events: the window with the focus.
    QWidget* target() const { return QApplication::focusWidget(); }
    void type(Qt::Key key);
    void tapCtrl(quint32 code, quint32 sym);

    std::unique_ptr<MainWindowRig> rig_;
};

void TypingTest::init()
{
    platform::activeKeyboardLayout().load(platform::kLayoutUS);
    rig_ = std::make_unique<MainWindowRig>();
    QVERIFY(rig_->powerOn());
    rig_->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig_->window.get()));
    QCOMPARE(target(), static_cast<QWidget*>(rig_->window.get()));
}

void TypingTest::cleanup()
{
    rig_.reset();
    platform::activeKeyboardLayout().load(platform::kLayoutUS);
}

void TypingTest::type(Qt::Key key)
{
    QTest::keyPress(target(), key);
    QTest::keyRelease(target(), key);
    // The ROM sees the release at its next scan.
    rig_->runTicks(3);
}

void TypingTest::tapCtrl(quint32 code, quint32 sym)
{
    send(target(), QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, code, sym);
    send(target(), QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, code, sym);
    rig_->runTicks(3);
}

void TypingTest::keysReachTheMatrices()
{
    machine::Machine& m = rig_->m();
    const auto allClear = [&m] {
        return m.keyMatrix == decltype(m.keyMatrix){} && m.extKeyMatrix == decltype(m.extKeyMatrix){};
    };
    QVERIFY(allClear());

    // A: main matrix row 6, bit 4; F1: extra matrix row 1, bit 2.
    QTest::keyPress(target(), Qt::Key_A);
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0x10});
    QTest::keyPress(target(), Qt::Key_F1);
    QCOMPARE(m.extKeyMatrix[1], std::uint8_t{0x04});
    QTest::keyRelease(target(), Qt::Key_F1);
    QTest::keyRelease(target(), Qt::Key_A);
    QVERIFY(allClear());

    // Shift and Enter; the desktop's repeat of a held key releases nothing.
    QTest::keyPress(target(), Qt::Key_Shift);
    QCOMPARE(m.keyMatrix[7], std::uint8_t{0x01});
    QTest::keyPress(target(), Qt::Key_Return);
    QCOMPARE(m.keyMatrix[1], std::uint8_t{0x08});
    send(target(), QEvent::KeyRelease, Qt::Key_Return, Qt::ShiftModifier, 36, 0xff0d, QStringLiteral("\r"), true);
    send(target(), QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, 36, 0xff0d, QStringLiteral("\r"), true);
    QCOMPARE(m.keyMatrix[1], std::uint8_t{0x08});
    QTest::keyRelease(target(), Qt::Key_Return);
    QTest::keyRelease(target(), Qt::Key_Shift);
    QVERIFY(allClear());

    // Left Ctrl holds the RUS key (row 6, bit 1) only while the machine
    // runs for it; right Ctrl the LAT key (row 3, bit 5).
    send(target(), QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kLeftCtrlCode, kLeftCtrlSym);
    QCOMPARE(platform::activeKeyboardLayout().name(), std::string(platform::kLayoutRussian));
    QCOMPARE(m.cyrillicLayout, std::uint8_t{1});
    QVERIFY(allClear());
    send(target(), QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kRightCtrlCode, kRightCtrlSym);
    QCOMPARE(platform::activeKeyboardLayout().name(), std::string(platform::kLayoutUS));
    QCOMPARE(m.cyrillicLayout, std::uint8_t{0});
    QVERIFY(allClear());
}

void TypingTest::ctrlKeysSwitchTheAlphabetTheRomTypes()
{
    rig_->window->showLogWindow();
    // Typing takes the focus back from the log window.
    rig_->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig_->window.get()));
    machine::Machine& m = rig_->m();
    m.logLine.clear();

    type(Qt::Key_A);
    QCOMPARE(QByteArray::fromStdString(m.logLine), QByteArray("A"));

    // After left Ctrl the same key is the Cyrillic letter on it: Ф, code 66h.
    tapCtrl(kLeftCtrlCode, kLeftCtrlSym);
    type(Qt::Key_A);
    QCOMPARE(m.ram[0xBE02], std::uint8_t{1}); // the ROM's alphabet: Cyrillic
    QCOMPARE(m.ram[0xBE41], std::uint8_t{0x66});
    // The desktop in its Russian layout sends that key as the letter itself.
    send(target(), QEvent::KeyPress, 0x0424, Qt::NoModifier, kKeyACode, kCyrillicEfSym, QStringLiteral("ф"));
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0x80});
    send(target(), QEvent::KeyRelease, 0x0424, Qt::NoModifier, kKeyACode, kCyrillicEfSym, QStringLiteral("ф"));
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0});
    rig_->runTicks(3);

    // Right Ctrl: Latin again.
    tapCtrl(kRightCtrlCode, kRightCtrlSym);
    type(Qt::Key_A);
    QCOMPARE(m.ram[0xBE02], std::uint8_t{0});
    QCOMPARE(QByteArray::fromStdString(m.logLine), QByteArray("A\xD4\xD4" "A"));

    type(Qt::Key_Return);
    const QStringList lines = rig_->window->logWindow()->logTextView->toPlainText().split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(QStringLiteral("AФФA")), qPrintable(lines.join(QLatin1Char('|'))));
}

void TypingTest::pausedMachineIgnoresPressesButTakesReleases()
{
    machine::Machine& m = rig_->m();
    QTest::keyPress(target(), Qt::Key_A);
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0x10});

    rig_->window->togglePause();
    QCOMPARE(m.paused, std::uint8_t{1});
    const int pc = m.regPC;
    const std::int32_t clock = m.clock;
    QTest::keyPress(target(), Qt::Key_B);
    QCOMPARE(m.keyMatrix[3], std::uint8_t{0});
    QCOMPARE(m.regPC, pc);
    QCOMPARE(m.clock, clock);
    QTest::keyRelease(target(), Qt::Key_A);
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0});
    QTest::keyRelease(target(), Qt::Key_B);

    // Running again, the machine never saw B.
    rig_->window->togglePause();
    QCOMPARE(m.paused, std::uint8_t{0});
    rig_->runTicks(5);
    QCOMPARE(m.ram[0xBE40], std::uint8_t{'A'});
    QCOMPARE(m.ram[0xBE41], std::uint8_t{0});
}

void TypingTest::keysWhileAMenuIsOpenStayOutOfTheMachine()
{
    ui::MainWindow& w = *rig_->window;
    const auto anyKeyHeld = [this] {
        const machine::Machine& m = rig_->m();
        return std::any_of(m.keyMatrix.begin(), m.keyMatrix.end(), [](auto row) { return row != 0; }) ||
               std::any_of(m.extKeyMatrix.begin(), m.extKeyMatrix.end(), [](auto row) { return row != 0; });
    };
    QMenu* file = w.menus().submenu(ui::menu::FileMenu);
    QVERIFY(file);
    struct Case {
        const char* how;
        std::function<void()> open, close;
        std::function<bool()> isOpen;
    };
    const Case cases[] = {
        {"a menu dropped down", [&] { file->popup(w.mapToGlobal(QPoint(10, 10))); }, [&] { file->close(); },
         [] { return QApplication::activePopupWidget() != nullptr; }},
        {"a menu of the menu bar", [&] { w.menuBar()->setActiveAction(file->menuAction()); },
         [&] {
             if (QWidget* popup = QApplication::activePopupWidget())
                 popup->close();
             w.menuBar()->setActiveAction(nullptr);
         },
         [&] { return w.menuBar()->activeAction() != nullptr || QApplication::activePopupWidget() != nullptr; }},
    };
    for (const Case& c : cases) {
        c.open();
        QTRY_VERIFY2_WITH_TIMEOUT(c.isOpen(), c.how, ostrovik::test::kHangGuardMs);
        QTest::keyPress(&w, Qt::Key_A);
        QVERIFY2(!anyKeyHeld(), c.how);
        QTest::keyRelease(&w, Qt::Key_A);
        c.close();
        QTRY_VERIFY2_WITH_TIMEOUT(!c.isOpen(), c.how, ostrovik::test::kHangGuardMs);
        w.activateWindow();
        // With the menu closed the same key reaches the machine again.
        QTest::keyPress(&w, Qt::Key_A);
        QVERIFY2(anyKeyHeld(), c.how);
        QTest::keyRelease(&w, Qt::Key_A);
        QVERIFY2(!anyKeyHeld(), c.how);
    }
}

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
