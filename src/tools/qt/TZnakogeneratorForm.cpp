#include "tools/qt/TZnakogeneratorForm.hpp"
#include "machine/Machine.hpp"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "files/TimeStamp.hpp"
#include "ui/kit/Captions.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/WindowHost.hpp"
#include "ui/kit/CentreOnOwner.hpp"

namespace ostrovik::tools {

namespace {

constexpr int kRightPanel = 186;
constexpr int kBottomPanel = 50;
constexpr int kGlyphInset = 2;
/// A cell and the grid line after it.
constexpr int kCodeCell = TZnakogeneratorForm::kCodeCell;
constexpr int kCodeStep = kCodeCell + 1;
constexpr int kBitStep = TZnakogeneratorForm::kBitCell + TZnakogeneratorForm::kBitLine;

} // namespace

/// The 16 × 16 code grid: every glyph as memory holds it at each repaint.
class CodeGrid : public QWidget {
public:
    explicit CodeGrid(TZnakogeneratorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("StringGrid1"));
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
                p.drawImage(cell.left() + kGlyphInset, cell.top() + kGlyphInset, form_.DrawZnak(column, row));
            }
    }
    void mousePressEvent(QMouseEvent* event) override { form_.StringGrid1MouseDown(event->position().toPoint()); }

private:
    TZnakogeneratorForm& form_;
};

/// The 8 × 8 dot grid: black cells hold "1", white ones anything else.
class BitGrid : public QWidget {
public:
    explicit BitGrid(TZnakogeneratorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("StringGrid2"));
        setFixedSize(8 * kBitStep + TZnakogeneratorForm::kBitLine, 8 * kBitStep + TZnakogeneratorForm::kBitLine);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Mid));
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const bool ink = form_.editor_.cell(column, row) == "1";
                p.fillRect(TZnakogeneratorForm::kBitLine + column * kBitStep,
                           TZnakogeneratorForm::kBitLine + row * kBitStep, TZnakogeneratorForm::kBitCell,
                           TZnakogeneratorForm::kBitCell, ink ? Qt::black : Qt::white);
            }
    }
    void mousePressEvent(QMouseEvent* event) override { form_.StringGrid2MouseDown(event->position().toPoint()); }

private:
    TZnakogeneratorForm& form_;
};

/// The chosen glyph at one screen pixel per dot.
class PreviewImage : public QWidget {
public:
    explicit PreviewImage(TZnakogeneratorForm& form) : QWidget(&form), form_(form)
    {
        setObjectName(QStringLiteral("Image1"));
        setFixedSize(8, 8);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, form_.preview_);
    }

private:
    TZnakogeneratorForm& form_;
};

