#include "platform/qt/KeyMap.hpp"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

using namespace ostrovik::platform;

namespace {

KeyStroke strokeOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scanCode = 0,
              quint32 keySym = 0, const QString& text = {})
{
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, keySym, 0, text);
    return virtualKeyOf(event);
}

std::uint16_t vkOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scanCode = 0)
{
    return strokeOf(key, modifiers, scanCode).vk;
}

// A window that records the keys it is sent.
class KeyWindow : public QWidget {
public:
    std::vector<KeyStroke> pressed;

protected:
    void keyPressEvent(QKeyEvent* event) override { pressed.push_back(virtualKeyOf(*event)); }
};

} // namespace

class KeyMapTest : public QObject {
    Q_OBJECT
private slots:
    void lettersAndDigits();
    void punctuationByTheUsLegend();
    void russianLayoutByPosition();
    void numericKeypad();
    void functionEditingAndCursorKeys();
    void leftAndRightCtrl();
    void otherPairedKeys();
    void eventsDeliveredToAWindow();
};

void KeyMapTest::lettersAndDigits()
{
    for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) {
        QCOMPARE(vkOf(key), std::uint16_t(key));
        QCOMPARE(vkOf(key, Qt::ShiftModifier), std::uint16_t(key));
    }
    for (int key = Qt::Key_0; key <= Qt::Key_9; ++key) {
        QCOMPARE(vkOf(key), std::uint16_t(key));
    }
    // A Latin letter counts by its legend wherever the layout puts it
    // (the French layout's A on the US Q key, keycode 24).
    QCOMPARE(vkOf(Qt::Key_A, Qt::NoModifier, 24), std::uint16_t('A'));
    QCOMPARE(vkOf(Qt::Key_Q, Qt::ControlModifier, 24), std::uint16_t('Q'));
    // Shifted digits keep the digit's key, with or without the position.
    QCOMPARE(vkOf(Qt::Key_Exclam, Qt::ShiftModifier), std::uint16_t('1'));
    QCOMPARE(vkOf(Qt::Key_ParenRight, Qt::ShiftModifier, 19), std::uint16_t('0'));
    QCOMPARE(vkOf(Qt::Key_AsciiCircum, Qt::ShiftModifier), std::uint16_t('6'));
    QCOMPARE(vkOf(Qt::Key_Asterisk, Qt::ShiftModifier), std::uint16_t('8'));
}

void KeyMapTest::punctuationByTheUsLegend()
{
    const struct {
        int plain, shifted;
        quint32 keycode;
        std::uint16_t vk;
    } keys[] = {
        {Qt::Key_Semicolon, Qt::Key_Colon, 47, VK_OEM_1},
        {Qt::Key_Equal, Qt::Key_Plus, 21, VK_OEM_PLUS},
        {Qt::Key_Comma, Qt::Key_Less, 59, VK_OEM_COMMA},
        {Qt::Key_Minus, Qt::Key_Underscore, 20, VK_OEM_MINUS},
        {Qt::Key_Period, Qt::Key_Greater, 60, VK_OEM_PERIOD},
        {Qt::Key_Slash, Qt::Key_Question, 61, VK_OEM_2},
        {Qt::Key_QuoteLeft, Qt::Key_AsciiTilde, 49, VK_OEM_3},
        {Qt::Key_BracketLeft, Qt::Key_BraceLeft, 34, VK_OEM_4},
        {Qt::Key_Backslash, Qt::Key_Bar, 51, VK_OEM_5},
        {Qt::Key_BracketRight, Qt::Key_BraceRight, 35, VK_OEM_6},
        {Qt::Key_Apostrophe, Qt::Key_QuoteDbl, 48, VK_OEM_7},
    };
    for (const auto& k : keys) {
        QCOMPARE(vkOf(k.plain), k.vk);
        QCOMPARE(vkOf(k.shifted, Qt::ShiftModifier), k.vk);
        QCOMPARE(vkOf(k.plain, Qt::NoModifier, k.keycode), k.vk);
        QCOMPARE(vkOf(k.shifted, Qt::ShiftModifier, k.keycode), k.vk);
    }
    QCOMPARE(vkOf(Qt::Key_Less, Qt::NoModifier, 94), std::uint16_t(VK_OEM_102)); // the 102nd key
    QCOMPARE(vkOf(Qt::Key_Space), std::uint16_t(VK_SPACE));
}

