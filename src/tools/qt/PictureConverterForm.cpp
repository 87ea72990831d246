#include "tools/qt/PictureConverterForm.hpp"
#include "platform/qt/FileNames.hpp"
#include "machine/Machine.hpp"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

#include "platform/RegularFile.hpp"
#include "tools/PictureLvt.hpp"
#include "kit/Captions.hpp"
#include "kit/Dialogs.hpp"
#include "kit/WindowHost.hpp"
#include "kit/CentreOnOwner.hpp"

namespace ostrovik::tools {

namespace {

constexpr int kThresholdMin = 50;
constexpr int kThresholdMax = 220;
constexpr int kPaletteStart = 200;
/// Where the black-and-white preview begins: its frame shares the left
/// area's last column.
constexpr int kPreviewLeft = 255;

/// The black-and-white picture as the preview shows it (1 white, 0 black).
QImage bwImage(const ScreenPixels& pixels)
{
    QImage image(kScreenSide, kScreenSide, QImage::Format_RGB32);
    for (int y = 0; y < kScreenSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * kScreenSide;
        // A choice, not a table indexed by the truth value: GCC 12 at -O3
        // vectorises "table[bit ? 1 : 0]" with an index of -1 for true and
        // reads beside the table.
        for (int x = 0; x < kScreenSide; ++x)
            line[x] = row[x] ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return image;
}

RgbPicture toRgbPicture(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RgbPicture p{rgb.width(), rgb.height(), std::vector<Rgb>(static_cast<std::size_t>(rgb.width()) * rgb.height())};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::transform(line, line + rgb.width(), p.pixels.begin() + static_cast<std::ptrdiff_t>(y) * rgb.width(),
                       [](QRgb c) { return static_cast<Rgb>(c & 0xFFFFFF); });
    }
    return p;
}

/// A 256 × 256 picture as the window draws it.
QImage toQImage(const RgbPicture& screenSized)
{
    QImage image(kScreenSide, kScreenSide, QImage::Format_RGB32);
    for (int y = 0; y < kScreenSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kScreenSide; ++x)
            line[x] = 0xFF000000u | screenSized.at(x, y);
    }
    return image;
}

/// The converter holds every picture as 32-bit pixels, whatever its file's depth.
constexpr qint64 kBytesPerPixel = 4;

/// The most pixels a picture may have: as many 32-bit pixels as Qt's image
/// allocation limit allows; 0 when there is no limit.
qint64 largestPicturePixels()
{
    return static_cast<qint64>(QImageReader::allocationLimit()) * 1024 * 1024 / kBytesPerPixel;
}

bool fitsTheConverter(QSize size)
{
    const qint64 largest = largestPicturePixels();
    return largest == 0 || static_cast<qint64>(size.width()) * size.height() <= largest;
}

QPushButton* button(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 25);
    return b;
}

} // namespace

PictureConverterForm::PictureConverterForm(kit::WindowHost& host) : QWidget(&host.mainWindow(), Qt::Tool), host_(host)
{
    // FormCreate
    setObjectName(QStringLiteral("PictureConverterForm"));
    setWindowTitle(QStringLiteral("Picture_To_LVT"));
    setFixedSize(kClientWidth, kClientHeight);

    thresholdSlider_ = new QSlider(Qt::Horizontal, this);
    thresholdSlider_->setObjectName(QStringLiteral("thresholdSlider"));
    thresholdSlider_->setGeometry(8, 264, 504, 28);
    thresholdSlider_->setRange(kThresholdMin, kThresholdMax);
    thresholdSlider_->setValue(kThresholdMin);
    thresholdSlider_->setEnabled(false);

    loadButton_ = button(this, "loadButton", 8, 300, 250);
    viewBwButton_ = button(this, "viewBwButton", 8, 332, 250);
    viewColourButton_ = button(this, "viewColourButton", 8, 364, 250);

    portLabel_ = new QLabel(QStringLiteral("Port"), this);
    portLabel_->setObjectName(QStringLiteral("portLabel"));
    portLabel_->setGeometry(270, 300, 30, 25);
    paletteLabel_ = new QLabel(QStringLiteral("C1=200"), this);
    paletteLabel_->setObjectName(QStringLiteral("paletteLabel"));
    paletteLabel_->setGeometry(302, 300, 50, 25);
    paletteSlider_ = new QSlider(Qt::Horizontal, this);
    paletteSlider_->setObjectName(QStringLiteral("paletteSlider"));
    paletteSlider_->setGeometry(354, 298, 158, 28);
    paletteSlider_->setRange(0, 255);
    paletteSlider_->setValue(kPaletteStart);
    paletteSlider_->setEnabled(false);

    saveBwButton_ = button(this, "saveBwButton", 270, 332, 242);
    saveColourButton_ = button(this, "saveColourButton", 270, 364, 242);
    for (QPushButton* b : {saveBwButton_, viewBwButton_, saveColourButton_, viewColourButton_})
        b->setEnabled(false);

    host_.adoptCaptions(*this, kit::CaptionWindow::PictureConverter);

    connect(loadButton_, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { loadPicture(); }); });
    connect(saveBwButton_, &QPushButton::clicked, this, [this] { saveBw(); });
    connect(viewBwButton_, &QPushButton::clicked, this, [this] { viewBw(); });
    connect(saveColourButton_, &QPushButton::clicked, this, [this] { saveColour(); });
    connect(viewColourButton_, &QPushButton::clicked, this, [this] { viewColour(); });
    connect(thresholdSlider_, &QSlider::valueChanged, this, [this] { host_.runGuarded([this] { thresholdChanged(); }); });
    connect(paletteSlider_, &QSlider::valueChanged, this, [this] { paletteChanged(); });

    // Centred on the main window.
    kit::centreOnOwner(*this, host.mainWindow());
}

