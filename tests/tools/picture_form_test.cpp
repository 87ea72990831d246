// The picture converter window driven as a person would: opened from its
// commands, fed pictures through its open dialog, and its tape images viewed
// on the test ROM in the real main window.

#include <QAction>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "support/MainWindowRig.hpp"
#include "tools/PictureLvt.hpp"
#include "tools/qt/PictureConverterForm.hpp"
#include "kit/Captions.hpp"
#include "ui/MainMenu.hpp"

using namespace ostrovik;
using test::MainWindowRig;
using tools::PictureConverterForm;

namespace {

/// Black, red, cyan and white: what a colour file shows under its palette.
const QRgb kFour[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(255, 255, 255)};

/// Bands of the four colours, and a row pattern finer than one video byte.
QImage fourColourPicture()
{
    QImage p(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            p.setPixel(x, y, y < 8 ? kFour[(x + y) % 4] : kFour[(x / 64 + y / 32) % 4]);
    return p;
}

QImage filled(int w, int h, QRgb colour)
{
    QImage p(w, h, QImage::Format_RGB32);
    p.fill(colour);
    return p;
}

} // namespace

class PictureFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensFromItsCommandsInEitherLanguage();
    void nothingCanBeSavedBeforeAPicture();
    void picturesLoadByTheirNamesEnding_data();
    void picturesLoadByTheirNamesEnding();
    void slidersSetThresholdAndPalette();
    void aMissingOutputFolderIsReported();
    void whatIsNoPictureFileIsRefused();
    void picturesOverTheAllocationLimitAreRefusedWithTheirSize();
    void theOpenDialogStartsWhereThePicturesAre();
    void convertedPicturesShowOnTheMachine();
    void smallPicturesStretchPixelByPixel();

private:
    PictureConverterForm* open();
    QString savePicture(const QString& name, const QImage& picture, const char* format);
    void load(const QString& path);
    template <typename T>
    T* child(const char* name)
    {
        return form_->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<MainWindowRig> rig_;
    PictureConverterForm* form_ = nullptr;
};

void PictureFormTest::init()
{
    rig_ = std::make_unique<MainWindowRig>();
    rig_->makeFolder(QStringLiteral("PicToLVT"));
    form_ = nullptr;
}

void PictureFormTest::cleanup()
{
    rig_.reset();
}

PictureConverterForm* PictureFormTest::open()
{
    rig_->window->menus().item(ui::menu::PictureConverter)->trigger();
    form_ = qobject_cast<PictureConverterForm*>(rig_->window->forms().pictureConverter.form());
    return form_;
}

QString PictureFormTest::savePicture(const QString& name, const QImage& picture, const char* format)
{
    const QString path = rig_->path(name);
    return picture.save(path, format) ? path : QString();
}

void PictureFormTest::load(const QString& path)
{
    rig_->dialogs.answers = QStringList{path};
    child<QPushButton>("loadButton")->click();
}

void PictureFormTest::opensFromItsCommandsInEitherLanguage()
{
    rig_->window->switchToRussian();
    QVERIFY(open());
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Picture_To_LVT"));
    QCOMPARE(child<QPushButton>("viewBwButton")->text(), QStringLiteral("Посмотреть в эмуляторе  ЧБ"));
    // The tool button shows the same window; it is made once.
    form_->hide();
    rig_->window->findChild<QToolButton*>(ui::objectNameOf(ui::menu::PictureConverterButton))->click();
    QVERIFY(form_->isVisible());
    QCOMPARE(rig_->window->forms().pictureConverter.form(), static_cast<QWidget*>(form_));

    // It follows a later switch, every button from the one caption table.
    rig_->window->switchToEnglish();
    QCOMPARE(child<QPushButton>("viewColourButton")->text(), QStringLiteral("View in emul (color)"));
    QCOMPARE(test::buttonCaptionMismatch(*form_, kit::CaptionWindow::PictureConverter, kit::Language::English), QString());
}

void PictureFormTest::nothingCanBeSavedBeforeAPicture()
{
    QVERIFY(open());
    QVERIFY(child<QPushButton>("loadButton")->isEnabled());
    for (const char* name : {"saveBwButton", "viewBwButton", "saveColourButton", "viewColourButton"})
        QVERIFY2(!child<QPushButton>(name)->isEnabled(), name);
    auto* threshold = child<QSlider>("thresholdSlider");
    auto* palette = child<QSlider>("paletteSlider");
    QVERIFY(!threshold->isEnabled() && !palette->isEnabled());
    QCOMPARE(threshold->minimum(), 50);
    QCOMPARE(threshold->maximum(), 220);
    QCOMPARE(threshold->value(), 50);
    QCOMPARE(palette->maximum(), 255);
    QCOMPARE(palette->value(), 200);
    QCOMPARE(child<QLabel>("paletteLabel")->text(), QStringLiteral("C1=200"));
    QCOMPARE(child<QLabel>("portLabel")->text(), QStringLiteral("Port"));

    // A cancelled dialog changes nothing.
    load(QString());
    QVERIFY(!child<QPushButton>("saveBwButton")->isEnabled());
    QCOMPARE(rig_->dialogs.asked.back().filter, PictureConverterForm::openDialogFilter());
}

void PictureFormTest::picturesLoadByTheirNamesEnding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("error"); // the decoder could not read it
    QTest::newRow("png") << "sunset.png" << QByteArray("PNG") << true << false;
    QTest::newRow("PNG") << "SUNSET.PNG" << QByteArray("PNG") << true << false;
    QTest::newRow("Png") << "sunset.Png" << QByteArray("PNG") << false << false;
    QTest::newRow("bmp") << "logo.bmp" << QByteArray("BMP") << true << false;
    QTest::newRow("JPG") << "photo.JPG" << QByteArray("JPG") << true << false;
    QTest::newRow("jpeg") << "photo.jpeg" << QByteArray("JPG") << false << false;
    QTest::newRow("png named jpg") << "odd.jpg" << QByteArray("PNG") << false << true;
}

