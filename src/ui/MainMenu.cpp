#include "ui/MainMenu.hpp"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <span>
#include <vector>

#include "ui/Captions.hpp"
#include "ui/ImageList.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

namespace {

using T = TMainFormEmu;

constexpr const char* kImageProperty = "ImageIndex";

enum class Kind { Submenu, EndSubmenu, Item, Separator };
enum class Mark { None, Unchecked, Checked };

struct MenuEntry {
    Kind kind;
    const char* name = "";
    const char* caption = "";
    int image = -1;
    CommandHandler handler = nullptr;
    Mark mark = Mark::None;
};

constexpr MenuEntry submenu(const char* name, const char* caption, int image = -1)
{
    return {Kind::Submenu, name, caption, image};
}
constexpr MenuEntry end()
{
    return {Kind::EndSubmenu};
}
constexpr MenuEntry separator(const char* name)
{
    return {Kind::Separator, name, "-"};
}
constexpr MenuEntry item(const char* name, const char* caption, int image, CommandHandler handler,
                         Mark mark = Mark::None)
{
    return {Kind::Item, name, caption, image, handler, mark};
}

// The design captions are Russian; the English set replaces some of them.
const MenuEntry kMainMenu[] = {
    submenu("N1", "Файл"),
    item("N2", "Открыть файл", 4, &T::N2Click),
    item("sav1", "Сохранить файл (sav)", 5, &T::sav1Click),
    separator("N27"),
    item("ResetCPU1", "Reset CPU", 15, &T::ResetCPU1Click),
    item("N11", "Пауза", 7, &T::N11Click, Mark::Unchecked),
    separator("N3"),
    item("N4", "Выход", 6, &T::N4Click),
    // The recent files go below this one.
    separator("N36"),
    end(),

    submenu("N5", "Настройки"),
    item("FullScreen1", "FullScreen", 14, &T::FullScreen1Click, Mark::Checked),
    item("N7", "ЧБ телевизор", 12, &T::N7Click, Mark::Unchecked),
    item("N9", "Размытие", 23, &T::N9Click, Mark::Unchecked),
    item("N33", "Установить размер экрана", 27, &T::N33Click),
    item("N256x2561", "256x256", 29, &T::N256x2561Click),
    separator("N8"),
    item("N13", "Звук", 21, &T::N13Click, Mark::Checked),
    item("N28", "Отображение звука", 24, &T::N28Click),
    separator("N14"),
    submenu("N15", "Язык программы", 31),
    item("Russian1", "Russian", 37, &T::Russian1Click, Mark::Unchecked),
    item("English1", "English", 36, &T::English1Click, Mark::Unchecked),
    end(),
    separator("N25"),
    item("N26", "Настройка программы ...", 1, &T::N26Click),
    end(),

    submenu("N18", "Дополнительно"),
    item("N10", "Клавиатура", 3, &T::N10Click),
    submenu("N16", "Джойстик", 20),
    item("Qjoystick1", "Q-joystick", -1, nullptr, Mark::Unchecked),
    item("Keyboardjoystick1", "Keyboard joystick", -1, nullptr, Mark::Checked),
    end(),
    separator("N24"),
    item("N19", "Скриншот", 16, &T::ToolButton15Click),
    item("N20", "Запись AVI", 19, nullptr),
    separator("N29"),
    item("PictureToLVT1", "Picture_To_LVT", 25, &T::PictureToLVT1Click),
    separator("N30"),
    item("Znakogenerator1", "Знакогенератор", 32, &T::Znakogenerator1Click),
    separator("N34"),
    item("Assemblereditor1", "Assembler editor", 33, &T::Assemblereditor1Click),
    separator("N21"),
    item("N31", "Вставить из буфера", 30, &T::N31Click),
    item("LogTextOut1", "LogTextOut", 28, &T::LogTextOut1Click),
    separator("N12"),
    item("N23", "Сеть ...", 35, &T::N23Click),
    separator("N37"),
    item("N6", "Debugger ...", 2, &T::N6Click),
    item("Debuggerstepbystep1", "Debugger step by step", 34, &T::Debuggerstepbystep1Click),
    end(),

    submenu("N35", "Игры"),
    // Its caption ends with the catalogue's address, set when it is made.
    item("Onlinegamesitegames1", "", -1, &T::Onlinegamesitegames1Click),
    item("OffLine1", "OffLine", -1, &T::OffLine1Click),
    end(),

    submenu("N17", "О программе"),
    item("N22", "О программе", 9, &T::N22Click),
    end(),
};

const MenuEntry kPopupMenu[] = {
    item("N32", "Вставить из буфера", 28, &T::N31Click),
    item("N256x2562", "256x256", 29, &T::N256x2562Click),
};

struct ButtonEntry {
    const char* name;
    const char* hint; ///< nullptr: a separator; "": no hint
    int image;
    CommandHandler handler;
};

constexpr ButtonEntry button(const char* name, const char* hint, int image, CommandHandler handler)
{
    return {name, hint, image, handler};
}
constexpr ButtonEntry spacer(const char* name)
{
    return {name, nullptr, -1, nullptr};
}

const ButtonEntry kToolBar[] = {
    button("ToolButton1", "Open file LVT,SAV", 4, &T::N2Click),
    button("ToolButton20", "Save file (sav)", 5, &T::ToolButton20Click),
    spacer("ToolButton4"),
    button("ToolButton2", "Reset", 15, &T::ResetCPU1Click),
    button("ToolButton3", "Pause", 7, &T::N11Click),
    spacer("ToolButton5"),
    button("ToolButton6", "Fullscreen", 14, &T::FullScreen1Click),
    button("ToolButton7", "GrayTV", 12, &T::N7Click),
    button("ToolButton19", "", 23, &T::ToolButton19Click),
    button("ToolButton8", "Keyboard", 3, &T::N10Click),
    button("ToolButton9", "Debagger", 2, &T::N6Click),
    button("ToolButton24", "", 34, &T::ToolButton24Click),
    button("ToolButton18", "Sound", 21, &T::N13Click),
    button("ToolButton21", "View sound", 24, &T::ToolButton21Click),
    button("ToolButton17", "Joystick", 26, &T::ToolButton17Click),
    spacer("ToolButton10"),
    button("ToolButton15", "Screenshot", 16, &T::ToolButton15Click),
    button("ToolButton16", "Save to AVI file", 17, &T::ToolButton16Click),
    button("ToolButton22", "Picture to LVT", 25, &T::ToolButton22Click),
    button("ToolButton23", "Paste", 30, &T::N31Click),
    button("ToolButton25", "", 33, &T::ToolButton25Click),
    spacer("ToolButton14"),
    button("ToolButton11", "About", 9, &T::ToolButton11Click),
    spacer("ToolButton12"),
    button("ToolButton13", "Exit", 6, &T::N4Click),
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

TMainMenu::TMainMenu(TMainFormEmu& window, QToolBar& toolBar) : ToolBar1(&toolBar), window_(window)
{
    buildMainMenu();
    buildPopupMenu();
    buildToolBar();
}

QAction* TMainMenu::add(QAction* action, const QString& name, int image)
{
    action->setObjectName(name);
    setImageOf(*action, image);
    items_.insert(name, action);
    names_.append(name);
    return action;
}

void TMainMenu::bind(QAction* action, CommandHandler handler)
{
    QObject::connect(action, &QAction::triggered, &window_, [this, action, handler] {
        // The handler decides the mark; undo the toggle the click made.
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        if (handler)
            window_.guarded([this, handler] { (window_.*handler)(); });
    });
}

void TMainMenu::buildMainMenu()
{
    MainMenu1 = new QMenuBar(&window_);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    window_.setMenuBar(MainMenu1);

    // The menu bar's top-level submenus have no parent menu.
    addEntries(kMainMenu, nullptr, [this](QMenu* parent, const MenuEntry& e) -> QAction* {
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromUtf8(e.caption);
        switch (e.kind) {
        case Kind::Submenu: {
            QMenu* menu = parent ? parent->addMenu(caption) : MainMenu1->addMenu(caption);
            menu->setObjectName(name);
            submenus_.insert(name, menu);
            return add(menu->menuAction(), name, e.image);
        }
        case Kind::Separator:
            return add(parent->addSeparator(), name, -1);
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
    item(QStringLiteral("Onlinegamesitegames1"))->setText(onlineGamesCaption(Language::Russian));
}

void TMainMenu::buildPopupMenu()
{
    PopupMenu1 = new QMenu(&window_);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const MenuEntry& e : kPopupMenu)
        bind(add(PopupMenu1->addAction(QString::fromUtf8(e.caption)), QString::fromLatin1(e.name), e.image), e.handler);

    window_.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&window_, &QWidget::customContextMenuRequested, PopupMenu1,
                     [this](const QPoint& pos) { PopupMenu1->popup(window_.mapToGlobal(pos)); });
}

void TMainMenu::buildToolBar()
{
    ToolBar1->setIconSize(QSize(TImageList::SmallSize, TImageList::SmallSize));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Twenty buttons share the design width of 535 pixels: keep them close.
    // A style sheet drops the fixed height unless it repeats it.
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; min-height: %1px; max-height: %1px; }")
                                .arg(TMainFormEmu::kToolBarHeight));
    for (const ButtonEntry& b : kToolBar) {
        const QString name = QString::fromLatin1(b.name);
        if (!b.hint) {
            add(ToolBar1->addSeparator(), name, -1);
            continue;
        }
        auto* action = new QAction(ToolBar1);
        action->setToolTip(QString::fromUtf8(b.hint));
        add(action, name, b.image);
        ToolBar1->addAction(action);
        if (QWidget* widget = ToolBar1->widgetForAction(action))
            widget->setObjectName(name);
        bind(action, b.handler);
    }
}

QAction* TMainMenu::item(const QString& name) const
{
    return items_.value(name, nullptr);
}

QMenu* TMainMenu::submenu(const QString& name) const
{
    return submenus_.value(name, nullptr);
}

bool TMainMenu::checked(const QString& name) const
{
    const QAction* action = item(name);
    return action && action->isChecked();
}

void TMainMenu::setChecked(const QString& name, bool on)
{
    if (QAction* action = item(name))
        action->setChecked(on);
}

int TMainMenu::image(const QString& name) const
{
    const QAction* action = item(name);
    return action ? imageOf(*action) : -1;
}

void TMainMenu::setImage(const QString& name, int index)
{
    if (QAction* action = item(name))
        setImageOf(*action, index);
}

int TMainMenu::imageOf(const QAction& action)
{
    const QVariant v = action.property(kImageProperty);
    return v.isValid() ? v.toInt() : -1;
}

void TMainMenu::setImageOf(QAction& action, int index)
{
    action.setProperty(kImageProperty, index);
    action.setIcon(TImageList::icon(index));
}

} // namespace ostrovik::ui
