#include "games/qt/TOnlineGamesForm.hpp"
#include "machine/Machine.hpp"

#include <algorithm>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "games/CatalogueDownloader.hpp"
#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/Http.hpp"
#include "ui/kit/CentreOnOwner.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/Text.hpp"

namespace ostrovik::games {

namespace {

constexpr int kPanel1Height = 120;

using ui::fromUtf8;

template <typename W>
W* placed(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

TGauge::TGauge(QProgressBar* bar) : bar_(bar)
{
    show();
}

void TGauge::setProgress(int value)
{
    progress_ = std::clamp(value, min_, std::max(min_, max_));
    show();
}

void TGauge::setMinValue(int value)
{
    min_ = value;
    setProgress(progress_);
}

void TGauge::setMaxValue(int value)
{
    max_ = value;
    setProgress(progress_);
}

void TGauge::show()
{
    bar_->setRange(min_, std::max(min_, max_));
    bar_->setValue(progress_);
}

TOnlineGamesForm::TOnlineGamesForm(machine::EmulatorControl& emulator, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      Memo1(new QPlainTextEdit(this)),
      Panel1(new QFrame(this)),
      Label1(placed<QLabel>(Panel1, "Label1", 8, 8, 110, 17)),
      WebEdit(placed<QLineEdit>(Panel1, "WebEdit", 120, 6, 505, 21)),
      Label2(placed<QLabel>(Panel1, "Label2", 8, 35, 110, 17)),
      JsonEdit(placed<QLineEdit>(Panel1, "JsonEdit", 120, 33, 505, 21)),
      CheckBox1(placed<QCheckBox>(Panel1, "CheckBox1", 8, 67, 231, 17)),
      Gauge1Bar(placed<QProgressBar>(Panel1, "Gauge1", 245, 62, 380, 22)),
      Gauge1(Gauge1Bar),
      Button1(placed<QPushButton>(Panel1, "Button1", 0, 90, 239, 25)),
      Button2(placed<QPushButton>(Panel1, "Button2", 245, 90, 266, 25)),
      Button3(placed<QPushButton>(Panel1, "Button3", 528, 90, 107, 25)),
      emulator_(emulator),
      http_(std::make_unique<CurlHttp>())
{
    setObjectName(QStringLiteral("OnlineGamesForm"));
    setWindowTitle(QStringLiteral("OnlineGamesForm"));
    resize(kClientWidth, kClientHeight);
    // The design's small Tahoma (11 pixels high); its fallback's condensed
    // face keeps the long captions inside their buttons. Given in points, so
    // that a caption that still does not fit can get a smaller one.
    QFont small(QStringLiteral("Tahoma"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSizeF(11.0 * 72.0 / logicalDpiY());
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kPanel1Height);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel1);

    // The design texts; the captions follow the main window's language.
    WebEdit->setText(fromUtf8(kCatalogueGamesAddress));
    JsonEdit->setText(fromUtf8(kCatalogueJsonAddress));
    CheckBox1->setChecked(true);

    downloader_ = std::make_unique<CatalogueDownloader>(
        static_cast<DownloaderView&>(*this), *http_, LibraryRoot(emulator_.machine().ProgramDir), [this](std::function<void()> call) {
            QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
        });

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

TOnlineGamesForm::~TOnlineGamesForm()
{
    FormDestroy();
}

void TOnlineGamesForm::FormDestroy()
{
    http_->stop();
    downloader_->stop();
}

void TOnlineGamesForm::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (const QWidget* owner = parentWidget())
            ui::CentreOnOwner(*this, *owner);
    }
    QWidget::showEvent(event);
}

template <typename F>
void TOnlineGamesForm::guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ui::dialogs().error(this, QString::fromUtf8(e.what()));
    }
}

void TOnlineGamesForm::Button1Click()
{
    guarded([this] { downloader_->Button1Click(); });
}

void TOnlineGamesForm::Button2Click()
{
    guarded([this] { downloader_->Button2Click(); });
}

void TOnlineGamesForm::Button3Click()
{
    guarded([this] { downloader_->Button3Click(); });
}

std::string TOnlineGamesForm::webText() const
{
    return WebEdit->text().toStdString();
}

void TOnlineGamesForm::setWebText(const std::string& text)
{
    WebEdit->setText(QString::fromStdString(text));
}

std::string TOnlineGamesForm::jsonText() const
{
    return JsonEdit->text().toStdString();
}

bool TOnlineGamesForm::skipExisting() const
{
    return CheckBox1->isChecked();
}

void TOnlineGamesForm::clearLog()
{
    Memo1->clear();
}

void TOnlineGamesForm::addLogLine(const std::string& line)
{
    Memo1->appendPlainText(QString::fromStdString(line));
}

int TOnlineGamesForm::gaugeProgress() const
{
    return Gauge1.Progress();
}

void TOnlineGamesForm::setGaugeProgress(int value)
{
    Gauge1.setProgress(value);
}

void TOnlineGamesForm::setGaugeMinimum(int value)
{
    Gauge1.setMinValue(value);
}

void TOnlineGamesForm::setGaugeMaximum(int value)
{
    Gauge1.setMaxValue(value);
}

void TOnlineGamesForm::showError(const std::string& text)
{
    ui::dialogs().error(this, QString::fromStdString(text));
}

void TOnlineGamesForm::setStartButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {Button1, Button2, Button3})
        b->setEnabled(enabled);
}

} // namespace ostrovik::games
