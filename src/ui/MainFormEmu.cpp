#include "ui/MainFormEmu.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QToolBar>

#include "output/qt/ScreenView.hpp"
#include "ui/Dialogs.hpp"

namespace ostrovik::ui {

namespace {
constexpr std::int32_t kQuickStartBudget = 20'000'000;
} // namespace

TMainFormEmu::TMainFormEmu(const QStringList& args, QWidget* parent)
    : QMainWindow(parent), machine_(*this)
{
    setObjectName(QStringLiteral("MainFormEmu"));
    setWindowTitle(QStringLiteral("Ostrovik"));

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFixedHeight(kToolBarHeight);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ColorTable = std::make_unique<output::TColorTable>();
    screen_ = std::make_unique<output::GdiScreen>(machine_, *ColorTable);
    screenView_ = new output::ScreenView(*screen_, this);
    screenView_->setObjectName(QStringLiteral("ScreenView"));
    screenView_->setClientTop(kToolBarHeight);
    screenView_->setStretch(fullScreen_);
    setCentralWidget(screenView_);
    resize(kDesignClientWidth, kDesignClientHeight);

    TimerMain = new QTimer(this);
    TimerMain->setObjectName(QStringLiteral("TimerMain"));
    TimerMain->setInterval(1);
    connect(TimerMain, &QTimer::timeout, this, [this] { guarded([this] { TimerMainTimer1(); }); });

    machine_.ProgramDir = QCoreApplication::applicationDirPath().toStdString();
    FormCreate(args);
}

TMainFormEmu::~TMainFormEmu()
{
    TimerMain->stop();
}

void TMainFormEmu::FormCreate(const QStringList& args)
{
    output::CalculateColor(*ColorTable);
    machine_.CmdLineFile.clear();
    screenView_->ChangeRenderMode(machine_.RenderMode);
    FirstActivate = true;
    if (!args.isEmpty())
        machine_.CmdLineFile = QFile::encodeName(args.first()).toStdString();
}

void TMainFormEmu::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMainFormEmu::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Some desktops (and the offscreen platform) never activate a window that
    // was not clicked; the first show powers the machine on all the same.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TMainFormEmu::FormActivate()
{
    if (!FirstActivate)
        return;
    FirstActivate = false;
    guarded([this] { FirstPusk(); });
}

void TMainFormEmu::FirstPusk()
{
    machine_.TapePos = -1;
    machine_.ResetComp();
    machine_.i8080_do_opcodes(quickRun() ? kQuickStartBudget : machine_.CyclesPerTick);
    TimerMain->start();
}

void TMainFormEmu::TimerMainTimer1()
{
    if (machine_.Paused)
        return;
    machine_.i8080_do_opcodes(machine_.CyclesPerTick);
    switch (machine_.RenderMode) {
    case 0:
        draw_screen();
        break;
    default:
        break;
    }
}

void TMainFormEmu::draw_screen()
{
    screenView_->draw_screen(grayTV_);
}

void TMainFormEmu::ResetCPU1Click()
{
    guarded([this] { machine_.ResetComp(); });
}

void TMainFormEmu::FullScreen1Click()
{
    fullScreen_ = !fullScreen_;
    screenView_->setStretch(fullScreen_);
}

bool TMainFormEmu::timerRunning() const
{
    return TimerMain->isActive();
}

void TMainFormEmu::showError(const QString& text)
{
    dialogs().error(this, text);
}

void TMainFormEmu::showMessage(std::string_view text)
{
    dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TMainFormEmu::setCaption(std::string_view text)
{
    setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string TMainFormEmu::caption() const
{
    return windowTitle().toStdString();
}

std::optional<std::string> TMainFormEmu::chooseTapeFile()
{
    return std::nullopt;
}

void TMainFormEmu::loadFile(const std::string&, bool)
{
}

bool TMainFormEmu::logWindowVisible() const
{
    return false;
}

void TMainFormEmu::appendLogLine(std::string_view)
{
}

void TMainFormEmu::clearLog()
{
}

bool TMainFormEmu::quickRun() const
{
    return false;
}

void TMainFormEmu::setOpenDialogFileName(const std::string& path)
{
    openDialogFileName_ = QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace ostrovik::ui
