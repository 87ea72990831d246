#include "games/qt/TGamesForm.hpp"
#include "machine/Machine.hpp"

#include <stdexcept>

#include <QBuffer>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/StarPictures.hpp"
#include "platform/qt/FileNames.hpp"
#include "ui/kit/CentreOnOwner.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/Text.hpp"

namespace ostrovik::games {

namespace {

constexpr int kPanel1Width = 209;
constexpr int kBarHeight = 41;
constexpr int kMemoHeight = 158;
constexpr int kShotTop = 47;
constexpr int kShotSize = 256;

using platform::FileNamePath;
using platform::FileNameText;

using ui::fromUtf8;

/// The error of a game folder's file that cannot be read.
std::runtime_error unreadable(const std::string& what, const std::string& path, const std::string& reason)
{
    return std::runtime_error("Cannot read " + what + path + ": " + reason);
}

QFrame* blackPanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    panel->setPalette(pal);
    return panel;
}

QFont tahoma(int pixels)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

void setTextColour(QWidget* w, const QColor& text, const QColor& base)
{
    QPalette pal = w->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        pal.setColor(role, text);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        pal.setColor(role, base);
    w->setPalette(pal);
}

QLabel* picture(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, h);
    label->setScaledContents(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TGamesForm::TGamesForm(machine::EmulatorControl& emulator, QWidget* parent)
    : QWidget(parent, Qt::Window), emulator_(emulator)
{
    // A window of its own, not a tool window: the window system keeps a tool
    // window above the main window, which must come in front to show a game.
    setObjectName(QStringLiteral("GamesForm"));
    setWindowTitle(QStringLiteral("GamesForm"));
    resize(kClientWidth, kClientHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(kPanel1Width);
    ListBox1 = new QListWidget(Panel1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->setFont(tahoma(13));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setStyleSheet(QStringLiteral("QListWidget::item { height: 16px; }"));
    setTextColour(ListBox1, QColor(0, 255, 0), Qt::black);
    auto* listLayout = new QVBoxLayout(Panel1);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(ListBox1);

    Panel2 = blackPanel(this, "Panel2");
    Panel2->installEventFilter(this);
    Panel4 = blackPanel(Panel2, "Panel4");
    Label1 = new QLabel(Panel4);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(0, 1);
    Label1->setFont(tahoma(24));
    setTextColour(Label1, Qt::blue, Qt::black);
    Image5 = picture(Panel4, "Image5", 136, 0, 309, 31);
    Image5->setScaledContents(false);
    Image5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image3 = picture(Panel4, "Image3", 0, 0, kStarWidth, kStarWidth);
    Image3->setPixmap(FullStarPicture());
    Image3->hide();
    Image4 = picture(Panel4, "Image4", 0, 0, kHalfStarWidth, kStarWidth);
    Image4->setPixmap(HalfStarPicture());
    Image4->hide();
    Image1 = picture(Panel2, "Image1", 0, kShotTop, kShotSize, kShotSize);
    Image2 = picture(Panel2, "Image2", 262, kShotTop, kShotSize, kShotSize);
    Memo1 = new QTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(tahoma(15));
    setTextColour(Memo1, QColor(0, 255, 0), Qt::black);

    Panel3 = blackPanel(this, "Panel3");
    Panel3->setFixedHeight(kBarHeight);
    Button1 = new QPushButton(Panel3);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(160, 6, 121, 25);
    Button2 = new QPushButton(Panel3);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(488, 6, 121, 25);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(Panel1);
    top->addWidget(Panel2, 1);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);
    whole->addLayout(top, 1);
    whole->addWidget(Panel3);

    // A game is picked by selecting it: the list makes its first row current
    // when it gets the focus, and that picks nothing.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    FormCreate();
}

TGamesForm::~TGamesForm() = default;

std::string TGamesForm::root() const
{
    return LibraryRoot(emulator_.machine().ProgramDir);
}

std::string TGamesForm::selectedGame() const
{
    const QList<QListWidgetItem*> picked = ListBox1->selectedItems();
    return picked.size() == 1 ? FileNamePath(picked.front()->text()) : std::string();
}

bool TGamesForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel2 && event->type() == QEvent::Resize)
        placePanel2Children();
    return QWidget::eventFilter(watched, event);
}

void TGamesForm::placePanel2Children()
{
    Panel4->setGeometry(0, 0, Panel2->width(), kBarHeight);
    Memo1->setGeometry(0, Panel2->height() - kMemoHeight, Panel2->width(), kMemoHeight);
}

void TGamesForm::FormCreate()
{
    // The captions come from the main window's language, set by whoever makes the window.
    Image5->setPixmap(QPixmap(Image5->size()));
    clearRating();
    listGames();
    if (ListBox1->count() == 0)
        return;
    const std::string first = FileNamePath(ListBox1->item(0)->text());
    try {
        showPictures(first);
        {
            const QSignalBlocker quiet(ListBox1);
            ListBox1->setCurrentRow(0);
        }
        showRating(first);
    } catch (const std::exception& e) {
        ui::dialogs().error(this, QString::fromUtf8(e.what()));
    }
}

void TGamesForm::listGames()
{
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    for (const std::string& game : ListGames(root()))
        ListBox1->addItem(FileNameText(game));
}

void TGamesForm::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (const QWidget* owner = parentWidget())
            ui::CentreOnOwner(*this, *owner);
    }
    QWidget::showEvent(event);
    FormActivate();
}

void TGamesForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QWidget::changeEvent(event);
}

void TGamesForm::FormActivate()
{
    // Only added games make a new list; the refresh selects nothing and keeps
    // what is shown.
    if (ListBox1->count() < CountGames(root()))
        listGames();
}

void TGamesForm::showPictures(const std::string& game)
{
    const std::string dir = root() + game + "/";
    for (auto [file, image] : {std::pair{"screen1.png", Image1}, std::pair{"screen2.png", Image2}}) {
        const std::string path = dir + file;
        const GameFile shot = ReadGameFile(path, kScreenshotBytes, false);
        if (shot.state == GameFile::State::Absent)
            continue;
        if (shot.state == GameFile::State::Failed)
            throw unreadable("the picture ", path, shot.reason);
        QByteArray bytes = QByteArray::fromStdString(shot.bytes);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "png");
        const QImage picture = reader.read();
        if (picture.isNull())
            throw unreadable("the picture ", path, reader.errorString().toStdString());
        image->setPixmap(QPixmap::fromImage(picture));
    }
    const std::string textFile = dir + game + ".txt";
    const GameFile description = ReadGameFile(textFile, kDescriptionBytes, true);
    if (description.state == GameFile::State::Failed)
        throw unreadable("", textFile, description.reason);
    if (description.state == GameFile::State::Read) {
        std::vector<std::string> lines = TextLines(description.bytes);
        if (description.cut)
            lines.push_back(DescriptionCutLine());
        QStringList text;
        for (const std::string& line : lines)
            text << fromUtf8(line);
        Memo1->setPlainText(text.join(QLatin1Char('\n')));
        QTextCursor all(Memo1->document());
        all.select(QTextCursor::Document);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        all.mergeBlockFormat(centred);
    }
}

void TGamesForm::showRating(const std::string& game)
{
    const std::string markFile = root() + game + "/mark.txt";
    const GameFile mark = ReadGameFile(markFile, kMarkBytes, true);
    if (mark.state == GameFile::State::Absent) {
        clearRating();
        return;
    }
    if (mark.state == GameFile::State::Failed)
        throw unreadable("", markFile, mark.reason);
    const Rating rating = RatingOfMarkFile(mark.bytes, mark.cut);
    if (!rating.error.empty())
        throw std::runtime_error(rating.error);
    if (rating.clear)
        clearRating();
    else
        DrawStar(rating.mark);
}

void TGamesForm::ListBox1Click()
{
    const std::string game = selectedGame();
    if (game.empty())
        return;
    try {
        showPictures(game);
        showRating(game);
    } catch (const std::exception& e) {
        ui::dialogs().error(this, QString::fromUtf8(e.what()));
    }
}

void TGamesForm::clearRating()
{
    QPixmap area(Image5->size());
    area.fill(Qt::black);
    Image5->setPixmap(area);
}

void TGamesForm::DrawStar(std::uint8_t Mark)
{
    QPixmap area(Image5->size());
    area.fill(Qt::black);
    const StarLayout stars = LayoutStars(Mark);
    {
        QPainter p(&area);
        for (int k = 0; k < stars.fullStars; ++k)
            p.drawPixmap(kStarWidth * k, 0, Image3->pixmap());
        if (stars.halfStarX)
            p.drawPixmap(*stars.halfStarX, 0, Image4->pixmap());
    }
    Image5->setPixmap(area);
}

void TGamesForm::Button1Click()
{
    if (ListBox1->count() == 0) {
        ui::dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromStdString(
                                 NoGamesMessage(root(), kCatalogueGamesAddress)));
        close();
        return;
    }
    const std::string game = selectedGame();
    // After a refresh the list may have no selection: nothing to run then.
    if (game.empty())
        return;
    const std::optional<std::string> path = RunnableFile(root(), game);
    if (!path) {
        ui::dialogs().message(this, QStringLiteral("Ostrovik"), FileNameText(NothingToRunMessage(game)));
        return;
    }
    emulator_.runGuarded([&] {
        machine::RunProgram(emulator_, {*path, "Ostrovik:" + *path, /*remember=*/true});
    });
}

void TGamesForm::ListBox1DblClick()
{
    Button1Click();
}

void TGamesForm::Button2Click()
{
    close();
}

} // namespace ostrovik::games
