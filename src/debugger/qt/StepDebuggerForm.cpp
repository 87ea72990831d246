#include "debugger/qt/StepDebuggerForm.hpp"

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

#include "kit/WindowHost.hpp"
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

StepDebuggerForm::StepDebuggerForm(kit::WindowHost& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("StepDebuggerForm"));
    setWindowTitle(QStringLiteral("DebaggerStepbyStep"));
    resize(560, 520);

    auto* bar = new QHBoxLayout;
    auto* runFromButton = speedButton(QStringLiteral("Run from"), "runFromButton");
    runFromEdit_ = shortEdit(QStringLiteral("0000"), "runFromEdit");
    // Typed letters show in upper case.
    connect(runFromEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = runFromEdit_->cursorPosition();
        runFromEdit_->setText(text.toUpper());
        runFromEdit_->setCursorPosition(cursor);
    });
    auto* pause = speedButton(QStringLiteral("Pause"), "pauseButton");
    pause->setEnabled(false);
    auto* stepButton = speedButton(QStringLiteral("One step (F8)"), "stepButton");
    auto* stepOverButton = speedButton(QStringLiteral("Step over (F9)"), "stepOverButton");
    tStatesEdit_ = shortEdit(QStringLiteral("50"), "tStatesEdit");
    runFromEdit_->installEventFilter(this);
    tStatesEdit_->installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{runFromButton, runFromEdit_, pause, stepButton, stepOverButton, tStatesEdit_})
        bar->addWidget(w);
    bar->addStretch();
    connect(runFromButton, &QToolButton::clicked, this, [this] { handle([this] { runFrom(); }); });
    connect(stepButton, &QToolButton::clicked, this, [this] { handle([this] { step(); }); });
    connect(stepOverButton, &QToolButton::clicked, this, [this] { handle([this] { stepOver(); }); });

    listingGrid_ = new ListingGrid;
    auto* breakPoint = new QAction(QStringLiteral("Break point"), listingGrid_);
    breakPoint->setObjectName(QStringLiteral("breakpointItem"));
    listingGrid_->addAction(breakPoint);
    listingGrid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    listingGrid_->installEventFilter(this);

    auto* panel = new QGridLayout;
    const char* const captions[12] = {"A =", "F =", "B =", "C =", "D =", "E =", "H =", "L =", "SP =", "PC =",
                                      "Clock =", "Ports ="};
    // The view's order on screen and the edit each label names.
    const int edits[11] = {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 10};
    static const char* const kRegisterEditNames[11] = {"aEdit", "bEdit",  "cEdit",  "dEdit", "eEdit",    "hEdit",
                                                       "lEdit", "spEdit", "pcEdit", "fEdit", "clockEdit"};
    for (int i = 0; i < 11; ++i) {
        registerEdits_[i] = new QLineEdit(QStringLiteral("0"));
        registerEdits_[i]->setObjectName(QString::fromLatin1(kRegisterEditNames[i]));
        registerEdits_[i]->setFixedWidth(90);
    }
    portsBox_ = new QComboBox;
    portsBox_->setObjectName(QStringLiteral("portsBox"));
    for (int row = 0; row < 12; ++row) {
        auto* label = new QLabel(QString::fromLatin1(captions[row]));
        label->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
        panel->addWidget(label, row, 0);
        panel->addWidget(row < 11 ? static_cast<QWidget*>(registerEdits_[edits[row]]) : portsBox_, row, 1);
    }
    panel->setRowStretch(12, 1);

    auto* centre = new QHBoxLayout;
    centre->addWidget(listingGrid_, 1);
    centre->addLayout(panel);

    auto* status = new QStatusBar;
    status->setObjectName(QStringLiteral("statusBar"));
    status->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(bar);
    layout->addLayout(centre, 1);
    layout->addWidget(status);
    setFocusProxy(listingGrid_);
    // The listing, not the first field, has the keys when the window opens:
    // F8 and F9 step at once.
    listingGrid_->setFocus();

    showStartingState();
}

void StepDebuggerForm::handle(const std::function<void()>& handler)
{
    host_.runGuarded(handler);
}

void StepDebuggerForm::showStartingState()
{
    refreshListing();
    showRegisters();
}

void StepDebuggerForm::refreshListing()
{
    const machine::Machine& m = host_.machine();
    listingGrid_->disassemble(Memory(m.ram), m.regPC, m.regPC + 80);
}

void StepDebuggerForm::showRegisters()
{
    const machine::Machine& m = host_.machine();
    const std::int32_t registers[10] = {m.regA, m.regB, m.regC, m.regD, m.regE, m.regH, m.regL, m.regSP, m.regPC, m.regF};
    for (int i = 0; i < 10; ++i)
        registerEdits_[i]->setText(registerHex(registers[i]));
    registerEdits_[10]->setText(QString::number(m.clock));
    portsBox_->clear();
    QStringList ports;
    for (unsigned p = 0; p < 256; ++p)
        ports.append(QString::fromStdString(hex2(p) + "=" + hex2(m.ports[p])));
    portsBox_->addItems(ports);
    portsBox_->setCurrentIndex(0);
}

void StepDebuggerForm::step()
{
    refreshListing();
    showRegisters();
    machine::Machine& m = host_.machine();
    m.runOpcodes(1);
    host_.host().presentNow();
}

void StepDebuggerForm::stepOver()
{
    const std::int32_t n = strToInt(tStatesEdit_->text().toStdString());
    machine::Machine& m = host_.machine();
    m.runOpcodes(n);
    host_.host().presentNow();
    refreshListing();
    showRegisters();
}

void StepDebuggerForm::runFrom()
{
    host_.machine().regPC = hexToInt(runFromEdit_->text().toStdString());
    step();
}

void StepDebuggerForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Minimising is not hiding: the machine stays paused.
    if (!event->spontaneous())
        host_.machine().paused = 0;
}

void StepDebuggerForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F8) {
        handle([this] { step(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

bool StepDebuggerForm::eventFilter(QObject* watched, QEvent* event)
{
    // F8 and F9 typed into a field go no further than the field.
    if ((watched == runFromEdit_ || watched == tStatesEdit_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_F8 || key == Qt::Key_F9;
    }
    if (watched == listingGrid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F8) {
            handle([this] { step(); });
            return true;
        }
        if (key == Qt::Key_F9) {
            handle([this] { stepOver(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ostrovik::debugger
