#include "tools/qt/TPictureToLVTForm.hpp"
#include "machine/Machine.hpp"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>

#include <algorithm>

#include "platform/RegularFile.hpp"
#include "tools/PictureLvt.hpp"
#include "ui/kit/Captions.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/WindowHost.hpp"
#include "ui/kit/CentreOnOwner.hpp"

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
        std::transform(line, line + rgb.width(), p.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * rgb.width(),
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

QPushButton* button(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 25);
    return b;
}

} // namespace

TPictureToLVTForm::TPictureToLVTForm(ui::WindowHost& host) : QWidget(&host.mainWindow(), Qt::Tool), host_(host)
{
    // FormCreate
    setObjectName(QStringLiteral("PictureToLVTForm"));
    setWindowTitle(QStringLiteral("Picture_To_LVT"));
    setFixedSize(kClientWidth, kClientHeight);

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(8, 264, 504, 28);
    TrackBar1->setRange(kThresholdMin, kThresholdMax);
    TrackBar1->setValue(kThresholdMin);
    TrackBar1->setEnabled(false);

    Button1 = button(this, "Button1", 8, 300, 250);
    Button3 = button(this, "Button3", 8, 332, 250);
    Button5 = button(this, "Button5", 8, 364, 250);

    Label2 = new QLabel(QStringLiteral("Port"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(270, 300, 30, 25);
    Label1 = new QLabel(QStringLiteral("C1=200"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(302, 300, 50, 25);
    TrackBar2 = new QSlider(Qt::Horizontal, this);
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar2->setGeometry(354, 298, 158, 28);
    TrackBar2->setRange(0, 255);
    TrackBar2->setValue(kPaletteStart);
    TrackBar2->setEnabled(false);

    Button2 = button(this, "Button2", 270, 332, 242);
    Button4 = button(this, "Button4", 270, 364, 242);
    for (QPushButton* b : {Button2, Button3, Button4, Button5})
        b->setEnabled(false);

    host_.adoptCaptions(*this, ui::CaptionWindow::PictureToLVTForm);

    connect(Button1, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { host_.runGuarded([this] { TrackBar1Change(); }); });
    connect(TrackBar2, &QSlider::valueChanged, this, [this] { TrackBar2Change(); });

    // Centred on the main window.
    ui::CentreOnOwner(*this, host.mainWindow());
}

const QString& TPictureToLVTForm::openDialogFilter()
{
    static const QString filter = QStringLiteral("*.jpg;*.bmp;*.png (*.jpg *.bmp *.png)");
    return filter;
}

std::filesystem::path TPictureToLVTForm::programDir() const
{
    return host_.machine().ProgramDir;
}

QString TPictureToLVTForm::openFolder() const
{
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir())
        return lastFolder_;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void TPictureToLVTForm::Button1Click()
{
    const std::optional<QString> file = ui::dialogs().openFile(this, QString(), openFolder(), openDialogFilter());
    if (!file)
        return;
    lastFolder_ = QFileInfo(*file).absolutePath();
    const std::string name = QFile::encodeName(*file).toStdString();
    const std::optional<PictureKind> kind = pictureKind(name);
    if (!kind) {
        // Nothing was read, so nothing may change: the next save would
        // otherwise carry the old picture under the new name.
        ui::dialogs().message(this, windowTitle(),
                              (host_.language() == ui::Language::Russian)
                                  ? QStringLiteral("Картинка не загружена: имя файла должно кончаться на "
                                                   "bmp, BMP, jpg, JPG, png или PNG.\n%1")
                                        .arg(*file)
                                  : QStringLiteral("The picture was not loaded: its file name must end in "
                                                   "bmp, BMP, jpg, JPG, png or PNG.\n%1")
                                        .arg(*file));
        return;
    }
    QImage picture;
    const bool loaded = *kind == PictureKind::Bmp    ? LoadBMP(*file, picture)
                        : *kind == PictureKind::Jpeg ? LoadJPG(*file, picture)
                                                     : LoadPNG(*file, picture);
    if (!loaded)
        return;
    sourcePixels_ = toRgbPicture(picture);
    pictureName_ = tools::pictureName(name);
    for (QWidget* w : std::initializer_list<QWidget*>{TrackBar1, Button2, Button3, Button4, Button5, TrackBar2})
        w->setEnabled(true);
    sourceView_ = toQImage(stretchToScreen(sourcePixels_));
    ConvertToBW(sourcePixels_, TrackBar1->value());
}

bool TPictureToLVTForm::LoadBMP(const QString& FileName, QImage& picture)
{
    return decode(FileName, "bmp", picture);
}

bool TPictureToLVTForm::LoadJPG(const QString& FileName, QImage& picture)
{
    return decode(FileName, "jpg", picture);
}

bool TPictureToLVTForm::LoadPNG(const QString& FileName, QImage& picture)
{
    return decode(FileName, "png", picture);
}

bool TPictureToLVTForm::decode(const QString& fileName, const char* format, QImage& picture)
{
    // Only a regular file of bounded size is read: a FIFO or a device in
    // its place would hang the window or feed it without end.
    const platform::FileRead file =
        platform::ReadRegularFile(QFile::encodeName(fileName).toStdString(), kMaxPictureFileBytes);
    if (!file.ok()) {
        ui::dialogs().error(this, QStringLiteral("%1: %2").arg(fileName, QString::fromStdString(file.reason)));
        return false;
    }
    QByteArray bytes = QByteArray::fromRawData(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The file's contents decide nothing: a PNG named .jpg is not a JPEG.
    reader.setDecideFormatFromContent(false);
    if (!reader.read(&picture) || picture.isNull()) {
        ui::dialogs().error(this, QStringLiteral("%1: %2").arg(fileName, reader.errorString()));
        return false;
    }
    return true;
}

void TPictureToLVTForm::ConvertToBW(const RgbPicture& Picture, int Threshold)
{
    const std::vector<std::uint8_t> mask = convertToBW(Picture, Threshold);
    bwPicture_ = stretchToScreen(mask, Picture.Width, Picture.Height);
    bwView_ = bwImage(bwPicture_);
    update();
}

void TPictureToLVTForm::TrackBar1Change()
{
    if (!sourcePixels_.Pixels.empty())
        ConvertToBW(sourcePixels_, TrackBar1->value());
}

void TPictureToLVTForm::TrackBar2Change()
{
    Label1->setText(QString::number(TrackBar2->value()));
    host_.machine().do_output(0xC1, TrackBar2->value());
}

void TPictureToLVTForm::RotateWB_and_save()
{
    saveWorkBitmap(programDir(), bwIndices(bwPicture_));
}

void TPictureToLVTForm::Rotate256_and_save()
{
    saveWorkBitmap(programDir(), colourIndices(stretchToScreen(sourcePixels_)));
}

std::filesystem::path TPictureToLVTForm::save(bool colour)
{
    std::filesystem::path written;
    host_.runGuarded([&] {
        if (colour) {
            Rotate256_and_save();
            written = writePictureLvt(programDir(), kColourPrefix, pictureName_, kStubPalette);
        } else {
            RotateWB_and_save();
            written = writePictureLvt(programDir(), kBwPrefix, pictureName_,
                                      static_cast<std::uint8_t>(TrackBar2->value()));
        }
    });
    return written;
}

std::filesystem::path TPictureToLVTForm::Button2Click()
{
    return save(false);
}

std::filesystem::path TPictureToLVTForm::Button4Click()
{
    return save(true);
}

void TPictureToLVTForm::view(bool colour)
{
    const std::filesystem::path path = colour ? Button4Click() : Button2Click();
    if (path.empty())
        return;
    host_.runGuarded([&] {
        host_.setCaption(path.string());
        host_.loadFile(path.string(), true);
    });
}

void TPictureToLVTForm::Button3Click()
{
    view(false);
}

void TPictureToLVTForm::Button5Click()
{
    view(true);
}

void TPictureToLVTForm::paintEvent(QPaintEvent*)
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
