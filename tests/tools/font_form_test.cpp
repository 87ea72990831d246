// The character-generator editor driven as a person would: picks with the
// mouse, dots toggled, Change, font files through its dialogs, and an
// edited letter typed on the test ROM.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <memory>

#include "support/FileSizeLimit.hpp"
#include "support/MainWindowRig.hpp"
#include "tools/qt/FontEditorForm.hpp"
#include "kit/Captions.hpp"
#include "ui/MainMenu.hpp"

using namespace ostrovik;
using test::MainWindowRig;
using tools::FontEditorForm;

namespace {

constexpr int kCodeStep = FontEditorForm::kCodeCell + 1;
constexpr int kBitStep = FontEditorForm::kBitCell + FontEditorForm::kBitLine;

/// A box with a dot in it: no letter of the test ROM looks like it.
constexpr std::array<std::uint8_t, 8> kBoxGlyph = {0xFF, 0x81, 0x81, 0x99, 0x99, 0x81, 0x81, 0xFF};

} // namespace

class FontFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensFromItsCommandInEitherLanguage();
    void pickingACellShowsItsGlyph_data();
    void pickingACellShowsItsGlyph();
    void onlyChangeWritesMemory();
    void fontFilesSaveAndLoad_data();
    void fontFilesSaveAndLoad();
    void aFullDiskLeavesNoFontFile();
    void aProgramFolderNamedInOtherBytesKeepsItsFonts();
    void anEditedLetterIsTypedOnTheScreen();

private:
    FontEditorForm* open();
    void pick(int column, int row);
    void toggle(int column, int row);
    /// Makes the dot grid show @p glyph by toggling what differs.
    void draw(const std::array<std::uint8_t, 8>& glyph);
    template <typename T>
    T* child(const char* name)
    {
        return form_->findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }

    std::unique_ptr<MainWindowRig> rig_;
    FontEditorForm* form_ = nullptr;
};

void FontFormTest::init()
{
    rig_ = std::make_unique<MainWindowRig>();
    form_ = nullptr;
}

void FontFormTest::cleanup()
{
    rig_.reset();
}

FontEditorForm* FontFormTest::open()
{
    rig_->window->menus().item(ui::menu::FontEditor)->trigger();
    form_ = qobject_cast<FontEditorForm*>(rig_->window->forms().fontEditor.form());
    return form_;
}

void FontFormTest::pick(int column, int row)
{
    QTest::mouseClick(child<QWidget>("codeGrid"), Qt::LeftButton, {},
                      QPoint(column * kCodeStep + 9, row * kCodeStep + 9));
}

void FontFormTest::toggle(int column, int row)
{
    QTest::mouseClick(child<QWidget>("dotGrid"), Qt::LeftButton, {},
                      QPoint(2 + column * kBitStep + 7, 2 + row * kBitStep + 7));
}

void FontFormTest::draw(const std::array<std::uint8_t, 8>& glyph)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if ((form_->editor().cell(c, r) == "1") != (((glyph[static_cast<std::size_t>(r)] >> (7 - c)) & 1) != 0))
                toggle(c, r);
}

void FontFormTest::opensFromItsCommandInEitherLanguage()
{
    rig_->window->switchToRussian();
    QVERIFY(open());
    QVERIFY(form_->isVisible());
    // No caption: a blank, since for an empty one the title bar would show
    // the program's name.
    QCOMPARE(form_->windowTitle(), QStringLiteral(" "));
    QCOMPARE(child<QPushButton>("changeButton")->text(), QStringLiteral("Изменить"));
    QCOMPARE(text("codeLabel"), QStringLiteral("KOI-7 code:"));
    QCOMPARE(text("addressLabel"), QStringLiteral("Adress:"));
    rig_->window->switchToEnglish();
    QCOMPARE(child<QPushButton>("exitButton")->text(), QStringLiteral("Exit"));
    QCOMPARE(test::buttonCaptionMismatch(*form_, kit::CaptionWindow::FontEditor, kit::Language::English), QString());
    // Exit hides it; the command shows the same window again.
    child<QPushButton>("exitButton")->click();
    QVERIFY(!form_->isVisible());
    QVERIFY(open());
    QVERIFY(form_->isVisible());
}

void FontFormTest::pickingACellShowsItsGlyph_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("address");
    QTest::newRow("A") << 1 << 2 << "KOI-7 code=65" << "Adress=45576 HEX=B208";
    QTest::newRow("last") << 15 << 15 << "KOI-7 code=287" << "Adress=47352 HEX=B8F8";
    QTest::newRow("first") << 0 << 0 << "KOI-7 code=32" << "Adress=45312 HEX=B100";
}

