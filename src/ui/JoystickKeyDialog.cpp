#include "ui/JoystickKeyDialog.hpp"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/KeyMap.hpp"
#include "settings/SettingsSchema.hpp"
#include "settings/SettingsStore.hpp"
#include "kit/CentreOnOwner.hpp"

namespace ostrovik::ui {

using kit::centreOnOwner;

std::uint16_t JoystickKeyDialog::capturedKey = 0;

ClickPanel::ClickPanel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
}

void ClickPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

JoystickKeyDialog::JoystickKeyDialog(QWidget& owner, settings::SettingsStore& store)
    : QDialog(&owner, Qt::Dialog | Qt::FramelessWindowHint), owner_(owner), store_(store)
{
    setObjectName(QStringLiteral("JoyKeySetup"));
    setFixedSize(kClientWidth, kClientHeight);
    setFocusPolicy(Qt::StrongFocus);
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    setFont(font);

    // The one-pixel border, and the raised bevel inside it.
    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    border->setLineWidth(1);
    border->setGeometry(0, 0, kClientWidth, kClientHeight);
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("frame"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(1);
    bevel->setGeometry(1, 1, kClientWidth - 2, kClientHeight - 2);

    promptLabel = new QLabel(QStringLiteral("Press a Key for Joystik:"), this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->setGeometry(10, 8, 130, 16);

    targetLabel = new QLabel(this);
    targetLabel->setObjectName(QStringLiteral("targetLabel"));
    QFont bold = font;
    bold.setBold(true);
    targetLabel->setFont(bold);
    targetLabel->setGeometry(142, 8, 100, 16);

    keyLabel = new QLabel(QStringLiteral("NONE"), this);
    keyLabel->setObjectName(QStringLiteral("keyLabel"));
    QFont large = font;
    large.setPointSize(18);
    large.setBold(true);
    keyLabel->setFont(large);
    keyLabel->setAlignment(Qt::AlignCenter);
    keyLabel->setAutoFillBackground(true);
    keyLabel->setGeometry(10, 30, 190, 52);
    setKeyBackground(Qt::white);

    okPanel = new ClickPanel(QStringLiteral("OK"), this);
    okPanel->setObjectName(QStringLiteral("okPanel"));
    okPanel->setFont(bold);
    okPanel->setGeometry(208, 30, 64, 52);
    connect(okPanel, &ClickPanel::clicked, this, [this] { acceptKey(); });

    closePanel = new ClickPanel(QStringLiteral("X"), this);
    closePanel->setObjectName(QStringLiteral("closePanel"));
    closePanel->setGeometry(kClientWidth - 19, 3, 16, 16);
    connect(closePanel, &ClickPanel::clicked, this, [this] { cancelKey(); });
}

void JoystickKeyDialog::setKeyBackground(const QColor& colour)
{
    QPalette p = keyLabel->palette();
    p.setColor(QPalette::Window, colour);
    keyLabel->setPalette(p);
}

void JoystickKeyDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the settings window, which opened it.
    centreOnOwner(*this, owner_);
    keyPressed_ = false;
    formActivate();
    setFocus();
}

void JoystickKeyDialog::formActivate()
{
    setKeyBackground(Qt::white);
}

void JoystickKeyDialog::keyPressEvent(QKeyEvent* event)
{
    // Every key is a candidate, Esc and Enter included: neither closes.
    const std::uint16_t key = platform::virtualKeyOf(*event).vk;
    if (key != 0)
        pressKey(key);
    event->accept();
}

bool JoystickKeyDialog::focusNextPrevChild(bool)
{
    // Tab is a key to capture, not a move to the next control.
    return false;
}

void JoystickKeyDialog::pressKey(std::uint16_t key)
{
    keyLabel->setText(QString::fromStdString(settings::keyNameOf(key)));
    capturedKey = key;
    keyPressed_ = true;
    // Red shows that a key has been taken.
    setKeyBackground(Qt::red);
}

void JoystickKeyDialog::acceptKey()
{
    // Without a key pressed since the dialog opened, the binding stays as it
    // was (and not the key of an earlier opening).
    const int index = bindingIndex - 1;
    if (keyPressed_ && index >= 0 && index < static_cast<int>(settings::kJoyKeys.size()))
        store_.setJoystickVirtualKey(static_cast<std::size_t>(index), capturedKey);
    accept();
}

void JoystickKeyDialog::cancelKey()
{
    reject();
}

} // namespace ostrovik::ui
