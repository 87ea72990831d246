#include "games/qt/GameLibraryForm.hpp"
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
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include "games/CatalogueSite.hpp"
#include "games/GameLibrary.hpp"
#include "games/qt/StarPictures.hpp"
#include "platform/qt/FileNames.hpp"
#include "kit/CentreOnOwner.hpp"
#include "kit/Dialogs.hpp"
#include "kit/Text.hpp"

namespace ostrovik::games {

namespace {

constexpr int kPanel1Width = 209;
constexpr int kBarHeight = 41;
constexpr int kMemoHeight = 158;
constexpr int kShotTop = 47;
constexpr int kShotSize = 256;

using platform::fileNamePath;
using platform::fileNameText;

using kit::fromUtf8;

/// The error of a game folder's file that cannot be read.
std::runtime_error unreadable(const std::string& what, const std::string& path, const std::string& reason)
{
    return std::runtime_error("Cannot read " + what + path + ": " + reason);
}

/// A first line of mark.txt that is no rating: the click that meets it ends
/// at its box, and what was shown before it stays.
struct BadRating : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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

/// The line under a description cut at kDescriptionBytes. The text is ours,
/// not the catalogue's, so it is written in the caption language of the
/// moment, as the network window's own texts are.
QString descriptionCutLine(kit::Language language)
{
    const char* form = language == kit::Language::Russian
                           ? "[Описание длиннее %1 байт: показано только его начало]"
                           : "[The description is longer than %1 bytes: only its beginning is shown]";
    return QString::fromUtf8(form).arg(kDescriptionBytes);
}

} // namespace

GameLibraryForm::GameLibraryForm(kit::WindowHost& emulator, QWidget* parent)
    : QWidget(parent, Qt::Window), emulator_(emulator)
{
    // A window of its own, not a tool window: the window system keeps a tool
    // window above the main window, which must come in front to show a game.
    setObjectName(QStringLiteral("GameLibraryForm"));
    setWindowTitle(QStringLiteral("GamesForm"));
    resize(kClientWidth, kClientHeight);

    listPanel = new QFrame(this);
    listPanel->setObjectName(QStringLiteral("listPanel"));
    listPanel->setFixedWidth(kPanel1Width);
    gameList = new QListWidget(listPanel);
    gameList->setObjectName(QStringLiteral("gameList"));
    gameList->setFrameShape(QFrame::NoFrame);
    gameList->setFont(tahoma(13));
    gameList->setUniformItemSizes(true);
    gameList->setStyleSheet(QStringLiteral("QListWidget::item { height: 16px; }"));
    setTextColour(gameList, QColor(0, 255, 0), Qt::black);
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(gameList);

    picturePanel = blackPanel(this, "picturePanel");
    picturePanel->installEventFilter(this);
    ratingPanel = blackPanel(picturePanel, "ratingPanel");
    rankingLabel = new QLabel(ratingPanel);
    rankingLabel->setObjectName(QStringLiteral("rankingLabel"));
    rankingLabel->move(0, 1);
    rankingLabel->setFont(tahoma(24));
    setTextColour(rankingLabel, Qt::blue, Qt::black);
    starsView = picture(ratingPanel, "starsView", 136, 0, 309, 31);
    starsView->setScaledContents(false);
    starsView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    starView = picture(ratingPanel, "starView", 0, 0, kStarWidth, kStarWidth);
    starView->setPixmap(fullStarPicture());
    starView->hide();
    halfStarView = picture(ratingPanel, "halfStarView", 0, 0, kHalfStarWidth, kStarWidth);
    halfStarView->setPixmap(halfStarPicture());
    halfStarView->hide();
    firstShotView = picture(picturePanel, "firstShotView", 0, kShotTop, kShotSize, kShotSize);
    secondShotView = picture(picturePanel, "secondShotView", 262, kShotTop, kShotSize, kShotSize);
    descriptionView = new QTextEdit(picturePanel);
    descriptionView->setObjectName(QStringLiteral("descriptionView"));
    descriptionView->setReadOnly(true);
    descriptionView->setFrameShape(QFrame::NoFrame);
    descriptionView->setFont(tahoma(15));
    setTextColour(descriptionView, QColor(0, 255, 0), Qt::black);

    buttonPanel = blackPanel(this, "buttonPanel");
    buttonPanel->setFixedHeight(kBarHeight);
    runButton = new QPushButton(buttonPanel);
    runButton->setObjectName(QStringLiteral("runButton"));
    runButton->setGeometry(160, 6, 121, 25);
    exitButton = new QPushButton(buttonPanel);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    exitButton->setGeometry(488, 6, 121, 25);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(listPanel);
    top->addWidget(picturePanel, 1);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);
    whole->addLayout(top, 1);
    whole->addWidget(buttonPanel);

