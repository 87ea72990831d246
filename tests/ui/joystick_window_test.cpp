// The joystick tool button on SDL's real driver with a virtual controller,
// and the key-capture dialog the settings window's joystick buttons open.
// The capture's clock is the test's: each poll is one tick, judged at once.

#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "platform/sdl/SdlJoystick.hpp"
#include "support/MainWindowRig.hpp"
#include "support/ManualPollClock.hpp"
#include "support/VirtualJoystick.hpp"
#include "ui/JoystickKeyDialog.hpp"
#include "ui/MainMenu.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

using namespace ostrovik;
using test::MainWindowRig;

using VirtualPad = test::VirtualJoystick;

class JoystickWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captureFailsWithNoJoystick();
    void padPlaysKeysAndAnUnplugReleasesThem();
    void keyCaptureDialog();

private:
    bool captured() const;
    /// Opens the dialog with @p button and lets @p act work inside it.
    void openDialog(QPushButton* button, std::function<void(ui::JoystickKeyDialog&)> act);

    std::unique_ptr<MainWindowRig> rig_;
    test::ManualPollClock clock_;
    std::unique_ptr<platform::SdlJoystick> joystick_;
};

void JoystickWindowTest::init()
{
    rig_ = std::make_unique<MainWindowRig>();
    QVERIFY(rig_->powerOn());
    joystick_ = std::make_unique<platform::SdlJoystick>(clock_);
    rig_->window->joystickCapture().setJoystick(joystick_.get());
}

void JoystickWindowTest::cleanup()
{
    rig_.reset();
    joystick_.reset();
}

bool JoystickWindowTest::captured() const
{
    ui::MainWindow& w = *rig_->window;
    const bool on = w.joystickCapture().captured();
    // The tool button's picture and the settings' joystick box follow the capture.
    if (w.menus().image(ui::menu::JoystickButton) != (on ? kit::Icon::Joystick : kit::Icon::JoystickCapture))
        return !on;
    if (w.settingsForm()->joystickGroup->isEnabled() != on)
        return !on;
    return on;
}

void JoystickWindowTest::captureFailsWithNoJoystick()
{
    rig_->window->toggleJoystickCapture();
    QCOMPARE(rig_->dialogs.messages, QStringList{QStringLiteral("Joystick is Unplugged")});
    QVERIFY(!captured());
    QCOMPARE(rig_->window->menus().image(ui::menu::JoystickButton), kit::Icon::JoystickCapture);
}

void JoystickWindowTest::padPlaysKeysAndAnUnplugReleasesThem()
{
    machine::Machine& m = rig_->m();
    auto pad = std::make_unique<VirtualPad>();
    QVERIFY(pad->ok());
    rig_->window->toggleJoystickCapture();
    QVERIFY(rig_->dialogs.messages.isEmpty());
    QVERIFY(captured());
    QVERIFY(clock_.running());
    QCOMPARE(clock_.period, 2 * platform::SdlJoystick::kPeriodMin);

    // Up-left: the up and left arrows (extra matrix row 3, bits 1 and 2),
    // at the next capture period.
    pad->axis(0, -32768);
    pad->axis(1, -32768);
    clock_.tick();
    QCOMPARE(m.extKeyMatrix[3], std::uint8_t{0x06});
    // Button 1 and 2: F (main row 6, bit 7) and Space (row 3, bit 0).
    pad->button(0, true);
    pad->button(1, true);
    clock_.tick();
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0x80});
    QCOMPARE(m.keyMatrix[3], std::uint8_t{0x01});

    // Unplugged with all of it held: nothing stays stuck, the capture ends.
    pad->unplug();
    clock_.tick();
    QVERIFY(!captured());
    QVERIFY(!clock_.running());
    QCOMPARE(m.extKeyMatrix[3], std::uint8_t{0});
    QCOMPARE(m.keyMatrix[6], std::uint8_t{0});
    QCOMPARE(m.keyMatrix[3], std::uint8_t{0});

    // Plugged in again, the tool button captures it; a second press releases.
    pad = std::make_unique<VirtualPad>();
    rig_->window->toggleJoystickCapture();
    QVERIFY(captured());
    pad->axis(0, 32767);
    clock_.tick();
    QCOMPARE(m.extKeyMatrix[3], std::uint8_t{0x01});
    pad->axis(0, 0);
    clock_.tick();
    QCOMPARE(m.extKeyMatrix[3], std::uint8_t{0});
    rig_->window->toggleJoystickCapture();
    QVERIFY(!captured());
    QVERIFY(rig_->dialogs.messages.isEmpty());
}

void JoystickWindowTest::openDialog(QPushButton* button, std::function<void(ui::JoystickKeyDialog&)> act)
{
    ui::JoystickKeyDialog& dialog = rig_->window->settingsForm()->joystickKeyDialog();
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isModal());
        act(dialog);
        // A dialog left open would hang the test.
        if (dialog.isVisible())
            dialog.reject();
    });
    button->click();
    QVERIFY(ran);
}

