#include "ui/MainMenu.hpp"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <span>
#include <vector>

#include "games/CatalogueSite.hpp"
#include "kit/Captions.hpp"
#include "kit/IconSet.hpp"
#include "ui/MainWindow.hpp"

namespace ostrovik::ui {

using kit::Icon;
using kit::IconSet;
using kit::Language;
using kit::onlineGamesCaption;
using kit::setCaptionTail;

namespace {

using T = MainWindow;

constexpr const char* kImageProperty = "ImageIndex";

enum class Kind { Submenu, EndSubmenu, Item, Separator };
enum class Mark { None, Unchecked, Checked };

struct MenuEntry {
    Kind kind;
    MenuItem name{std::string_view{}};
    const char* caption = "";
    Icon image = Icon::None;
    CommandHandler handler = nullptr;
    Mark mark = Mark::None;
};

constexpr MenuEntry submenu(MenuItem name, const char* caption, Icon image = Icon::None)
{
    return {Kind::Submenu, name, caption, image};
}
constexpr MenuEntry end()
{
    return {Kind::EndSubmenu};
}
constexpr MenuEntry separator(MenuItem name)
{
    return {Kind::Separator, name, "-"};
}
constexpr MenuEntry item(MenuItem name, const char* caption, Icon image, CommandHandler handler,
                         Mark mark = Mark::None)
{
    return {Kind::Item, name, caption, image, handler, mark};
}

// The design captions are Russian; the English set replaces some of them.
const MenuEntry kMainMenu[] = {
    submenu(menu::FileMenu, "Файл"),
    item(menu::OpenFile, "Открыть файл", Icon::Open, &T::openFile),
    item(menu::SaveSnapshot, "Сохранить файл (sav)", Icon::Save, &T::saveSnapshot),
    separator(menu::SeparatorBeforeReset),
    item(menu::ResetCpu, "Reset CPU", Icon::Reset, &T::resetCpu),
    item(menu::Pause, "Пауза", Icon::Pause, &T::togglePause, Mark::Unchecked),
    separator(menu::SeparatorBeforeExit),
    item(menu::Exit, "Выход", Icon::Exit, &T::exitProgram),
    // The recent files go below this one.
    separator(menu::SeparatorBeforeRecentFiles),
    end(),

    submenu(menu::SetupMenu, "Настройки"),
    item(menu::FullScreen, "FullScreen", Icon::Stretch, &T::toggleFullScreen, Mark::Checked),
    item(menu::GrayTv, "ЧБ телевизор", Icon::ColourTv, &T::toggleGrayTv, Mark::Unchecked),
    item(menu::Blur, "Размытие", Icon::Smoothing, &T::toggleBlur, Mark::Unchecked),
    item(menu::ScreenSize, "Установить размер экрана", Icon::ScreenSize, &T::openScreenSizeWindow),
    item(menu::Screen256x256, "256x256", Icon::Screen256x256, &T::setScreen256x256),
    separator(menu::SeparatorBeforeSound),
    item(menu::Sound, "Звук", Icon::SoundOn, &T::toggleSound, Mark::Checked),
    item(menu::SoundView, "Отображение звука", Icon::SoundView, &T::toggleSoundView),
    separator(menu::SeparatorBeforeLanguage),
    submenu(menu::LanguageMenu, "Язык программы", Icon::Language),
    item(menu::Russian, "Russian", Icon::Russian, &T::switchToRussian, Mark::Unchecked),
    item(menu::English, "English", Icon::English, &T::switchToEnglish, Mark::Unchecked),
    end(),
    separator(menu::SeparatorBeforeOptions),
    item(menu::Options, "Настройка программы ...", Icon::Settings, &T::openSettings),
    end(),

    submenu(menu::AdvancedMenu, "Дополнительно"),
    item(menu::KeyboardWindow, "Клавиатура", Icon::Keyboard, &T::toggleKeyboardWindow),
    submenu(menu::JoystickMenu, "Джойстик", Icon::Joystick),
    item(menu::QJoystick, "Q-joystick", Icon::None, nullptr, Mark::Unchecked),
    item(menu::KeyboardJoystick, "Keyboard joystick", Icon::None, nullptr, Mark::Checked),
    end(),
    separator(menu::SeparatorBeforeScreenshot),
    item(menu::Screenshot, "Скриншот", Icon::Screenshot, &T::takeScreenshot),
    item(menu::RecordAvi, "Запись AVI", Icon::AviRecording, nullptr),
    separator(menu::SeparatorBeforePictureConverter),
    item(menu::PictureConverter, "Picture_To_LVT", Icon::PictureToTape, &T::openPictureConverter),
    separator(menu::SeparatorBeforeFontEditor),
    item(menu::FontEditor, "Знакогенератор", Icon::FontEditor, &T::openFontEditor),
    separator(menu::SeparatorBeforeAssembler),
    item(menu::AssemblerWorkbench, "Assembler editor", Icon::Assembler, &T::openAssemblerWorkbench),
    separator(menu::SeparatorBeforePaste),
    item(menu::Paste, "Вставить из буфера", Icon::Paste, &T::pasteClipboard),
    item(menu::LogWindow, "LogTextOut", Icon::ConsoleLog, &T::showLogWindow),
    separator(menu::SeparatorBeforeNetwork),
    item(menu::Network, "Сеть ...", Icon::Network, &T::toggleNetworkWindow),
    separator(menu::SeparatorBeforeDebuggers),
    item(menu::MemoryDebugger, "Debugger ...", Icon::Debugger, &T::toggleMemoryDebugger),
    item(menu::StepDebugger, "Debugger step by step", Icon::StepDebugger, &T::toggleStepDebugger),
    end(),

    submenu(menu::GamesMenu, "Игры"),
    // Its caption ends with the catalogue's address, set when it is made.
    item(menu::DownloadGames, "", Icon::None, &T::openGameDownloader),
    item(menu::GameLibrary, "OffLine", Icon::None, &T::openGameLibrary),
    end(),

    submenu(menu::AboutMenu, "О программе"),
    item(menu::About, "О программе", Icon::About, &T::showAbout),
    end(),
};

const MenuEntry kPopupMenu[] = {
    item(menu::PopupPaste, "Вставить из буфера", Icon::ConsoleLog, &T::pasteClipboard),
    item(menu::PopupScreen256x256, "256x256", Icon::Screen256x256, &T::setScreen256x256),
};

struct ButtonEntry {
    MenuItem name;
    const char* hint; ///< nullptr: a separator; "": no hint
    Icon image;
    CommandHandler handler;
};

constexpr ButtonEntry button(MenuItem name, const char* hint, Icon image, CommandHandler handler)
{
    return {name, hint, image, handler};
}
constexpr ButtonEntry spacer(MenuItem name)
{
    return {name, nullptr, Icon::None, nullptr};
}

const ButtonEntry kToolBar[] = {
    button(menu::OpenFileButton, "Open file LVT,SAV", Icon::Open, &T::openFile),
    button(menu::SaveSnapshotButton, "Save file (sav)", Icon::Save, &T::saveSnapshot),
    spacer(menu::SpacerAfterFiles),
    button(menu::ResetButton, "Reset", Icon::Reset, &T::resetCpu),
    button(menu::PauseButton, "Pause", Icon::Pause, &T::togglePause),
    spacer(menu::SpacerAfterPause),
    button(menu::FullScreenButton, "Fullscreen", Icon::Stretch, &T::toggleFullScreen),
    button(menu::GrayTvButton, "GrayTV", Icon::ColourTv, &T::toggleGrayTv),
    button(menu::BlurButton, "", Icon::Smoothing, &T::toggleBlur),
    button(menu::KeyboardButton, "Keyboard", Icon::Keyboard, &T::toggleKeyboardWindow),
    button(menu::MemoryDebuggerButton, "Debagger", Icon::Debugger, &T::toggleMemoryDebugger),
    button(menu::StepDebuggerButton, "", Icon::StepDebugger, &T::toggleStepDebugger),
    button(menu::SoundButton, "Sound", Icon::SoundOn, &T::toggleSound),
    button(menu::SoundViewButton, "View sound", Icon::SoundView, &T::toggleSoundView),
    button(menu::JoystickButton, "Joystick", Icon::JoystickCapture, &T::toggleJoystickCapture),
    spacer(menu::SpacerAfterJoystick),
    button(menu::ScreenshotButton, "Screenshot", Icon::Screenshot, &T::takeScreenshot),
    button(menu::RecordAviButton, "Save to AVI file", Icon::AviFilm, &T::toggleAviRecording),
    button(menu::PictureConverterButton, "Picture to LVT", Icon::PictureToTape, &T::openPictureConverter),
    button(menu::PasteButton, "Paste", Icon::Paste, &T::pasteClipboard),
    button(menu::AssemblerButton, "", Icon::Assembler, &T::openAssemblerWorkbench),
    spacer(menu::SpacerBeforeAbout),
    button(menu::AboutButton, "About", Icon::About, &T::showAbout),
    spacer(menu::SpacerBeforeExit),
    button(menu::ExitButton, "Exit", Icon::Exit, &T::exitProgram),
};

void addEntries(std::span<const MenuEntry> entries, QMenu* first,
                const std::function<QAction*(QMenu*, const MenuEntry&)>& make)
{
    std::vector<QMenu*> open{first};
    for (const MenuEntry& e : entries) {
        if (e.kind == Kind::EndSubmenu) {
            open.pop_back();
            continue;
        }
        QAction* action = make(open.back(), e);
        if (e.kind == Kind::Submenu)
            open.push_back(action->menu());
    }
}

} // namespace

MainMenu::MainMenu(MainWindow& window, QToolBar& toolBar) : toolBar(&toolBar), window_(window)
{
    buildMainMenu();
    buildPopupMenu();
    buildToolBar();
}

QAction* MainMenu::add(QAction* action, const QString& name, Icon image)
{
    action->setObjectName(name);
    setImageOf(*action, image);
    items_.insert(name, action);
    names_.append(name);
    return action;
}

void MainMenu::bind(QAction* action, CommandHandler handler)
{
    QObject::connect(action, &QAction::triggered, &window_, [this, action, handler] {
        // The handler decides the mark; undo the toggle the click made.
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        if (handler)
            window_.guarded([this, handler] { (window_.*handler)(); });
    });
}

void MainMenu::buildMainMenu()
{
    menuBar = new QMenuBar(&window_);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    window_.setMenuBar(menuBar);

    // The menu bar's top-level submenus have no parent menu.
    addEntries(kMainMenu, nullptr, [this](QMenu* parent, const MenuEntry& e) -> QAction* {
        const QString name = objectNameOf(e.name);
        const QString caption = QString::fromUtf8(e.caption);
        switch (e.kind) {
        case Kind::Submenu: {
            QMenu* menu = parent ? parent->addMenu(caption) : menuBar->addMenu(caption);
            menu->setObjectName(name);
            submenus_.insert(name, menu);
            return add(menu->menuAction(), name, e.image);
        }
        case Kind::Separator:
            return add(parent->addSeparator(), name, Icon::None);
        case Kind::Item:
        case Kind::EndSubmenu:
            break;
        }
        QAction* action = add(parent->addAction(caption), name, e.image);
        if (e.mark != Mark::None) {
            action->setCheckable(true);
            action->setChecked(e.mark == Mark::Checked);
        }
        bind(action, e.handler);
        return action;
    });
    setCaptionTail(menu::DownloadGames.name(), games::kCatalogueGamesAddress);
    item(menu::DownloadGames)->setText(onlineGamesCaption(Language::Russian));
}

void MainMenu::buildPopupMenu()
{
    contextMenu = new QMenu(&window_);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    for (const MenuEntry& e : kPopupMenu)
        bind(add(contextMenu->addAction(QString::fromUtf8(e.caption)), objectNameOf(e.name), e.image), e.handler);

    window_.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&window_, &QWidget::customContextMenuRequested, contextMenu,
                     [this](const QPoint& pos) { contextMenu->popup(window_.mapToGlobal(pos)); });
}