void KeyMapTest::russianLayoutByPosition()
{
    // With the Russian desktop layout the key events carry Cyrillic letters.
    QCOMPARE(vkOf(0x0424 /* Ф */, Qt::NoModifier, 38), std::uint16_t('A'));
    QCOMPARE(vkOf(0x0419 /* Й */, Qt::ShiftModifier, 24), std::uint16_t('Q'));
    QCOMPARE(vkOf(0x0416 /* Ж */, Qt::NoModifier, 47), std::uint16_t(VK_OEM_1));
    QCOMPARE(vkOf(0x042E /* Ю */, Qt::NoModifier, 60), std::uint16_t(VK_OEM_PERIOD));
    QCOMPARE(vkOf(0x0401 /* Ё */, Qt::NoModifier, 49), std::uint16_t(VK_OEM_3));
    // Its punctuation lies elsewhere than on a US keyboard; the position counts:
    // "." is on the US "/" key, "№" on the 3 key.
    QCOMPARE(vkOf(Qt::Key_Period, Qt::NoModifier, 61), std::uint16_t(VK_OEM_2));
    QCOMPARE(vkOf(0x2116 /* № */, Qt::ShiftModifier, 12), std::uint16_t('3'));
    // Without a scan code (an event made by a program) the letter tells the key.
    QCOMPARE(vkOf(0x0424), std::uint16_t('A'));
    QCOMPARE(vkOf(0x0445 /* х */), std::uint16_t(VK_OEM_4));
    QCOMPARE(vkOf(0x042F /* Я */), std::uint16_t('Z'));
    QCOMPARE(vkOf(0x2116), std::uint16_t(0));
}

void KeyMapTest::numericKeypad()
{
    QCOMPARE(vkOf(Qt::Key_Asterisk, Qt::KeypadModifier, 63), std::uint16_t(VK_MULTIPLY));
    QCOMPARE(vkOf(Qt::Key_Plus, Qt::KeypadModifier, 86), std::uint16_t(VK_ADD));
    QCOMPARE(vkOf(Qt::Key_Minus, Qt::KeypadModifier, 82), std::uint16_t(VK_SUBTRACT));
    QCOMPARE(vkOf(Qt::Key_Slash, Qt::KeypadModifier, 106), std::uint16_t(VK_DIVIDE));
    QCOMPARE(vkOf(Qt::Key_Period, Qt::KeypadModifier, 91), std::uint16_t(VK_DECIMAL));
    QCOMPARE(vkOf(Qt::Key_Enter, Qt::KeypadModifier, 104), std::uint16_t(VK_RETURN));
    QCOMPARE(vkOf(Qt::Key_0, Qt::KeypadModifier, 90), std::uint16_t(VK_NUMPAD0));
    QCOMPARE(vkOf(Qt::Key_7, Qt::KeypadModifier, 79), std::uint16_t(VK_NUMPAD0 + 7));
    // Num Lock off: the keypad's cursor keys.
    QCOMPARE(vkOf(Qt::Key_Home, Qt::KeypadModifier, 79), std::uint16_t(VK_HOME));
    QCOMPARE(vkOf(Qt::Key_Insert, Qt::KeypadModifier, 90), std::uint16_t(VK_INSERT));
    QCOMPARE(vkOf(Qt::Key_Clear, Qt::KeypadModifier, 84), std::uint16_t(VK_CLEAR));
    // The main block's minus and plus are other keys.
    QCOMPARE(vkOf(Qt::Key_Minus), std::uint16_t(VK_OEM_MINUS));
    QCOMPARE(vkOf(Qt::Key_Plus, Qt::ShiftModifier, 21), std::uint16_t(VK_OEM_PLUS));
}

