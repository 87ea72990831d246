#pragma once

#include <QPointer>
#include <QString>

#include <span>
#include <string_view>
#include <utility>
#include <vector>

class QPushButton;
class QWidget;

namespace ostrovik::kit {

enum class Language { Russian, English };

/// The windows whose captions the language switch writes.
enum class CaptionWindow {
    MainWindow,        ///< the main window: its caption and menu items
    MemoryDebugger,    ///< the memory debugger
    Settings,          ///< the settings window
    PictureConverter,  ///< the picture converter
    FontEditor,        ///< the character-generator editor
    GameLibrary,       ///< the game library
    GameDownloader,    ///< the game downloader
    NetSessionDialog,  ///< the network session's connection dialog
};

/// One component's caption in both languages (UTF-8).
struct Caption {
    std::string_view component;
    std::string_view russian;
    std::string_view english;
};

/// The captions the switch writes into @p window, in the order it writes
/// them. The main window's list starts with the window itself, named
/// "MainFormEmu". `DownloadGames` is listed without the catalogue's
/// address, the tail the main menu gives it.
std::span<const Caption> captionSet(CaptionWindow window);

/// Text the program puts after component @p component's caption in both
/// languages: the download item carries the catalogue's address, which the
/// games library above the kit knows.
void setCaptionTail(std::string_view component, std::string_view tail);

/// @p caption's text in @p language, with its tail (setCaptionTail) after it.
QString captionText(const Caption& caption, Language language);

/// The download menu item's caption: its words and the catalogue's address.
QString onlineGamesCaption(Language language);

/// Writes @p text as the caption of the component @p name of @p window: the
/// window's title when @p name is the window's own object name, otherwise
/// the text of the child action, button or label, the title of a group box
/// or submenu, or the tab text of a tab page of that name. Returns false
/// when @p window has no such component.
bool setComponentCaption(QWidget& window, const QString& name, const QString& text);

/// Writes the whole set @p set in @p language into @p window.
void applyCaptionSet(QWidget& window, CaptionWindow set, Language language);

/// Whether @p button's caption fits its width with the style's margins;
/// applying a caption shrinks the font of a hand-placed button until it does.
bool captionFits(const QPushButton& button);

/// The windows (other than the main one) that follow every later switch.
class CaptionFollowers {
public:
    /// @p window follows switches from now on, with the set @p set.
    void follow(QWidget& window, CaptionWindow set);
    /// Writes each live follower's set in @p language, the memory debugger
    /// first, the settings window next, the rest in the order they came;
    /// each then gets a QEvent::LanguageChange.
    void apply(Language language);

private:
    std::vector<std::pair<QPointer<QWidget>, CaptionWindow>> windows_;
};

} // namespace ostrovik::kit