void MainMenu::buildToolBar()
{
    toolBar->setIconSize(QSize(IconSet::kSmallSize, IconSet::kSmallSize));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Twenty buttons share the design width of 535 pixels: keep them close.
    // A style sheet drops the fixed height unless it repeats it.
    toolBar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; min-height: %1px; max-height: %1px; }")
                                .arg(MainWindow::kToolBarHeight));
    for (const ButtonEntry& b : kToolBar) {
        const QString name = objectNameOf(b.name);
        if (!b.hint) {
            add(toolBar->addSeparator(), name, Icon::None);
            continue;
        }
        auto* action = new QAction(toolBar);
        action->setToolTip(QString::fromUtf8(b.hint));
        add(action, name, b.image);
        toolBar->addAction(action);
        if (QWidget* widget = toolBar->widgetForAction(action))
            widget->setObjectName(name);
        bind(action, b.handler);
    }
}

QString objectNameOf(MenuItem item)
{
    return QString::fromLatin1(item.name().data(), static_cast<qsizetype>(item.name().size()));
}

QAction* MainMenu::find(const QString& name) const
{
    return items_.value(name, nullptr);
}

QAction* MainMenu::item(MenuItem which) const
{
    return find(objectNameOf(which));
}

QMenu* MainMenu::submenu(MenuItem which) const
{
    return submenus_.value(objectNameOf(which), nullptr);
}