void JoystickWindowTest::keyCaptureDialog()
{
    ui::SettingsForm& settings = *rig_->window->settingsForm();
    // The key buttons work while a joystick is captured.
    QVERIFY(!settings.joystickGroup->isEnabled());
    VirtualPad pad;
    QVERIFY(pad.ok());
    rig_->window->toggleJoystickCapture();
    QVERIFY(captured());
    // Open for "UP", press Space, OK.
    openDialog(settings.joyUpButton, [](ui::JoystickKeyDialog& d) {
        QCOMPARE(d.targetLabel->text(), QStringLiteral("UP"));
        QCOMPARE(d.keyLabel->text(), QStringLiteral("NONE"));
        QCOMPARE(d.keyLabel->palette().color(QPalette::Window), QColor(Qt::white));
        QTest::keyClick(&d, Qt::Key_Space);
        QCOMPARE(d.keyLabel->text(), QStringLiteral("SPACE"));
        QCOMPARE(d.keyLabel->palette().color(QPalette::Window), QColor(Qt::red));
        QTest::mouseClick(d.okPanel, Qt::LeftButton);
    });
    QCOMPARE(settings.store().joystickVirtualKeys().joyKeyUp, std::uint16_t{32});
    QCOMPARE(settings.joyUpButton->text(), QStringLiteral("SPACE"));

    const struct {
        const char* name;
        QPushButton* button;
        std::size_t key; // up, down, left, right, 1 … 4
        std::uint16_t expected;
        QString caption;
        std::function<void(ui::JoystickKeyDialog&)> act;
    } cases[] = {
        {"F for button 1", settings.joyKey1Button, 4, 70, QStringLiteral("F"),
         [](ui::JoystickKeyDialog& d) {
             QCOMPARE(d.targetLabel->text(), QStringLiteral("1"));
             QTest::keyClick(&d, Qt::Key_F);
             QTest::mouseClick(d.okPanel, Qt::LeftButton);
         }},
        {"Tab is captured, not a focus move", settings.joyLeftButton, 2, 9, QStringLiteral("TAB"),
         [](ui::JoystickKeyDialog& d) {
             QTest::keyClick(&d, Qt::Key_Tab);
             QTest::mouseClick(d.okPanel, Qt::LeftButton);
         }},
        {"a key then X: nothing changes", settings.joyDownButton, 1, 40, QStringLiteral("DOWN"),
         [](ui::JoystickKeyDialog& d) {
             QTest::keyClick(&d, Qt::Key_Q);
             QTest::mouseClick(d.closePanel, Qt::LeftButton);
         }},
        {"NONE then OK keeps the binding", settings.joyKey4Button, 7, 71, QStringLiteral("G"),
         [](ui::JoystickKeyDialog& d) {
             // The key of the last opening (Q) is not put in its place.
             QCOMPARE(d.keyLabel->text(), QStringLiteral("NONE"));
             QTest::mouseClick(d.okPanel, Qt::LeftButton);
         }},
        {"Esc and Enter are keys too", settings.joyRightButton, 3, 13, QStringLiteral("ENTER"),
         [](ui::JoystickKeyDialog& d) {
             QTest::keyClick(&d, Qt::Key_Escape);
             QVERIFY(d.isVisible());
             QTest::keyClick(&d, Qt::Key_Return);
             QVERIFY(d.isVisible());
             QTest::mouseClick(d.okPanel, Qt::LeftButton);
         }},
    };
    for (const auto& c : cases) {
        openDialog(c.button, c.act);
        QVERIFY2(settings.store().joystickVirtualKey(c.key) == c.expected, c.name);
        QVERIFY2(c.button->text() == c.caption, c.name);
    }

    // Activating the settings window again keeps the captured keys; Save stores them.
    settings.activateWindow();
    QApplication::processEvents();
    QCOMPARE(settings.joyUpButton->text(), QStringLiteral("SPACE"));
    QVERIFY(settings.save());
    QCOMPARE(kit::readIni(settings::kJoyOptions, "KEY_JOY_UP"), QStringLiteral("32"));
    QCOMPARE(kit::readIni(settings::kJoyOptions, "KEY_JOY_RIGHT"), QStringLiteral("13"));
    QCOMPARE(kit::readIni(settings::kJoyOptions, "KEY_JOY_4"), QStringLiteral("71"));

    // The pad now plays Space for up.
    pad.axis(1, -32768);
    clock_.tick();
    QCOMPARE(rig_->m().keyMatrix[3], std::uint8_t{0x01});
    pad.axis(1, 0);
    clock_.tick();
    QCOMPARE(rig_->m().keyMatrix[3], std::uint8_t{0});
}

QTEST_MAIN(JoystickWindowTest)
#include "joystick_window_test.moc"