const QString& PictureConverterForm::openDialogFilter()
{
    static const QString filter = QStringLiteral("*.jpg;*.bmp;*.png (*.jpg *.bmp *.png)");
    return filter;
}

std::filesystem::path PictureConverterForm::programDir() const
{
    return host_.machine().programDir;
}

QString PictureConverterForm::openFolder() const
{
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir())
        return lastFolder_;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void PictureConverterForm::loadPicture()
{
    const std::optional<QString> file = kit::dialogs().openFile(this, QString(), openFolder(), openDialogFilter());
    if (!file)
        return;
    lastFolder_ = QFileInfo(*file).absolutePath();
    const std::string name = platform::fileNamePath(*file);
    const std::optional<PictureKind> kind = pictureKind(name);
    if (!kind) {
        // Nothing was read, so nothing may change: the next save would
        // otherwise carry the old picture under the new name.
        kit::dialogs().message(this, windowTitle(),
                              (host_.language() == kit::Language::Russian)
                                  ? QStringLiteral("Картинка не загружена: имя файла должно кончаться на "
                                                   "bmp, BMP, jpg, JPG, png или PNG.\n%1")
                                        .arg(*file)
                                  : QStringLiteral("The picture was not loaded: its file name must end in "
                                                   "bmp, BMP, jpg, JPG, png or PNG.\n%1")
                                        .arg(*file));
        return;
    }
    QImage picture;
    const bool loaded = *kind == PictureKind::Bmp    ? loadBmp(*file, picture)
                        : *kind == PictureKind::Jpeg ? loadJpg(*file, picture)
                                                     : loadPng(*file, picture);
    if (!loaded)
        return;
    sourcePixels_ = toRgbPicture(picture);
    pictureName_ = tools::pictureName(name);
    for (QWidget* w : std::initializer_list<QWidget*>{thresholdSlider_, saveBwButton_, viewBwButton_, saveColourButton_, viewColourButton_, paletteSlider_})
        w->setEnabled(true);
    sourceView_ = toQImage(stretchToScreen(sourcePixels_));
    convertToBw(sourcePixels_, thresholdSlider_->value());
}

bool PictureConverterForm::loadBmp(const QString& fileName, QImage& picture)
{
    return decode(fileName, "bmp", picture);
}

bool PictureConverterForm::loadJpg(const QString& fileName, QImage& picture)
{
    return decode(fileName, "jpg", picture);
}

bool PictureConverterForm::loadPng(const QString& fileName, QImage& picture)
{
    return decode(fileName, "png", picture);
}

QString PictureConverterForm::tooLarge(QSize size, const QString& fileName) const
{
    const bool russian = host_.language() == kit::Language::Russian;
    const QLocale locale(russian ? QLocale::Russian : QLocale::English);
    const qint64 pixels = static_cast<qint64>(size.width()) * size.height();
    const qint64 largest = largestPicturePixels();
    const auto millions = [&locale](qint64 count) { return locale.toString(static_cast<double>(count) / 1e6, 'f', 1); };
    const auto side = static_cast<qint64>(std::sqrt(static_cast<double>(largest)));
    const QString text = russian ? QStringLiteral("Картинка не загружена: в ней %1 × %2 точек (%3 млн), это слишком "
                                                  "много. Конвертер берёт картинки не больше %4 точек (%5 млн), "
                                                  "например %6 × %6.\n%7")
                                 : QStringLiteral("The picture was not loaded: at %1 × %2 pixels (%3 million) it is "
                                                  "too large. The converter takes pictures of at most %4 pixels "
                                                  "(%5 million), for example %6 × %6.\n%7");
    return text.arg(size.width())
        .arg(size.height())
        .arg(millions(pixels), locale.toString(largest), millions(largest), QString::number(side), fileName);
}

