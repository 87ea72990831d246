#pragma once

#include <QWidget>

#include <memory>

#include "games/DownloaderView.hpp"
#include "games/Http.hpp"
#include "machine/EmulatorControl.hpp"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ostrovik::games {

class CatalogueDownloader;

/// The progress gauge: a value kept between its minimum and maximum.
class DownloadGauge {
public:
    explicit DownloadGauge(QProgressBar* bar);
    int progress() const { return progress_; }
    void setProgress(int value);
    void setMinValue(int value);
    void setMaxValue(int value);
    int maxValue() const { return max_; }

private:
    void show();
    QProgressBar* bar_;
    int min_ = 0, max_ = 100, progress_ = 0;
};

/// The downloader: the catalogue's addresses, the skip box, the three
/// download methods, their gauge and their log.
class GameDownloaderForm : public QWidget, private DownloaderView {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 635;
    static constexpr int kClientHeight = 368;
    /// The log keeps its last lines only, as the network window's does: a
    /// catalogue of thousands of games would grow it without end.
    static constexpr int kMaxLogLines = 1000;

    explicit GameDownloaderForm(machine::EmulatorControl& emulator, QWidget* parent = nullptr);
    ~GameDownloaderForm() override;

    void downloadPageByPage();
    void downloadFast();
    void downloadFromJsonList();
    /// The program is ending: the method's run and its workers stop, their
    /// transfers aborted, and nothing of a game in the making is left.
    void stopDownloads();

    CatalogueDownloader& downloader() { return *downloader_; }
    /// The bounds of the transfers of the runs started from now on.
    void setHttpLimits(const HttpLimits& limits);

    QPlainTextEdit* logView;
    QFrame* topPanel;
    QLabel* siteLabel;
    QLineEdit* webEdit;
    QLabel* jsonLabel;
    QLineEdit* jsonEdit;
    QCheckBox* skipExistingBox;
    QProgressBar* progressBar;
    DownloadGauge gauge;
    QPushButton* pagesButton;
    QPushButton* fastButton;
    QPushButton* jsonButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename F>
    void guarded(F&& f);

    // DownloaderView
    std::string webText() const override;
    void setWebText(const std::string& text) override;
    std::string jsonText() const override;
    bool skipExisting() const override;
    void clearLog() override;
    void addLogLine(const std::string& line) override;
    int gaugeProgress() const override;
    void setGaugeProgress(int value) override;
    void setGaugeMinimum(int value) override;
    void setGaugeMaximum(int value) override;
    void showError(const std::string& text) override;
    void setStartButtonsEnabled(bool enabled) override;

    machine::EmulatorControl& emulator_;
    std::unique_ptr<CurlHttp> http_;
    std::unique_ptr<CatalogueDownloader> downloader_;
    bool centred_ = false;
};

} // namespace ostrovik::games