void FontFormTest::pickingACellShowsItsGlyph()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, code);
    QFETCH(QString, address);
    QVERIFY(open());
    // A glyph of our own where the pick will look.
    const int c = 32 + 16 * row + column;
    const std::array<std::uint8_t, 8> glyph = {0x81, 0x42, 0x24, 0x18, 0x00, 0xFF, 0x01, 0x80};
    std::copy(glyph.begin(), glyph.end(), rig_->m().ram.begin() + 0xB000 + 8 * c);
    pick(column, row);
    QCOMPARE(text("codeLabel"), code);
    QCOMPARE(text("addressLabel"), address);
    QCOMPARE(form_->editor().cell(0, 0), std::string_view("1"));
    QCOMPARE(form_->editor().cell(7, 0), std::string_view("1"));
    QCOMPARE(form_->editor().cell(1, 0), std::string_view("0"));
    for (int r = 0; r < 8; ++r)
        for (int x = 0; x < 8; ++x)
            QCOMPARE(form_->preview().pixel(x, r) == qRgb(0, 0, 0), ((glyph[r] >> (7 - x)) & 1) != 0);
    // The grid draws each glyph at two pixels from its cell's corner.
    const QImage shown = child<QWidget>("codeGrid")->grab().toImage();
    const QPoint corner(column * kCodeStep + 2, row * kCodeStep + 2);
    QCOMPARE(shown.pixel(corner) & 0xFFFFFF, 0u);
    QCOMPARE(shown.pixel(corner + QPoint(1, 0)) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(shown.pixel(corner + QPoint(7, 6)) & 0xFFFFFF, 0u);
}

void FontFormTest::onlyChangeWritesMemory()
{
    QVERIFY(open());
    machine::Machine& m = rig_->m();
    m.ram.fill(0x11);
    const auto before = m.ram;
    // Change before any pick: code 32 gets eight zero bytes.
    child<QPushButton>("changeButton")->click();
    for (int r = 0; r < 8; ++r)
        QCOMPARE(m.ram[0xB100 + r], std::uint8_t{0});

    // Toggles alone change nothing; Change writes them where the pick was.
    pick(15, 15);
    draw(kBoxGlyph);
    QCOMPARE(m.ram[0xB8F8], std::uint8_t{0x11});
    child<QPushButton>("changeButton")->click();
    for (int r = 0; r < 8; ++r)
        QCOMPARE(m.ram[0xB8F8 + r], kBoxGlyph[r]);
    QCOMPARE(m.ram[0xB900], before[0xB900]);
    QCOMPARE(m.ram[0xB8F7], before[0xB8F7]);
    // A click outside every cell of the code grid keeps the pick.
    QTest::mouseClick(child<QWidget>("codeGrid"), Qt::LeftButton, {}, QPoint(16 * kCodeStep + 5, 5));
    QCOMPARE(form_->editor().code(), 287);
}

void FontFormTest::fontFilesSaveAndLoad_data()
{
    QTest::addColumn<int>("size"); // bytes of the file loaded; 0: the saved font; -1: a FIFO
    QTest::addColumn<int>("read");
    QTest::addColumn<bool>("error");
    QTest::newRow("saved font") << 0 << 2049 << false;
    QTest::newRow("short file") << 1000 << 1000 << true;
    QTest::newRow("long file") << 3000 << 2049 << false;
    // Without a writer it would hang the window; memory stays as it was.
    QTest::newRow("FIFO") << -1 << 0 << true;
}