bool MainMenu::checked(MenuItem which) const
{
    const QAction* action = item(which);
    return action && action->isChecked();
}

void MainMenu::setChecked(MenuItem which, bool on)
{
    if (QAction* action = item(which))
        action->setChecked(on);
}

Icon MainMenu::image(MenuItem which) const
{
    const QAction* action = item(which);
    return action ? imageOf(*action) : Icon::None;
}

void MainMenu::setImage(MenuItem which, Icon image)
{
    if (QAction* action = item(which))
        setImageOf(*action, image);
}

void MainMenu::showPaused(bool paused)
{
    setChecked(menu::Pause, paused);
    const Icon image = paused ? Icon::Paused : Icon::Pause;
    setImage(menu::Pause, image);
    setImage(menu::PauseButton, image);
}

void MainMenu::showSoundOn(bool on)
{
    setChecked(menu::Sound, on);
    const Icon image = on ? Icon::SoundOn : Icon::SoundOff;
    setImage(menu::Sound, image);
    setImage(menu::SoundButton, image);
}

void MainMenu::showGrayTv(bool gray)
{
    setChecked(menu::GrayTv, gray);
    setImage(menu::GrayTvButton, gray ? Icon::GrayTv : Icon::ColourTv);
}

Icon MainMenu::imageOf(const QAction& action)
{
    const QVariant v = action.property(kImageProperty);
    return v.isValid() ? static_cast<Icon>(v.toInt()) : Icon::None;
}

void MainMenu::setImageOf(QAction& action, Icon image)
{
    action.setProperty(kImageProperty, static_cast<int>(image));
    action.setIcon(IconSet::icon(image));
}

} // namespace ostrovik::ui
