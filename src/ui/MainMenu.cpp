#include "ui/MainMenu.hpp"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <span>
#include <vector>

#include "ui/kit/Captions.hpp"
#include "ui/kit/ImageList.hpp"
#include "ui/MainFormEmu.hpp"

namespace ostrovik::ui {

namespace {

using T = TMainFormEmu;

constexpr const char* kImageProperty = "ImageIndex";

enum class Kind { Submenu, EndSubmenu, Item, Separator };
enum class Mark { None, Unchecked, Checked };

struct MenuEntry {
    Kind kind;
    MenuItem name{std::string_view{}};
    const char* caption = "";
    int image = -1;
    CommandHandler handler = nullptr;
    Mark mark = Mark::None;
};

constexpr MenuEntry submenu(MenuItem name, const char* caption, int image = -1)
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
constexpr MenuEntry item(MenuItem name, const char* caption, int image, CommandHandler handler,
                         Mark mark = Mark::None)
{
    return {Kind::Item, name, caption, image, handler, mark};
}

// The design captions are Russian; the English set replaces some of them.
const MenuEntry kMainMenu[] = {
    submenu(menu::N1, "Файл"),
    item(menu::N2, "Открыть файл", 4, &T::N2Click),
    item(menu::sav1, "Сохранить файл (sav)", 5, &T::sav1Click),
    separator(menu::N27),
    item(menu::ResetCPU1, "Reset CPU", 15, &T::ResetCPU1Click),
    item(menu::N11, "Пауза", 7, &T::N11Click, Mark::Unchecked),
    separator(menu::N3),
    item(menu::N4, "Выход", 6, &T::N4Click),
    // The recent files go below this one.
    separator(menu::N36),
    end(),

    submenu(menu::N5, "Настройки"),
    item(menu::FullScreen1, "FullScreen", 14, &T::FullScreen1Click, Mark::Checked),
    item(menu::N7, "ЧБ телевизор", 12, &T::N7Click, Mark::Unchecked),
    item(menu::N9, "Размытие", 23, &T::N9Click, Mark::Unchecked),
    item(menu::N33, "Установить размер экрана", 27, &T::N33Click),
    item(menu::N256x2561, "256x256", 29, &T::N256x2561Click),
    separator(menu::N8),
    item(menu::N13, "Звук", 21, &T::N13Click, Mark::Checked),
    item(menu::N28, "Отображение звука", 24, &T::N28Click),
    separator(menu::N14),
    submenu(menu::N15, "Язык программы", 31),
    item(menu::Russian1, "Russian", 37, &T::Russian1Click, Mark::Unchecked),
    item(menu::English1, "English", 36, &T::English1Click, Mark::Unchecked),
    end(),
    separator(menu::N25),
    item(menu::N26, "Настройка программы ...", 1, &T::N26Click),
    end(),

    submenu(menu::N18, "Дополнительно"),
    item(menu::N10, "Клавиатура", 3, &T::N10Click),
    submenu(menu::N16, "Джойстик", 20),
    item(menu::Qjoystick1, "Q-joystick", -1, nullptr, Mark::Unchecked),
    item(menu::Keyboardjoystick1, "Keyboard joystick", -1, nullptr, Mark::Checked),
    end(),
    separator(menu::N24),
    item(menu::N19, "Скриншот", 16, &T::ToolButton15Click),
    item(menu::N20, "Запись AVI", 19, nullptr),
    separator(menu::N29),
    item(menu::PictureToLVT1, "Picture_To_LVT", 25, &T::PictureToLVT1Click),
    separator(menu::N30),
    item(menu::Znakogenerator1, "Знакогенератор", 32, &T::Znakogenerator1Click),
    separator(menu::N34),
    item(menu::Assemblereditor1, "Assembler editor", 33, &T::Assemblereditor1Click),
    separator(menu::N21),
    item(menu::N31, "Вставить из буфера", 30, &T::N31Click),
    item(menu::LogTextOut1, "LogTextOut", 28, &T::LogTextOut1Click),
    separator(menu::N12),
    item(menu::N23, "Сеть ...", 35, &T::N23Click),
    separator(menu::N37),
    item(menu::N6, "Debugger ...", 2, &T::N6Click),
    item(menu::Debuggerstepbystep1, "Debugger step by step", 34, &T::Debuggerstepbystep1Click),
    end(),

    submenu(menu::N35, "Игры"),
    // Its caption ends with the catalogue's address, set when it is made.
    item(menu::Onlinegamesitegames1, "", -1, &T::Onlinegamesitegames1Click),
    item(menu::OffLine1, "OffLine", -1, &T::OffLine1Click),
    end(),

    submenu(menu::N17, "О программе"),
    item(menu::N22, "О программе", 9, &T::N22Click),
    end(),
};

const MenuEntry kPopupMenu[] = {
    item(menu::N32, "Вставить из буфера", 28, &T::N31Click),
    item(menu::N256x2562, "256x256", 29, &T::N256x2562Click),
};

struct ButtonEntry {
    MenuItem name;
    const char* hint; ///< nullptr: a separator; "": no hint
    int image;
    CommandHandler handler;
};

constexpr ButtonEntry button(MenuItem name, const char* hint, int image, CommandHandler handler)
{
    return {name, hint, image, handler};
}
constexpr ButtonEntry spacer(MenuItem name)
{
    return {name, nullptr, -1, nullptr};
}

const ButtonEntry kToolBar[] = {
    button(menu::ToolButton1, "Open file LVT,SAV", 4, &T::N2Click),
    button(menu::ToolButton20, "Save file (sav)", 5, &T::ToolButton20Click),
    spacer(menu::ToolButton4),
    button(menu::ToolButton2, "Reset", 15, &T::ResetCPU1Click),
    button(menu::ToolButton3, "Pause", 7, &T::N11Click),
    spacer(menu::ToolButton5),
    button(menu::ToolButton6, "Fullscreen", 14, &T::FullScreen1Click),
    button(menu::ToolButton7, "GrayTV", 12, &T::N7Click),
    button(menu::ToolButton19, "", 23, &T::ToolButton19Click),
    button(menu::ToolButton8, "Keyboard", 3, &T::N10Click),
    button(menu::ToolButton9, "Debagger", 2, &T::N6Click),
    button(menu::ToolButton24, "", 34, &T::ToolButton24Click),
    button(menu::ToolButton18, "Sound", 21, &T::N13Click),
    button(menu::ToolButton21, "View sound", 24, &T::ToolButton21Click),
    button(menu::ToolButton17, "Joystick", 26, &T::ToolButton17Click),
    spacer(menu::ToolButton10),
    button(menu::ToolButton15, "Screenshot", 16, &T::ToolButton15Click),
    button(menu::ToolButton16, "Save to AVI file", 17, &T::ToolButton16Click),
    button(menu::ToolButton22, "Picture to LVT", 25, &T::ToolButton22Click),
    button(menu::ToolButton23, "Paste", 30, &T::N31Click),
    button(menu::ToolButton25, "", 33, &T::ToolButton25Click),
    spacer(menu::ToolButton14),
    button(menu::ToolButton11, "About", 9, &T::ToolButton11Click),
    spacer(menu::ToolButton12),
    button(menu::ToolButton13, "Exit", 6, &T::N4Click),
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
        const QString name = objectNameOf(e.name);
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
    item(menu::Onlinegamesitegames1)->setText(onlineGamesCaption(Language::Russian));
}

void TMainMenu::buildPopupMenu()
{
    PopupMenu1 = new QMenu(&window_);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const MenuEntry& e : kPopupMenu)
        bind(add(PopupMenu1->addAction(QString::fromUtf8(e.caption)), objectNameOf(e.name), e.image), e.handler);

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
        const QString name = objectNameOf(b.name);
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

QString objectNameOf(MenuItem item)
{
    return QString::fromLatin1(item.name().data(), static_cast<qsizetype>(item.name().size()));
}

QAction* TMainMenu::find(const QString& name) const
{
    return items_.value(name, nullptr);
}

QAction* TMainMenu::item(MenuItem which) const
{
    return find(objectNameOf(which));
}

QMenu* TMainMenu::submenu(MenuItem which) const
{
    return submenus_.value(objectNameOf(which), nullptr);
}

bool TMainMenu::checked(MenuItem which) const
{
    const QAction* action = item(which);
    return action && action->isChecked();
}

void TMainMenu::setChecked(MenuItem which, bool on)
{
    if (QAction* action = item(which))
        action->setChecked(on);
}

int TMainMenu::image(MenuItem which) const
{
    const QAction* action = item(which);
    return action ? imageOf(*action) : -1;
}

void TMainMenu::setImage(MenuItem which, int index)
{
    if (QAction* action = item(which))
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