    // A game is picked by selecting it: the list makes its first row current
    // when it gets the focus, and that picks nothing.
    connect(gameList, &QListWidget::itemSelectionChanged, this, [this] { showSelectedGame(); });
    connect(gameList, &QListWidget::itemDoubleClicked, this, [this] { runSelectedGameOnDoubleClick(); });
    connect(runButton, &QPushButton::clicked, this, [this] { runSelectedGame(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { exitLibrary(); });

    setUpViews();
}

GameLibraryForm::~GameLibraryForm() = default;

std::string GameLibraryForm::root() const
{
    return libraryRoot(emulator_.machine().programDir);
}

std::string GameLibraryForm::selectedGame() const
{
    const QList<QListWidgetItem*> picked = gameList->selectedItems();
    return picked.size() == 1 ? fileNamePath(picked.front()->text()) : std::string();
}

bool GameLibraryForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picturePanel && event->type() == QEvent::Resize)
        placePictures();
    return QWidget::eventFilter(watched, event);
}

void GameLibraryForm::placePictures()
{
    ratingPanel->setGeometry(0, 0, picturePanel->width(), kBarHeight);
    descriptionView->setGeometry(0, picturePanel->height() - kMemoHeight, picturePanel->width(), kMemoHeight);
}

void GameLibraryForm::setUpViews()
{
    // The captions come from the main window's language, set by whoever makes the window.
    starsView->setPixmap(QPixmap(starsView->size()));
    clearRating();
    listGames();
    if (gameList->count() == 0)
        return;
    const std::string first = fileNamePath(gameList->item(0)->text());
    try {
        showPictures(first);
        {
            const QSignalBlocker quiet(gameList);
            gameList->setCurrentRow(0);
        }
        showRating(first);
    } catch (const std::exception& e) {
        if (!dynamic_cast<const BadRating*>(&e))
            clearShownGame();
        // The window is being made: its box comes once it is on the screen.
        QMetaObject::invokeMethod(
            this, [this, text = QString::fromUtf8(e.what())] { kit::dialogs().error(this, text); },
            Qt::QueuedConnection);
    }
}

void GameLibraryForm::listGames()
{
    const QSignalBlocker quiet(gameList);
    gameList->clear();
    for (const std::string& game : gamesInLibrary(root()))
        gameList->addItem(fileNameText(game));
}

void GameLibraryForm::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (const QWidget* owner = parentWidget())
            kit::centreOnOwner(*this, *owner);
    }
    QWidget::showEvent(event);
    refreshGameList();
}

void GameLibraryForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshGameList();
    // The captions have switched: the line under a cut description is not
    // one of them, and follows here.
    if (event->type() == QEvent::LanguageChange)
        followCaptionLanguage();
    QWidget::changeEvent(event);
}

void GameLibraryForm::refreshGameList()
{
    // Only added games make a new list; the refresh selects nothing and keeps
    // what is shown.
    if (gameList->count() < countGames(root()))
        listGames();
}