void PictureFormTest::picturesLoadByTheirNamesEnding()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(bool, loads);
    QFETCH(bool, error);
    QVERIFY(open());
    // A white picture first, then the one under test, all black.
    load(savePicture(QStringLiteral("first.png"), filled(64, 48, qRgb(255, 255, 255)), "PNG"));
    QCOMPARE(form_->pictureName(), std::string("first"));
    load(savePicture(name, filled(300, 200, qRgb(0, 0, 0)), format.constData()));

    const bool black = form_->bwPicture() == tools::ScreenPixels(65536, 0);
    QCOMPARE(black, loads);
    QCOMPARE(form_->pictureName(), loads ? name.left(name.size() - 4).toStdString() : std::string("first"));
    QCOMPARE(rig_->dialogs.errors.size(), error ? 1 : 0);
    // A name of no decoder is told so; nothing else changes.
    QCOMPARE(rig_->dialogs.messages.size(), loads || error ? 0 : 1);
    if (error)
        QVERIFY2(rig_->dialogs.errors.front().contains(name), qPrintable(rig_->dialogs.errors.front()));
}

void PictureFormTest::slidersSetThresholdAndPalette()
{
    QVERIFY(open());
    load(savePicture(QStringLiteral("grey.bmp"), filled(256, 256, qRgb(128, 128, 128)), "BMP"));
    // Luma 126: white at threshold 50, black at 127.
    QCOMPARE(form_->bwView().pixel(10, 10), qRgb(255, 255, 255));
    child<QSlider>("thresholdSlider")->setValue(127);
    QCOMPARE(form_->bwPicture()[0], std::uint8_t{0});
    QCOMPARE(form_->bwView().pixel(10, 10), qRgb(0, 0, 0));

    // The palette slider acts on the machine at once and names the value.
    child<QSlider>("paletteSlider")->setValue(137);
    QCOMPARE(child<QLabel>("paletteLabel")->text(), QStringLiteral("137"));
    QCOMPARE(rig_->m().ports[0xC1], std::uint8_t{137});
    QCOMPARE(rig_->m().videoShadow[0], std::uint16_t{0x0101});

    child<QPushButton>("saveBwButton")->click();
    child<QPushButton>("saveColourButton")->click();
    const auto bw = test::readAll(rig_->path(QStringLiteral("PicToLVT/BW_grey.lvt")));
    const auto colour = test::readAll(rig_->path(QStringLiteral("PicToLVT/Color_grey.lvt")));
    QCOMPARE(bw.size(), std::size_t{16435});
    QCOMPARE(colour.size(), std::size_t{16435});
    QCOMPARE(bw[16407], std::uint8_t{0x89});
    QCOMPARE(colour[16407], std::uint8_t{0xC8});
    QVERIFY(!QFile::exists(rig_->path(QStringLiteral("etalon.bmp"))));
    QVERIFY(rig_->dialogs.errors.isEmpty());
}

void PictureFormTest::aMissingOutputFolderIsReported()
{
    QVERIFY(open());
    load(savePicture(QStringLiteral("w.png"), filled(8, 8, qRgb(255, 255, 255)), "PNG"));
    QDir(rig_->path(QStringLiteral("PicToLVT"))).removeRecursively();
    const std::string caption = rig_->window->caption();
    const std::uint16_t pc = static_cast<std::uint16_t>(rig_->m().regPC);
    child<QPushButton>("viewBwButton")->click();
    QCOMPARE(rig_->dialogs.errors.size(), 1);
    QVERIFY2(rig_->dialogs.errors.front().contains(QStringLiteral("PicToLVT/BW_w.lvt")),
             qPrintable(rig_->dialogs.errors.front()));
    QVERIFY(QFile::exists(rig_->path(QStringLiteral("etalon.bmp"))));
    // Nothing was loaded.
    QCOMPARE(rig_->window->caption(), caption);
    QCOMPARE(static_cast<std::uint16_t>(rig_->m().regPC), pc);
}