void FontFormTest::fontFilesSaveAndLoad()
{
    QFETCH(int, size);
    QFETCH(int, read);
    QFETCH(bool, error);
    const QString fonts = rig_->makeFolder(QStringLiteral("FONTS"));
    QVERIFY(open());
    machine::Machine& m = rig_->m();
    for (std::size_t i = 0; i < m.ram.size(); ++i)
        m.ram[i] = static_cast<std::uint8_t>(i * 13 + 5);
    const auto original = m.ram;

    // The save dialog suggests a stamped name in FONTS and gets it back.
    rig_->dialogs.answers.clear();
    child<QPushButton>("saveButton")->click(); // cancelled
    const QString suggested = rig_->dialogs.asked.back().dir;
    QCOMPARE(rig_->dialogs.asked.back().title, QStringLiteral("Save Font"));
    QVERIFY2(QRegularExpression(QStringLiteral("/FONTS/FONTS_\\d\\d_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d\\.fnt$"))
                 .match(suggested)
                 .hasMatch(),
             qPrintable(suggested));
    QVERIFY(suggested.startsWith(fonts));
    QVERIFY(rig_->filesIn(QStringLiteral("FONTS")).isEmpty());
    rig_->dialogs.answers = QStringList{suggested};
    child<QPushButton>("saveButton")->click();
    QCOMPARE(QFileInfo(suggested).size(), qint64{2049});

    QString file = suggested;
    if (size < 0) {
        file = rig_->path(QStringLiteral("FONTS/pipe.fnt"));
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else if (size) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 3);
        file = rig_->writeFile(QStringLiteral("FONTS/other.fnt"), bytes);
    }
    m.ram.fill(0xA5);
    rig_->dialogs.answers = QStringList{file};
    child<QPushButton>("loadButton")->click();
    QCOMPARE(rig_->dialogs.asked.back().title, QStringLiteral("Load Font"));
    QCOMPARE(rig_->dialogs.asked.back().dir, fonts + QLatin1Char('/'));
    QCOMPARE(rig_->dialogs.errors.size(), error ? 1 : 0);
    for (int i = 0; i < 65536; ++i) {
        std::uint8_t want = 0xA5;
        if (i >= 0xB100 && i < 0xB100 + read)
            want = size ? static_cast<std::uint8_t>((i - 0xB100) * 3) : original[static_cast<std::size_t>(i)];
        QCOMPARE(m.ram[static_cast<std::size_t>(i)], want);
    }
}

void FontFormTest::aFullDiskLeavesNoFontFile()
{
    rig_->makeFolder(QStringLiteral("FONTS"));
    QVERIFY(open());
    const QString file = rig_->path(QStringLiteral("FONTS/full.fnt"));
    rig_->dialogs.answers = QStringList{file};
    {
        const test::FileSizeLimit full(0);
        QVERIFY(full.ok());
        child<QPushButton>("saveButton")->click();
    }
    QCOMPARE(rig_->dialogs.errors.size(), 1);
    QVERIFY2(rig_->dialogs.errors.front().contains(file), qPrintable(rig_->dialogs.errors.front()));
    QVERIFY(!QFile::exists(file));
}

void FontFormTest::aProgramFolderNamedInOtherBytesKeepsItsFonts()
{
    // "café" in Latin-1: the é is a byte that is not UTF-8.
    const std::string folder = QFile::encodeName(rig_->path(QString())).toStdString() + "/caf\xe9";
    QVERIFY(std::filesystem::create_directories(folder + "/FONTS"));
    rig_->window->machine().programDir = folder;
    QVERIFY(open());
    rig_->dialogs.answers.clear();
    child<QPushButton>("saveButton")->click(); // cancelled: only the suggestion is wanted
    rig_->dialogs.answers = QStringList{rig_->dialogs.asked.back().dir};
    child<QPushButton>("saveButton")->click();
    QVERIFY(rig_->dialogs.errors.isEmpty());
    int saved = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/FONTS"))
        saved += entry.file_size() == 2049 ? 1 : 0;
    QCOMPARE(saved, 1);
}

void FontFormTest::anEditedLetterIsTypedOnTheScreen()
{
    QVERIFY(rig_->powerOn());
    QVERIFY(open());
    pick(1, 2); // A
    draw(kBoxGlyph);
    child<QPushButton>("changeButton")->click();

    rig_->window->activateWindow();
    QTest::keyPress(rig_->window.get(), Qt::Key_A);
    rig_->runTicks(3);
    QTest::keyRelease(rig_->window.get(), Qt::Key_A);
    rig_->runTicks(3);

    // Somewhere on the screen a cell now holds the box: ink white on blue.
    const output::FrameBitmap& screen = *rig_->window->screen().screenBitmap;
    int found = 0;
    for (int cy = 0; cy < 256; cy += 8)
        for (int cx = 0; cx < 256; cx += 8) {
            bool same = true;
            for (int r = 0; r < 8 && same; ++r)
                for (int x = 0; x < 8 && same; ++x) {
                    const bool ink = (kBoxGlyph[static_cast<std::size_t>(r)] >> (7 - x)) & 1;
                    same = test::bitmapPixel(screen, cx + x, cy + r) == (ink ? qRgb(255, 255, 255) : qRgb(0, 0, 255));
                }
            found += same;
        }
    QCOMPARE(found, 1);
}

QTEST_MAIN(FontFormTest)
#include "font_form_test.moc"