void GameLibraryForm::showPictures(const std::string& game)
{
    const std::string dir = root() + game + "/";
    for (auto [file, image] : {std::pair{"screen1.png", firstShotView}, std::pair{"screen2.png", secondShotView}}) {
        const std::string path = dir + file;
        const GameFile shot = readGameFile(path, kScreenshotBytes, false);
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
    const GameFile description = readGameFile(textFile, kDescriptionBytes, true);
    if (description.state == GameFile::State::Failed)
        throw unreadable("", textFile, description.reason);
    if (description.state == GameFile::State::Read) {
        QStringList text;
        for (const std::string& line : textLines(description.bytes))
            text << fromUtf8(line);
        cutLineLanguage_.reset();
        if (description.cut) {
            cutLineLanguage_ = emulator_.language();
            text << descriptionCutLine(*cutLineLanguage_);
        }
        descriptionView->setPlainText(text.join(QLatin1Char('\n')));
        QTextCursor all(descriptionView->document());
        all.select(QTextCursor::Document);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        all.mergeBlockFormat(centred);
    }
}

void GameLibraryForm::showRating(const std::string& game)
{
    const std::string markFile = root() + game + "/mark.txt";
    const GameFile mark = readGameFile(markFile, kMarkBytes, true);
    if (mark.state == GameFile::State::Absent) {
        clearRating();
        return;
    }
    if (mark.state == GameFile::State::Failed)
        throw unreadable("", markFile, mark.reason);
    const Rating rating = ratingOfMarkFile(mark.bytes, mark.cut);
    if (!rating.error.empty())
        throw BadRating(rating.error);
    if (rating.clear)
        clearRating();
    else
        drawStars(rating.mark);
}

void GameLibraryForm::showSelectedGame()
{
    const std::string game = selectedGame();
    if (game.empty())
        return;
    try {
        showPictures(game);
        showRating(game);
    } catch (const std::exception& e) {
        if (!dynamic_cast<const BadRating*>(&e))
            clearShownGame();
        kit::dialogs().error(this, QString::fromUtf8(e.what()));
    }
}

void GameLibraryForm::clearShownGame()
{
    firstShotView->clear();
    secondShotView->clear();
    descriptionView->clear();
    cutLineLanguage_.reset();
    clearRating();
}

void GameLibraryForm::followCaptionLanguage()
{
    const kit::Language language = emulator_.language();
    if (!cutLineLanguage_ || *cutLineLanguage_ == language)
        return;
    cutLineLanguage_ = language;
    // Only the last line is rewritten, so that the view stays where it was.
    QTextCursor line(descriptionView->document()->lastBlock());
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    line.insertText(descriptionCutLine(language));
}

void GameLibraryForm::clearRating()
{
    QPixmap area(starsView->size());
    area.fill(Qt::black);
    starsView->setPixmap(area);
}

void GameLibraryForm::drawStars(std::uint8_t mark)
{
    QPixmap area(starsView->size());
    area.fill(Qt::black);
    const StarLayout stars = layoutStars(mark);
    {
        QPainter p(&area);
        for (int k = 0; k < stars.fullStars; ++k)
            p.drawPixmap(kStarWidth * k, 0, starView->pixmap());
        if (stars.halfStarX)
            p.drawPixmap(*stars.halfStarX, 0, halfStarView->pixmap());
    }
    starsView->setPixmap(area);
}

void GameLibraryForm::runSelectedGame()
{
    if (gameList->count() == 0) {
        kit::dialogs().message(this, QStringLiteral("Ostrovik"), QString::fromStdString(
                                 noGamesMessage(root(), kCatalogueGamesAddress)));
        close();
        return;
    }
    const std::string game = selectedGame();
    // After a refresh the list may have no selection: nothing to run then.
    if (game.empty())
        return;
    const std::optional<std::string> path = runnableFile(root(), game);
    if (!path) {
        kit::dialogs().message(this, QStringLiteral("Ostrovik"), fileNameText(nothingToRunMessage(game)));
        return;
    }
    emulator_.runGuarded([&] {
        machine::startProgram(emulator_, {*path, "Ostrovik:" + *path, /*remember=*/true});
    });
}

void GameLibraryForm::runSelectedGameOnDoubleClick()
{
    runSelectedGame();
}

void GameLibraryForm::exitLibrary()
{
    close();
}

} // namespace ostrovik::games
