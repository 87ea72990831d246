#pragma once

#include <QImage>
#include <QWidget>

#include <filesystem>
#include <string>

#include "tools/PictureConvert.hpp"

class QLabel;
class QPushButton;
class QSlider;

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::tools {

/// The picture converter: turns a BMP, JPEG or PNG picture into a tape image
/// that shows it on the machine's screen, in black and white by a brightness
/// threshold or in the screen's four colours, and loads it at once.
class PictureConverterForm : public QWidget {
    Q_OBJECT
public:
    /// Client area, fixed.
    static constexpr int kClientWidth = 520;
    static constexpr int kClientHeight = 403;

    explicit PictureConverterForm(kit::WindowHost& host);

    void loadPicture();
    void thresholdChanged();
    void paletteChanged();
    /// Returns the file written, or an empty path when the save failed.
    std::filesystem::path saveBw();
    std::filesystem::path saveColour();
    void viewBw();
    void viewColour();

    /// The threshold the black-and-white picture was made with, and the
    /// picture itself (1 white, 0 black), 256 × 256.
    const ScreenPixels& bwPicture() const { return bwPicture_; }
    const std::string& pictureName() const { return pictureName_; }
    /// What the two framed areas show.
    const QImage& sourceView() const { return sourceView_; }
    const QImage& bwView() const { return bwView_; }

    static const QString& openDialogFilter();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// Each decodes @p fileName into @p picture by its own decoder; a file
    /// that decoder cannot read is reported and gives false.
    bool loadBmp(const QString& fileName, QImage& picture);
    bool loadJpg(const QString& fileName, QImage& picture);
    bool loadPng(const QString& fileName, QImage& picture);
    bool decode(const QString& fileName, const char* format, QImage& picture);
    /// Why a picture of @p size is refused, in the caption set's language.
    QString tooLarge(QSize size, const QString& fileName) const;
    void convertToBw(const RgbPicture& picture, int threshold);
    void rotateBwForSaving();
    void rotateColourForSaving();
    std::filesystem::path save(bool colour);
    void view(bool colour);
    std::filesystem::path programDir() const;
    /// Where the open dialog starts: the folder of the last picture loaded,
    /// else the user's picture folder, else the home folder.
    QString openFolder() const;

    kit::WindowHost& host_;
    QPushButton* loadButton_ = nullptr;
    QPushButton* saveBwButton_ = nullptr;
    QPushButton* viewBwButton_ = nullptr;
    QPushButton* saveColourButton_ = nullptr;
    QPushButton* viewColourButton_ = nullptr;
    QSlider* thresholdSlider_ = nullptr;
    QSlider* paletteSlider_ = nullptr;
    QLabel* paletteLabel_ = nullptr;
    QLabel* portLabel_ = nullptr;

    /// The picture as loaded, any size, as the conversion reads it.
    RgbPicture sourcePixels_;
    /// The folder of the last picture loaded; empty before the first.
    QString lastFolder_;
    ScreenPixels bwPicture_;
    std::string pictureName_;
    QImage sourceView_;
    QImage bwView_;
};

} // namespace ostrovik::tools