void PictureFormTest::whatIsNoPictureFileIsRefused()
{
    QVERIFY(open());
    load(savePicture(QStringLiteral("first.png"), filled(16, 16, qRgb(255, 255, 255)), "PNG"));
    const tools::ScreenPixels before = form_->bwPicture();
    // A FIFO without a writer would hang the window, /dev/zero would be read
    // without end; a file beyond the bound is not read at all.
    const QString fifo = rig_->path(QStringLiteral("pipe.png"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = rig_->path(QStringLiteral("zero.png"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString huge = rig_->path(QStringLiteral("huge.bmp"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64{65} << 20));
    }
    const QString folder = rig_->makeFolder(QStringLiteral("folder.jpg"));
    const QString paths[] = {fifo, zero, huge, folder};
    for (const QString& path : paths) {
        rig_->dialogs.errors.clear();
        load(path);
        QCOMPARE(rig_->dialogs.errors.size(), 1);
        QVERIFY2(rig_->dialogs.errors.front().startsWith(path), qPrintable(rig_->dialogs.errors.front()));
        QCOMPARE(form_->pictureName(), std::string("first"));
        QVERIFY(form_->bwPicture() == before);
    }
}

void PictureFormTest::picturesOverTheAllocationLimitAreRefusedWithTheirSize()
{
    // Qt decodes nothing over its allocation limit; the converter holds every
    // picture at 32 bits a pixel, so the limit says how many pixels it takes.
    const int qtLimit = QImageReader::allocationLimit();
    const auto restore = qScopeGuard([qtLimit] { QImageReader::setAllocationLimit(qtLimit); });
    struct Case {
        const char* what;
        int limitMb; // 0: Qt's own
        std::function<QImage()> picture;
        const char* file;
        const char* format;
        bool russian;
        QStringList said; // in the box; nothing when the picture loads
    };
    const Case cases[] = {
        {"the largest picture at 1 MB", 1, [] { return filled(512, 512, qRgb(255, 255, 255)); }, "largest.png", "PNG",
         false, {}},
        {"a row more", 1, [] { return filled(512, 513, qRgb(255, 255, 255)); }, "tall.png", "PNG", false,
         {QStringLiteral("512 × 513 pixels (0.3 million) it is too large"),
          QStringLiteral("at most 262,144 pixels (0.3 million), for example 512 × 512")}},
        {"a 1-bit picture counts at 32 bits", 1,
         [] {
             QImage mono(1024, 1024, QImage::Format_Mono);
             mono.fill(1);
             return mono;
         },
         "mono.png", "PNG", false, {QStringLiteral("1024 × 1024 pixels")}},
        {"a BMP", 1, [] { return filled(600, 600, qRgb(0, 0, 0)); }, "wide.bmp", "BMP", false,
         {QStringLiteral("600 × 600 pixels")}},
        {"a JPEG, in Russian", 1, [] { return filled(600, 600, qRgb(0, 0, 0)); }, "wide.jpg", "JPG", true,
         {QStringLiteral("Картинка не загружена: в ней 600 × 600 точек (0,4 млн)"),
          QStringLiteral("не больше 262\u00A0144 точек (0,3 млн), например 512 × 512")}},
        {"7000 × 7000 under Qt's own limit", 0, [] { return filled(7000, 7000, qRgb(255, 255, 255)); }, "big.png",
         "PNG", false,
         {QStringLiteral("at 7000 × 7000 pixels (49.0 million) it is too large"),
          QStringLiteral("at most 33,554,432 pixels (33.6 million), for example 5792 × 5792")}},
    };
    for (const Case& c : cases) {
        cleanup(); // the old rig's dialogs go before the new one's come
        init();
        if (c.russian)
            rig_->window->switchToRussian();
        QVERIFY(open());
        load(savePicture(QStringLiteral("first.png"), filled(16, 16, qRgb(255, 255, 255)), "PNG"));
        const QString path = savePicture(QString::fromLatin1(c.file), c.picture(), c.format);
        QVERIFY2(!path.isEmpty(), c.what);
        QImageReader::setAllocationLimit(c.limitMb ? c.limitMb : qtLimit);
        load(path);
        QImageReader::setAllocationLimit(qtLimit);

        QVERIFY2(rig_->dialogs.errors.isEmpty(), qPrintable(rig_->dialogs.errors.join(QLatin1Char('|'))));
        if (c.said.isEmpty()) {
            QVERIFY2(rig_->dialogs.messages.isEmpty(), c.what);
            QCOMPARE(form_->pictureName(), QFileInfo(path).completeBaseName().toStdString());
            continue;
        }
        QCOMPARE(rig_->dialogs.messages.size(), 1);
        const QString box = rig_->dialogs.messages.first();
        QCOMPARE(rig_->dialogs.messageTitles.first(), form_->windowTitle());
        for (const QString& part : c.said)
            QVERIFY2(box.contains(part), qPrintable(box));
        QVERIFY2(box.endsWith(path), c.what);
        QCOMPARE(form_->pictureName(), std::string("first"));
    }
}

void PictureFormTest::theOpenDialogStartsWhereThePicturesAre()
{
    // A home folder of the test's own, with and without a picture folder.
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    const QString testHome = rig_->makeFolder(QStringLiteral("home"));
    qputenv("HOME", QFile::encodeName(testHome));
    qunsetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        if (!config.isNull())
            qputenv("XDG_CONFIG_HOME", config);
    });
    QVERIFY(open());

    load(QString());
    QCOMPARE(rig_->dialogs.asked.back().dir, testHome);
    const QString pictures = rig_->makeFolder(QStringLiteral("home/Pictures"));
    load(QString());
    QCOMPARE(rig_->dialogs.asked.back().dir, pictures);

    // Then in the folder of the picture last chosen.
    const QString elsewhere = rig_->makeFolder(QStringLiteral("elsewhere"));
    load(savePicture(QStringLiteral("elsewhere/w.png"), filled(8, 8, qRgb(255, 255, 255)), "PNG"));
    load(QString());
    QCOMPARE(rig_->dialogs.asked.back().dir, elsewhere);
}

void PictureFormTest::convertedPicturesShowOnTheMachine()
{
    QVERIFY(rig_->powerOn());
    QVERIFY(open());
    const QImage picture = fourColourPicture();
    load(savePicture(QStringLiteral("bands.png"), picture, "PNG"));

    // Colour: the screen shows the picture itself, pixel for pixel.
    child<QPushButton>("viewColourButton")->click();
    const QString colourPath = rig_->path(QStringLiteral("PicToLVT/Color_bands.lvt"));
    QCOMPARE(QString::fromStdString(rig_->window->caption()), colourPath);
    rig_->runTicks(40);
    QVERIFY(rig_->dialogs.errors.isEmpty());
    QCOMPARE(test::differenceFromBitmap(picture, *rig_->window->screen().screenBitmap), QString());

    // The display stub waits in the ROM for a key; the palette slider
    // recolours what it shows: under 255 black is white, white is cyan.
    child<QSlider>("paletteSlider")->setValue(255);
    rig_->runTicks(1);
    QCOMPARE(picture.pixel(0, 128), kFour[0]);
    QCOMPARE(test::bitmapPixel(*rig_->window->screen().screenBitmap, 0, 128), qRgb(255, 255, 255));
    QCOMPARE(picture.pixel(0, 96), kFour[3]);
    QCOMPARE(test::bitmapPixel(*rig_->window->screen().screenBitmap, 0, 96), qRgb(0, 255, 255));

    // Black and white under the slider's palette 137: black pixels blue,
    // white ones yellow; red (luma 53) is white at threshold 50.
    child<QSlider>("paletteSlider")->setValue(137);
    child<QPushButton>("viewBwButton")->click();
    QCOMPARE(QString::fromStdString(rig_->window->caption()),
             rig_->path(QStringLiteral("PicToLVT/BW_bands.lvt")));
    rig_->runTicks(40);
    QImage expected(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            expected.setPixel(x, y, picture.pixel(x, y) == kFour[0] ? qRgb(0, 0, 255) : qRgb(255, 255, 0));
    QCOMPARE(test::differenceFromBitmap(expected, *rig_->window->screen().screenBitmap), QString());
    QVERIFY(rig_->dialogs.errors.isEmpty());
}

void PictureFormTest::smallPicturesStretchPixelByPixel()
{
    // Three by five pixels of the four colours: each becomes a block of
    // whole screen pixels, with no blend between neighbours.
    QImage picture(3, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, kFour[(x + 2 * y) % 4]);
    QImage expected(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            expected.setPixel(x, y, picture.pixel(x * 3 / 256, y * 5 / 256));

    QVERIFY(rig_->powerOn());
    QVERIFY(open());
    load(savePicture(QStringLiteral("tiny.png"), picture, "PNG"));
    QCOMPARE(form_->sourceView(), expected);
    child<QPushButton>("viewColourButton")->click();
    rig_->runTicks(40);
    QVERIFY(rig_->dialogs.errors.isEmpty());
    QCOMPARE(test::differenceFromBitmap(expected, *rig_->window->screen().screenBitmap), QString());
}

QTEST_MAIN(PictureFormTest)
#include "picture_form_test.moc"
