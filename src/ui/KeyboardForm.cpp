#include "ui/KeyboardForm.hpp"

#include <QLabel>
#include <QPixmap>
#include <QShowEvent>
#include <QToolButton>

#include "machine/KeyTables.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/VirtualKeys.hpp"
#include "ui/KeyboardLayoutTable.hpp"
#include "machine/Machine.hpp"
#include "kit/WindowHost.hpp"
#include "kit/CentreOnOwner.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::centreOnOwner;
using kit::WindowHost;
using kit::fromUtf8;

KeyboardForm::KeyboardForm(WindowHost& host, std::function<void(std::uint16_t)> typeKey)
    : QWidget(&host.mainWindow(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host), typeKey_(std::move(typeKey))
{
    setObjectName(QStringLiteral("KeyboardForm"));
    setWindowTitle(QStringLiteral("Keyboard"));
    setFixedSize(kClientWidth, kClientHeight);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setGeometry(0, 0, kClientWidth, kClientHeight);
    picture_->setScaledContents(true);
    picture_->setPixmap(QPixmap::fromImage(keyboardPicture()));

    QFont small(QStringLiteral("Tahoma"), 7);
    small.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    for (int i = 0; i < kKeyCount; ++i) {
        const KeyboardKey& key = kKeyboardKeys[static_cast<std::size_t>(i)];
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("key%1").arg(i + 1));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(small);
        b->setText(fromUtf8(key.caption));
        b->setGeometry(key.left, key.top, key.width, kKeyHeight);
        // Transparent: the picture shows through, the button only answers clicks.
        b->setStyleSheet(QStringLiteral("QToolButton { background: transparent; border: none; color: #3a2410; }"
                                        "QToolButton:hover { border: 1px solid #ffd860; }"
                                        "QToolButton:pressed { background: rgba(255, 216, 96, 90); }"));
        connect(b, &QToolButton::clicked, this, [this, number = i + 1] {
            host_.runGuarded([&] { pressKey(number); });
        });
        buttons_[static_cast<std::size_t>(i)] = b;
    }
}

void KeyboardForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Centred when first shown only: afterwards it comes back where the
    // user put it.
    if (!event->spontaneous() && !placed_) {
        placed_ = true;
        centreOnMainForm();
    }
}

void KeyboardForm::centreOnMainForm()
{
    centreOnOwner(*this, host_.mainWindow());
}

std::uint16_t KeyboardForm::keyForCharacter(char character)
{
    const std::optional<platform::KeyScan> us = platform::vkKeyScanUs(character);
    if (!us)
        return 0;
    if (platform::activeKeyboardLayout().name() != platform::kLayoutRussian)
        return us->vk;
    // The Russian layout has no Latin letters. The key that plays the same
    // machine key under the Cyrillic table types it instead (Й/J is the PC
    // key Q there); a machine key the Cyrillic table cannot reach is not typed.
    const machine::KeyMask wanted = machine::keyMaskOf(us->vk, 0);
    if (wanted == machine::KEYMASK_NONE)
        return 0;
    for (std::uint16_t vk = 8; vk <= 222; ++vk)
        if (machine::keyMaskOf(vk, 1) == wanted)
            return vk;
    return 0;
}

void KeyboardForm::typeKey(std::uint8_t key)
{
    typeKey_(key);
}

void KeyboardForm::typeText(std::string_view text)
{
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        host_.mainWindow().activateWindow();
        host_.mainWindow().setFocus();
        if (const std::uint16_t vk = keyForCharacter(c))
            typeKey(static_cast<std::uint8_t>(vk));
    }
}

void KeyboardForm::pressKey(int number)
{
    const KeyboardKey& key = kKeyboardKeys.at(static_cast<std::size_t>(number - 1));
    switch (key.action) {
    case KeyAction::None:
        return;
    case KeyAction::TestText:
        typeText(kTestText);
        return;
    case KeyAction::Matrix: {
        // Straight into the matrix, even while the machine is paused; the
        // focus stays where it is.
        host_.tapMatrixKey(key.value);
        return;
    }
    case KeyAction::Character:
    case KeyAction::Code: {
        host_.mainWindow().activateWindow();
        host_.mainWindow().setFocus();
        const std::uint16_t vk =
            key.action == KeyAction::Code ? key.value : keyForCharacter(static_cast<char>(key.value));
        if (vk)
            typeKey(static_cast<std::uint8_t>(vk));
        return;
    }
    }
}

} // namespace ostrovik::ui
