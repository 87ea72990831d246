#include "tools/qt/FontEditorForm.hpp"
#include "platform/qt/FileNames.hpp"
#include "machine/Machine.hpp"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "files/TimeStamp.hpp"
#include "kit/Captions.hpp"
#include "kit/Dialogs.hpp"
#include "kit/WindowHost.hpp"
#include "kit/CentreOnOwner.hpp"

namespace ostrovik::tools {

namespace {

constexpr int kRightPanel = 186;
constexpr int kBottomPanel = 50;
constexpr int kGlyphInset = 2;
/// A cell and the grid line after it.
constexpr int kCodeCell = FontEditorForm::kCodeCell;
constexpr int kCodeStep = kCodeCell + 1;
constexpr int kBitStep = FontEditorForm::kBitCell + FontEditorForm::kBitLine;

} // namespace

/// The 16 × 16 code grid: every glyph as memory holds it at each repaint.
class CodeGrid : public QWidget {
public:
    explicit CodeGrid(FontEditorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("codeGrid"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::Mid));
        const int side = kCodeGridSide * kCodeStep;
        for (int i = 0; i < kCodeGridSide; ++i) {
            p.drawLine(i * kCodeStep + kCodeCell, 0, i * kCodeStep + kCodeCell, side - 1);
            p.drawLine(0, i * kCodeStep + kCodeCell, side - 1, i * kCodeStep + kCodeCell);
        }
        for (int row = 0; row < kCodeGridSide; ++row)
            for (int column = 0; column < kCodeGridSide; ++column) {
                const QRect cell(column * kCodeStep, row * kCodeStep, kCodeCell, kCodeCell);
                const bool selected = column == form_.editor_.column() && row == form_.editor_.row();
                p.fillRect(cell, selected ? palette().color(QPalette::Highlight) : QColor(Qt::white));
                p.drawImage(cell.left() + kGlyphInset, cell.top() + kGlyphInset, form_.drawGlyph(column, row));
            }
    }
    void mousePressEvent(QMouseEvent* event) override { form_.pickGlyph(event->position().toPoint()); }

private:
    FontEditorForm& form_;
};

/// The 8 × 8 dot grid: black cells hold "1", white ones anything else.
class BitGrid : public QWidget {
public:
    explicit BitGrid(FontEditorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("dotGrid"));
        setFixedSize(8 * kBitStep + FontEditorForm::kBitLine, 8 * kBitStep + FontEditorForm::kBitLine);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Mid));
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const bool ink = form_.editor_.cell(column, row) == "1";
                p.fillRect(FontEditorForm::kBitLine + column * kBitStep,
                           FontEditorForm::kBitLine + row * kBitStep, FontEditorForm::kBitCell,
                           FontEditorForm::kBitCell, ink ? Qt::black : Qt::white);
            }
    }
    void mousePressEvent(QMouseEvent* event) override { form_.toggleDot(event->position().toPoint()); }

private:
    FontEditorForm& form_;
};

/// The chosen glyph at one screen pixel per dot.
class PreviewImage : public QWidget {
public:
    explicit PreviewImage(FontEditorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("previewView"));
        setFixedSize(8, 8);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, form_.preview_);
    }

private:
    FontEditorForm& form_;
};

FontEditorForm::FontEditorForm(kit::WindowHost& host) : QWidget(&host.mainWindow(), Qt::Tool), host_(host)
{
    // FormCreate
    setObjectName(QStringLiteral("FontEditorForm"));
    // The window has no caption. An empty title would not do: Qt hands the
    // window manager the program's name in its place. A blank shows nothing.
    setWindowTitle(QStringLiteral(" "));
    resize(kClientWidth, kClientHeight);
    preview_ = QImage(8, 8, QImage::Format_RGB32);
    preview_.fill(Qt::white);

    codeGrid_ = new CodeGrid(*this);
    dotGrid_ = new BitGrid(*this);
    previewView_ = new PreviewImage(*this);
    codeLabel_ = new QLabel(QStringLiteral("KOI-7 code:"), this);
    codeLabel_->setObjectName(QStringLiteral("codeLabel"));
    addressLabel_ = new QLabel(QStringLiteral("Adress:"), this);
    addressLabel_->setObjectName(QStringLiteral("addressLabel"));
    changeButton_ = new QPushButton(this);
    changeButton_->setObjectName(QStringLiteral("changeButton"));
    loadButton_ = new QPushButton(this);
    loadButton_->setObjectName(QStringLiteral("loadButton"));
    saveButton_ = new QPushButton(this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    exitButton_ = new QPushButton(this);
    exitButton_->setObjectName(QStringLiteral("exitButton"));
    placeControls();

    host_.adoptCaptions(*this, kit::CaptionWindow::FontEditor);

    connect(loadButton_, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { openFont(); }); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { saveFontAs(); }); });
    connect(exitButton_, &QPushButton::clicked, this, [this] { exitEditor(); });
    connect(changeButton_, &QPushButton::clicked, this, [this] { changeGlyph(); });

    kit::centreOnOwner(*this, host.mainWindow());
}

