#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "ui/MenuItems.hpp"
#include "kit/IconSet.hpp"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

namespace ostrovik::ui {

using kit::Icon;

class MainWindow;

/// The Qt object name of @p item.
QString objectNameOf(MenuItem item);

/// A command of the main window: a handler method taking no argument.
using CommandHandler = void (MainWindow::*)();

/// The main window's commands: the main menu `menuBar`, the context menu
/// `contextMenu` and the buttons of the tool bar `toolBar`.
///
/// Every menu item, submenu, separator and tool button is a QAction whose
/// object name is the component's name; the tool buttons' widgets carry the
/// same names. Check marks are the actions' check states and belong to the
/// handlers: a click never toggles a mark by itself. An item's picture is
/// its Icon, kept as the action's property "ImageIndex".
class MainMenu {
public:
    /// Builds the menus on @p window (its menu bar and context menu) and puts
    /// the buttons into @p toolBar. Both must outlive this object.
    MainMenu(MainWindow& window, QToolBar& toolBar);
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    QMenuBar* menuBar = nullptr;
    QMenu* contextMenu = nullptr;
    QToolBar* toolBar = nullptr;

    /// The component @p which (a submenu gives its menu action).
    QAction* item(MenuItem which) const;
    /// The submenu @p which; nullptr when it is not a submenu.
    QMenu* submenu(MenuItem which) const;
    /// The component named @p name at run time (as names() lists them);
    /// nullptr when there is none.
    QAction* find(const QString& name) const;
    /// Every component's name in the order it was made: the main menu, the
    /// context menu, then the tool bar.
    const QStringList& names() const { return names_; }

    bool checked(MenuItem which) const;
    void setChecked(MenuItem which, bool on);

    /// The picture @p which shows; Icon::None when it has none.
    Icon image(MenuItem which) const;
    void setImage(MenuItem which, Icon image);
    static Icon imageOf(const QAction& action);
    static void setImageOf(QAction& action, Icon image);

    /// A state's check mark with the images of its menu item and tool
    /// button: the pause, the sound, the gray TV.
    void showPaused(bool paused);
    void showSoundOn(bool on);
    void showGrayTv(bool gray);

private:
    void buildMainMenu();
    void buildPopupMenu();
    void buildToolBar();
    QAction* add(QAction* action, const QString& name, Icon image);
    void bind(QAction* action, CommandHandler handler);

    MainWindow& window_;
    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> submenus_;
    QStringList names_;
};

} // namespace ostrovik::ui