TZnakogeneratorForm::TZnakogeneratorForm(ui::WindowHost& host) : QWidget(&host.mainWindow(), Qt::Tool), host_(host)
{
    // FormCreate
    setObjectName(QStringLiteral("ZnakogeneratorForm"));
    // The window has no caption. An empty title would not do: Qt hands the
    // window manager the program's name in its place. A blank shows nothing.
    setWindowTitle(QStringLiteral(" "));
    resize(kClientWidth, kClientHeight);
    preview_ = QImage(8, 8, QImage::Format_RGB32);
    preview_.fill(Qt::white);

    StringGrid1 = new CodeGrid(*this);
    StringGrid2 = new BitGrid(*this);
    Image1 = new PreviewImage(*this);
    Label1 = new QLabel(QStringLiteral("KOI-7 code:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Adress:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button4 = new QPushButton(this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(this);
    Button3->setObjectName(QStringLiteral("Button3"));
    placeControls();

    host_.adoptCaptions(*this, ui::CaptionWindow::ZnakogeneratorForm);

    connect(Button1, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { host_.runGuarded([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });

    ui::CentreOnOwner(*this, host.mainWindow());
}

void TZnakogeneratorForm::placeControls()
{
    // The code grid fills what the right and bottom panels leave.
    const int right = width() - kRightPanel;
    const int bottom = height() - kBottomPanel;
    StringGrid1->setGeometry(0, 0, right, bottom);
    StringGrid2->move(right + 24, 8);
    Image1->move(right + 24, 156);
    Label1->setGeometry(right + 8, 172, kRightPanel - 16, 20);
    Label2->setGeometry(right + 8, 194, kRightPanel - 16, 20);
    Button4->setGeometry(right + 24, 222, 138, 25);
    Button1->setGeometry(8, bottom + 12, 150, 25);
    Button2->setGeometry(166, bottom + 12, 150, 25);
    Button3->setGeometry(width() - 108, bottom + 12, 100, 25);
}

void TZnakogeneratorForm::resizeEvent(QResizeEvent*)
{
    placeControls();
}

const QString& TZnakogeneratorForm::FontDialogFilter()
{
    static const QString filter = QStringLiteral("fnt (*.fnt)");
    return filter;
}

MachineRam& TZnakogeneratorForm::ram()
{
    return host_.machine().RAM;
}

QString TZnakogeneratorForm::fontsFolder() const
{
    return QFile::decodeName(QByteArray::fromStdString(host_.machine().ProgramDir)) + QStringLiteral("/FONTS/");
}

QImage TZnakogeneratorForm::DrawZnak(int Column, int Row) const
{
    QImage cell(8, 8, QImage::Format_RGB32);
    const std::uint16_t address = glyphAddress(codeAt(Column, Row));
    for (int r = 0; r < 8; ++r)
        DrawGlyphRow(cell, host_.machine().RAM[address + r], r);
    return cell;
}

void TZnakogeneratorForm::DrawGlyphRow(QImage& cell, std::uint8_t Value, int Row)
{
    auto* line = reinterpret_cast<QRgb*>(cell.scanLine(Row));
    for (int b = 0; b < 8; ++b)
        line[7 - b] = (Value >> b) & 1 ? 0xFF000000u : 0xFFFFFFFFu;
}

void TZnakogeneratorForm::ShowGlyphRow(std::uint8_t Value, int Row)
{
    DrawGlyphRow(preview_, Value, Row);
    StringGrid2->update();
    Image1->update();
}

void TZnakogeneratorForm::StringGrid1MouseDown(QPoint pos)
{
    preview_.fill(Qt::white);
    Image1->update();
    const int column = pos.x() / kCodeStep, row = pos.y() / kCodeStep;
    if (pos.x() < 0 || pos.y() < 0 || column >= kCodeGridSide || row >= kCodeGridSide)
        return;
    editor_.select(column, row, ram());
    Label1->setText(QString::fromStdString(editor_.codeLabel()));
    Label2->setText(QString::fromStdString(editor_.addressLabel()));
    for (int r = 0; r < 8; ++r)
        ShowGlyphRow(ram()[glyphAddress(editor_.code()) + r], r);
    StringGrid1->update();
}

void TZnakogeneratorForm::StringGrid2MouseDown(QPoint pos)
{
    const int x = pos.x() - kBitLine, y = pos.y() - kBitLine;
    if (x < 0 || y < 0 || x / kBitStep >= 8 || y / kBitStep >= 8)
        return;
    editor_.toggle(x / kBitStep, y / kBitStep);
    StringGrid2->update();
}

void TZnakogeneratorForm::Button4Click()
{
    editor_.change(ram());
    StringGrid1->update(editor_.column() * kCodeStep, editor_.row() * kCodeStep, kCodeCell, kCodeCell);
}

void TZnakogeneratorForm::Button1Click()
{
    const std::optional<QString> file =
        ui::dialogs().openFile(this, QStringLiteral("Load Font"), fontsFolder(), FontDialogFilter());
    if (!file)
        return;
    const FontLoad load = loadFont(QFile::encodeName(*file).toStdString(), ram());
    // Whatever was read is in memory now, also when the file ran out.
    StringGrid1->update();
    if (load.error)
        ui::dialogs().error(this, QString::fromStdString(*load.error));
}

void TZnakogeneratorForm::Button2Click()
{
    const QString suggested =
        fontsFolder() + QString::fromStdString(fontFileName(files::fileTimeStampNow()));
    const std::optional<QString> file =
        ui::dialogs().saveFile(this, QStringLiteral("Save Font"), suggested, FontDialogFilter());
    if (!file)
        return;
    saveFont(QFile::encodeName(*file).toStdString(), ram());
}

void TZnakogeneratorForm::Button3Click()
{
    hide();
}

} // namespace ostrovik::tools
