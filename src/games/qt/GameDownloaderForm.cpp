#include "games/qt/GameDownloaderForm.hpp"
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
#include "kit/CentreOnOwner.hpp"
#include "kit/Dialogs.hpp"
#include "kit/Text.hpp"

namespace ostrovik::games {

namespace {

constexpr int kPanel1Height = 120;

using kit::fromUtf8;

template <typename W>
W* placed(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

DownloadGauge::DownloadGauge(QProgressBar* bar) : bar_(bar)
{
    show();
}

void DownloadGauge::setProgress(int value)
{
    progress_ = std::clamp(value, min_, std::max(min_, max_));
    show();
}

void DownloadGauge::setMinValue(int value)
{
    min_ = value;
    setProgress(progress_);
}

void DownloadGauge::setMaxValue(int value)
{
    max_ = value;
    setProgress(progress_);
}

void DownloadGauge::show()
{
    bar_->setRange(min_, std::max(min_, max_));
    bar_->setValue(progress_);
}

GameDownloaderForm::GameDownloaderForm(machine::EmulatorControl& emulator, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      logView(new QPlainTextEdit(this)),
      topPanel(new QFrame(this)),
      siteLabel(placed<QLabel>(topPanel, "siteLabel", 8, 8, 110, 17)),
      webEdit(placed<QLineEdit>(topPanel, "WebEdit", 120, 6, 505, 21)),
      jsonLabel(placed<QLabel>(topPanel, "jsonLabel", 8, 35, 110, 17)),
      jsonEdit(placed<QLineEdit>(topPanel, "JsonEdit", 120, 33, 505, 21)),
      skipExistingBox(placed<QCheckBox>(topPanel, "skipExistingBox", 8, 67, 231, 17)),
      progressBar(placed<QProgressBar>(topPanel, "gauge", 245, 62, 380, 22)),
      gauge(progressBar),
      pagesButton(placed<QPushButton>(topPanel, "pagesButton", 0, 90, 239, 25)),
      fastButton(placed<QPushButton>(topPanel, "fastButton", 245, 90, 266, 25)),
      jsonButton(placed<QPushButton>(topPanel, "jsonButton", 528, 90, 107, 25)),
      emulator_(emulator),
      http_(std::make_unique<CurlHttp>())
{
    setObjectName(QStringLiteral("GameDownloaderForm"));
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
    logView->setObjectName(QStringLiteral("logView"));
    logView->setLineWrapMode(QPlainTextEdit::NoWrap);
    logView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView->setMaximumBlockCount(kMaxLogLines);
    topPanel->setObjectName(QStringLiteral("topPanel"));
    topPanel->setFixedHeight(kPanel1Height);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(logView, 1);
    layout->addWidget(topPanel);

    // The design texts; the captions follow the main window's language.
    webEdit->setText(fromUtf8(kCatalogueGamesAddress));
    jsonEdit->setText(fromUtf8(kCatalogueJsonAddress));
    skipExistingBox->setChecked(true);

    downloader_ = std::make_unique<CatalogueDownloader>(
        static_cast<DownloaderView&>(*this), *http_, libraryRoot(emulator_.machine().programDir), [this](std::function<void()> call) {
            QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
        });

    connect(pagesButton, &QPushButton::clicked, this, [this] { downloadPageByPage(); });
    connect(fastButton, &QPushButton::clicked, this, [this] { downloadFast(); });
    connect(jsonButton, &QPushButton::clicked, this, [this] { downloadFromJsonList(); });
}

GameDownloaderForm::~GameDownloaderForm()
{
    stopDownloads();
}

void GameDownloaderForm::stopDownloads()
{
    http_->stop();
    downloader_->stop();
}

void GameDownloaderForm::setHttpLimits(const HttpLimits& limits)
{
    http_->setLimits(limits);
}

void GameDownloaderForm::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (const QWidget* owner = parentWidget())
            kit::centreOnOwner(*this, *owner);
    }
    QWidget::showEvent(event);
}

template <typename F>
void GameDownloaderForm::guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        kit::dialogs().error(this, QString::fromUtf8(e.what()));
    }
}

void GameDownloaderForm::downloadPageByPage()
{
    guarded([this] { downloader_->downloadPageByPage(); });
}

void GameDownloaderForm::downloadFast()
{
    guarded([this] { downloader_->downloadFast(); });
}

void GameDownloaderForm::downloadFromJsonList()
{
    guarded([this] { downloader_->downloadFromJsonList(); });
}

std::string GameDownloaderForm::webText() const
{
    return webEdit->text().toStdString();
}

void GameDownloaderForm::setWebText(const std::string& text)
{
    webEdit->setText(QString::fromStdString(text));
}

std::string GameDownloaderForm::jsonText() const
{
    return jsonEdit->text().toStdString();
}

bool GameDownloaderForm::skipExisting() const
{
    return skipExistingBox->isChecked();
}

void GameDownloaderForm::clearLog()
{
    logView->clear();
}

void GameDownloaderForm::addLogLine(const std::string& line)
{
    logView->appendPlainText(QString::fromStdString(line));
}

int GameDownloaderForm::gaugeProgress() const
{
    return gauge.progress();
}

void GameDownloaderForm::setGaugeProgress(int value)
{
    gauge.setProgress(value);
}

void GameDownloaderForm::setGaugeMinimum(int value)
{
    gauge.setMinValue(value);
}

void GameDownloaderForm::setGaugeMaximum(int value)
{
    gauge.setMaxValue(value);
}

void GameDownloaderForm::showError(const std::string& text)
{
    kit::dialogs().error(this, QString::fromStdString(text));
}

void GameDownloaderForm::setStartButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {pagesButton, fastButton, jsonButton})
        b->setEnabled(enabled);
}

} // namespace ostrovik::games