void KeyMapTest::functionEditingAndCursorKeys()
{
    for (int i = 0; i < 24; ++i) {
        QCOMPARE(vkOf(Qt::Key_F1 + i), std::uint16_t(VK_F1 + i));
    }
    QCOMPARE(vkOf(Qt::Key_F5, Qt::NoModifier, 71), std::uint16_t(116));
    const std::pair<int, std::uint16_t> keys[] = {
        {Qt::Key_Left, 37},   {Qt::Key_Up, 38},       {Qt::Key_Right, 39},    {Qt::Key_Down, 40},
        {Qt::Key_Home, 36},   {Qt::Key_End, 35},      {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34},
        {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},   {Qt::Key_Print, 44},    {Qt::Key_Help, 47},
        {Qt::Key_Escape, 27}, {Qt::Key_Return, 13},   {Qt::Key_Space, 32},    {Qt::Key_Backspace, 8},
        {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},   {Qt::Key_CapsLock, 20}, {Qt::Key_Pause, 19},
        {Qt::Key_Menu, 93},   {Qt::Key_NumLock, 144}, {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18},
    };
    for (const auto& [key, vk] : keys) {
        QCOMPARE(vkOf(key), vk);
    }
    QCOMPARE(vkOf(Qt::Key_VolumeUp), std::uint16_t(0));
    QCOMPARE(vkOf(Qt::Key_unknown), std::uint16_t(0));
    QCOMPARE(vkOf(0), std::uint16_t(0));
}

void KeyMapTest::leftAndRightCtrl()
{
    QCOMPARE(strokeOf(Qt::Key_Control, Qt::ControlModifier, 37), (KeyStroke{VK_CONTROL, KeySide::Left}));
    QCOMPARE(strokeOf(Qt::Key_Control, Qt::ControlModifier, 105), (KeyStroke{VK_CONTROL, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_Control, Qt::ControlModifier, 0, 0xffe3), (KeyStroke{VK_CONTROL, KeySide::Left}));
    QCOMPARE(strokeOf(Qt::Key_Control, Qt::ControlModifier, 0, 0xffe4), (KeyStroke{VK_CONTROL, KeySide::Right}));
    // The scan code wins; a Ctrl that says nothing is the left one.
    QCOMPARE(strokeOf(Qt::Key_Control, Qt::ControlModifier, 105, 0xffe3).side, KeySide::Right);
    QCOMPARE(strokeOf(Qt::Key_Control).side, KeySide::Left);
    // Other keys have no side.
    QCOMPARE(strokeOf(Qt::Key_A, Qt::ControlModifier, 38).side, KeySide::None);
}

void KeyMapTest::otherPairedKeys()
{
    QCOMPARE(strokeOf(Qt::Key_Shift, Qt::ShiftModifier, 50), (KeyStroke{VK_SHIFT, KeySide::Left}));
    QCOMPARE(strokeOf(Qt::Key_Shift, Qt::ShiftModifier, 62), (KeyStroke{VK_SHIFT, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_Shift, Qt::ShiftModifier, 0, 0xffe2), (KeyStroke{VK_SHIFT, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_Alt, Qt::AltModifier, 64), (KeyStroke{VK_MENU, KeySide::Left}));
    QCOMPARE(strokeOf(Qt::Key_Alt, Qt::AltModifier, 108), (KeyStroke{VK_MENU, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_AltGr, Qt::NoModifier, 108, 0xfe03), (KeyStroke{VK_MENU, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_Meta, Qt::MetaModifier, 133), (KeyStroke{VK_LWIN, KeySide::Left}));
    QCOMPARE(strokeOf(Qt::Key_Meta, Qt::MetaModifier, 134), (KeyStroke{VK_RWIN, KeySide::Right}));
    QCOMPARE(strokeOf(Qt::Key_Super_R), (KeyStroke{VK_RWIN, KeySide::Right}));
}

void KeyMapTest::eventsDeliveredToAWindow()
{
    KeyWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto last = [&] { return window.pressed.empty() ? KeyStroke{0xFFFF} : window.pressed.back(); };
    QTest::keyClick(&window, Qt::Key_F5);
    QCOMPARE(last().vk, std::uint16_t(VK_F1 + 4));
    QTest::keyClick(&window, 'j');
    QCOMPARE(last().vk, std::uint16_t('J'));
    QTest::keyClick(&window, Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(last().vk, std::uint16_t(VK_MULTIPLY));
    QTest::keyClick(&window, Qt::Key_Control);
    QCOMPARE(last(), (KeyStroke{VK_CONTROL, KeySide::Left}));
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 105, 0xffe4, 0);
    QCoreApplication::sendEvent(&window, &right);
    QCOMPARE(last(), (KeyStroke{VK_CONTROL, KeySide::Right}));
}

QTEST_MAIN(KeyMapTest)
#include "key_map_test.moc"