void FontEditorForm::placeControls()
{
    // The code grid fills what the right and bottom panels leave.
    const int right = width() - kRightPanel;
    const int bottom = height() - kBottomPanel;
    codeGrid_->setGeometry(0, 0, right, bottom);
    dotGrid_->move(right + 24, 8);
    previewView_->move(right + 24, 156);
    codeLabel_->setGeometry(right + 8, 172, kRightPanel - 16, 20);
    addressLabel_->setGeometry(right + 8, 194, kRightPanel - 16, 20);
    changeButton_->setGeometry(right + 24, 222, 138, 25);
    loadButton_->setGeometry(8, bottom + 12, 150, 25);
    saveButton_->setGeometry(166, bottom + 12, 150, 25);
    exitButton_->setGeometry(width() - 108, bottom + 12, 100, 25);
}

void FontEditorForm::resizeEvent(QResizeEvent*)
{
    placeControls();
}

const QString& FontEditorForm::fontDialogFilter()
{
    static const QString filter = QStringLiteral("fnt (*.fnt)");
    return filter;
}

MachineRam& FontEditorForm::ram()
{
    return host_.machine().ram;
}

QString FontEditorForm::fontsFolder() const
{
    return platform::fileNameText(host_.machine().programDir) + QStringLiteral("/FONTS/");
}

QImage FontEditorForm::drawGlyph(int column, int row) const
{
    QImage cell(8, 8, QImage::Format_RGB32);
    const std::uint16_t address = glyphAddress(codeAt(column, row));
    for (int r = 0; r < 8; ++r)
        drawGlyphRow(cell, host_.machine().ram[address + r], r);
    return cell;
}

void FontEditorForm::drawGlyphRow(QImage& cell, std::uint8_t value, int row)
{
    auto* line = reinterpret_cast<QRgb*>(cell.scanLine(row));
    for (int b = 0; b < 8; ++b)
        line[7 - b] = (value >> b) & 1 ? 0xFF000000u : 0xFFFFFFFFu;
}

void FontEditorForm::showGlyphRow(std::uint8_t value, int row)
{
    drawGlyphRow(preview_, value, row);
    dotGrid_->update();
    previewView_->update();
}

void FontEditorForm::pickGlyph(QPoint pos)
{
    preview_.fill(Qt::white);
    previewView_->update();
    const int column = pos.x() / kCodeStep, row = pos.y() / kCodeStep;
    if (pos.x() < 0 || pos.y() < 0 || column >= kCodeGridSide || row >= kCodeGridSide)
        return;
    editor_.select(column, row, ram());
    codeLabel_->setText(QString::fromStdString(editor_.codeLabel()));
    addressLabel_->setText(QString::fromStdString(editor_.addressLabel()));
    for (int r = 0; r < 8; ++r)
        showGlyphRow(ram()[glyphAddress(editor_.code()) + r], r);
    codeGrid_->update();
}

void FontEditorForm::toggleDot(QPoint pos)
{
    const int x = pos.x() - kBitLine, y = pos.y() - kBitLine;
    if (x < 0 || y < 0 || x / kBitStep >= 8 || y / kBitStep >= 8)
        return;
    editor_.toggle(x / kBitStep, y / kBitStep);
    dotGrid_->update();
}

void FontEditorForm::changeGlyph()
{
    editor_.change(ram());
    codeGrid_->update(editor_.column() * kCodeStep, editor_.row() * kCodeStep, kCodeCell, kCodeCell);
}

void FontEditorForm::openFont()
{
    const std::optional<QString> file =
        kit::dialogs().openFile(this, QStringLiteral("Load Font"), fontsFolder(), fontDialogFilter());
    if (!file)
        return;
    const FontLoad load = loadFont(platform::fileNamePath(*file), ram());
    // Whatever was read is in memory now, also when the file ran out.
    codeGrid_->update();
    if (load.error)
        kit::dialogs().error(this, QString::fromStdString(*load.error));
}

void FontEditorForm::saveFontAs()
{
    const QString suggested =
        fontsFolder() + QString::fromStdString(fontFileName(files::fileTimeStampNow()));
    const std::optional<QString> file =
        kit::dialogs().saveFile(this, QStringLiteral("Save Font"), suggested, fontDialogFilter());
    if (!file)
        return;
    saveFont(platform::fileNamePath(*file), ram());
}

void FontEditorForm::exitEditor()
{
    hide();
}

} // namespace ostrovik::tools
