#include "debugger/qt/TDebaggerStepForm.hpp"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "machine/EmulatorControl.hpp"
#include "debugger/HexText.hpp"
#include "debugger/Numbers.hpp"
#include "debugger/qt/KeyFilter.hpp"
#include "debugger/qt/ListingGrid.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::debugger {

namespace {

/// At least two upper-case hex digits, more when the value needs them.
QString registerHex(std::int32_t value)
{
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QToolButton* speedButton(const QString& text, const char* name)
{
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QLineEdit* shortEdit(const QString& text, const char* name)
{
    auto* e = new QLineEdit(text);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(4);
    e->setFixedWidth(48);
    // Backspace and hex digits; F8 and F9 typed here do nothing.
    e->installEventFilter(new KeyFilter(KeyFilter::hexDigits(), true, false, e));
    return e;
}

} // namespace

TDebaggerStepForm::TDebaggerStepForm(machine::EmulatorControl& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("DebaggerStepForm"));
    setWindowTitle(QStringLiteral("DebaggerStepbyStep"));
    resize(560, 520);

    auto* bar = new QHBoxLayout;
    auto* runFrom = speedButton(QStringLiteral("Run from"), "SpeedButton1");
    Edit12 = shortEdit(QStringLiteral("0000"), "Edit12");
    // Typed letters show in upper case.
    connect(Edit12, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = Edit12->cursorPosition();
        Edit12->setText(text.toUpper());
        Edit12->setCursorPosition(cursor);
    });
    auto* pause = speedButton(QStringLiteral("Pause"), "SpeedButton2");
    pause->setEnabled(false);
    auto* oneStep = speedButton(QStringLiteral("One step (F8)"), "SpeedButton3");
    auto* stepOver = speedButton(QStringLiteral("Step over (F9)"), "SpeedButton4");
    Edit13 = shortEdit(QStringLiteral("50"), "Edit13");
    Edit12->installEventFilter(this);
    Edit13->installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{runFrom, Edit12, pause, oneStep, stepOver, Edit13})
        bar->addWidget(w);
    bar->addStretch();
    connect(runFrom, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton1Click(); }); });
    connect(oneStep, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton3Click(); }); });
    connect(stepOver, &QToolButton::clicked, this, [this] { handle([this] { SpeedButton4Click(); }); });

    StringGridAss = new ListingGrid;
    auto* breakPoint = new QAction(QStringLiteral("Break point"), StringGridAss);
    breakPoint->setObjectName(QStringLiteral("Breakpoint1"));
    StringGridAss->addAction(breakPoint);
    StringGridAss->setContextMenuPolicy(Qt::ActionsContextMenu);
    StringGridAss->installEventFilter(this);

    auto* panel = new QGridLayout;
    const char* const captions[12] = {"A =", "F =", "B =", "C =", "D =", "E =", "H =", "L =", "SP =", "PC =",
                                      "Clock =", "Ports ="};
    // The view's order on screen and the edit each label names.
    const int edits[11] = {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 10};
    for (int i = 0; i < 11; ++i) {
        Edits[i] = new QLineEdit(QStringLiteral("0"));
        Edits[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        Edits[i]->setFixedWidth(90);
    }
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int row = 0; row < 12; ++row) {
        auto* label = new QLabel(QString::fromLatin1(captions[row]));
        label->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
        panel->addWidget(label, row, 0);
        panel->addWidget(row < 11 ? static_cast<QWidget*>(Edits[edits[row]]) : ComboBox1, row, 1);
    }
    panel->setRowStretch(12, 1);

    auto* centre = new QHBoxLayout;
    centre->addWidget(StringGridAss, 1);
    centre->addLayout(panel);

    auto* status = new QStatusBar;
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(bar);
    layout->addLayout(centre, 1);
    layout->addWidget(status);
    setFocusProxy(StringGridAss);
    // The listing, not the first field, has the keys when the window opens:
    // F8 and F9 step at once.
    StringGridAss->setFocus();

    FormCreate();
}

void TDebaggerStepForm::handle(const std::function<void()>& handler)
{
    host_.runGuarded(handler);
}

void TDebaggerStepForm::FormCreate()
{
    refreshListing();
    ShowABCD_PC_SP();
}

void TDebaggerStepForm::refreshListing()
{
    const machine::Machine& m = host_.machine();
    StringGridAss->AssFromTo(Memory(m.RAM), m.r_PC, m.r_PC + 80);
}

void TDebaggerStepForm::ShowABCD_PC_SP()
{
    const machine::Machine& m = host_.machine();
    const std::int32_t registers[10] = {m.r_A, m.r_B, m.r_C, m.r_D, m.r_E, m.r_H, m.r_L, m.r_SP, m.r_PC, m.r_F};
    for (int i = 0; i < 10; ++i)
        Edits[i]->setText(registerHex(registers[i]));
    Edits[10]->setText(QString::number(m.clock));
    ComboBox1->clear();
    QStringList ports;
    for (unsigned p = 0; p < 256; ++p)
        ports.append(QString::fromStdString(hex2(p) + "=" + hex2(m.Ports[p])));
    ComboBox1->addItems(ports);
    ComboBox1->setCurrentIndex(0);
}

void TDebaggerStepForm::SpeedButton3Click()
{
    refreshListing();
    ShowABCD_PC_SP();
    machine::Machine& m = host_.machine();
    m.i8080_do_opcodes(1);
    host_.presentScreen();
}

void TDebaggerStepForm::SpeedButton4Click()
{
    const std::int32_t n = StrToInt(Edit13->text().toStdString());
    machine::Machine& m = host_.machine();
    m.i8080_do_opcodes(n);
    host_.presentScreen();
    refreshListing();
    ShowABCD_PC_SP();
}

void TDebaggerStepForm::SpeedButton1Click()
{
    host_.machine().r_PC = HexToInt(Edit12->text().toStdString());
    SpeedButton3Click();
}

void TDebaggerStepForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Minimising is not hiding: the machine stays paused.
    if (!event->spontaneous())
        host_.machine().Paused = 0;
}

void TDebaggerStepForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F8) {
        handle([this] { SpeedButton3Click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TDebaggerStepForm::eventFilter(QObject* watched, QEvent* event)
{
    // F8 and F9 typed into a field go no further than the field.
    if ((watched == Edit12 || watched == Edit13) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_F8 || key == Qt::Key_F9;
    }
    if (watched == StringGridAss && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F8) {
            handle([this] { SpeedButton3Click(); });
            return true;
        }
        if (key == Qt::Key_F9) {
            handle([this] { SpeedButton4Click(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ostrovik::debugger