bool PictureConverterForm::decode(const QString& fileName, const char* format, QImage& picture)
{
    // Only a regular file of bounded size is read: a FIFO or a device in
    // its place would hang the window or feed it without end.
    const platform::FileRead file =
        platform::readRegularFile(platform::fileNamePath(fileName), kMaxPictureFileBytes);
    if (!file.ok()) {
        kit::dialogs().error(this, QStringLiteral("%1: %2").arg(fileName, QString::fromStdString(file.reason)));
        return false;
    }
    QByteArray bytes = QByteArray::fromRawData(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The file's contents decide nothing: a PNG named .jpg is not a JPEG.
    reader.setDecideFormatFromContent(false);
    // Qt refuses a picture over its allocation limit with no word of why; the
    // size stands in the header, so the refusal can say it before decoding.
    if (const QSize size = reader.size(); size.isValid() && !fitsTheConverter(size)) {
        kit::dialogs().message(this, windowTitle(), tooLarge(size, fileName));
        return false;
    }
    if (!reader.read(&picture) || picture.isNull()) {
        kit::dialogs().error(this, QStringLiteral("%1: %2").arg(fileName, reader.errorString()));
        return false;
    }
    return true;
}

void PictureConverterForm::convertToBw(const RgbPicture& picture, int threshold)
{
    const std::vector<std::uint8_t> mask = convertToBW(picture, threshold);
    bwPicture_ = stretchToScreen(mask, picture.width, picture.height);
    bwView_ = bwImage(bwPicture_);
    update();
}

void PictureConverterForm::thresholdChanged()
{
    if (!sourcePixels_.pixels.empty())
        convertToBw(sourcePixels_, thresholdSlider_->value());
}

void PictureConverterForm::paletteChanged()
{
    paletteLabel_->setText(QString::number(paletteSlider_->value()));
    host_.machine().writePort(0xC1, paletteSlider_->value());
}

void PictureConverterForm::rotateBwForSaving()
{
    saveWorkBitmap(programDir(), bwIndices(bwPicture_));
}

void PictureConverterForm::rotateColourForSaving()
{
    saveWorkBitmap(programDir(), colourIndices(stretchToScreen(sourcePixels_)));
}

std::filesystem::path PictureConverterForm::save(bool colour)
{
    std::filesystem::path written;
    host_.runGuarded([&] {
        if (colour) {
            rotateColourForSaving();
            written = writePictureLvt(programDir(), kColourPrefix, pictureName_, kStubPalette);
        } else {
            rotateBwForSaving();
            written = writePictureLvt(programDir(), kBwPrefix, pictureName_,
                                      static_cast<std::uint8_t>(paletteSlider_->value()));
        }
    });
    return written;
}

std::filesystem::path PictureConverterForm::saveBw()
{
    return save(false);
}

std::filesystem::path PictureConverterForm::saveColour()
{
    return save(true);
}

void PictureConverterForm::view(bool colour)
{
    const std::filesystem::path path = colour ? saveColour() : saveBw();
    if (path.empty())
        return;
    host_.runGuarded([&] {
        host_.host().setCaption(path.string());
        host_.host().loadFile(path.string(), true);
    });
}

void PictureConverterForm::viewBw()
{
    view(false);
}

void PictureConverterForm::viewColour()
{
    view(true);
}

void PictureConverterForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(0, 0, kScreenSide - 1, kScreenSide - 1);
    p.drawRect(kPreviewLeft, 0, kScreenSide - 1, kScreenSide - 1);
    // Each picture fills its area up to, not including, the area's last
    // column and row.
    if (!sourceView_.isNull())
        p.drawImage(QRect(0, 0, kScreenSide - 1, kScreenSide - 1), sourceView_);
    if (!bwView_.isNull())
        p.drawImage(QRect(kPreviewLeft, 0, kScreenSide - 1, kScreenSide - 1), bwView_);
}

} // namespace ostrovik::tools
