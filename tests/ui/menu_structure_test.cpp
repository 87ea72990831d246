// The main window's menus and tool bar as a user meets them, item by item.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <set>

#include "support/ScriptedWaveOut.hpp"
#include "ui/ImageList.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"

#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using ostrovik::ui::TImageList;
using ostrovik::ui::TMainFormEmu;
using ostrovik::ui::TMainMenu;

namespace {

// One line per menu entry: depth, name, caption, image, check mark
// ("" none, "-" can be checked, "+" checked). A separator's caption is "-".
const char* const kExpectedMainMenu[] = {
    "0|N1|Файл|-1|",
    "1|N2|Открыть файл|4|",
    "1|sav1|Сохранить файл (sav)|5|",
    "1|N27|-|-1|",
    "1|ResetCPU1|Reset CPU|15|",
    "1|N11|Пауза|7|-",
    "1|N3|-|-1|",
    "1|N4|Выход|6|",
    "1|N36|-|-1|",
    "0|N5|Настройки|-1|",
    "1|FullScreen1|FullScreen|14|+",
    "1|N7|ЧБ телевизор|12|-",
    "1|N9|Размытие|23|-",
    "1|N33|Установить размер экрана|27|",
    "1|N256x2561|256x256|29|",
    "1|N8|-|-1|",
    "1|N13|Звук|21|+",
    "1|N28|Отображение звука|24|",
    "1|N14|-|-1|",
    "1|N15|Язык программы|31|",
    "2|Russian1|Russian|37|-",
    "2|English1|English|36|-",
    "1|N25|-|-1|",
    "1|N26|Настройка программы ...|1|",
    "0|N18|Дополнительно|-1|",
    "1|N10|Клавиатура|3|",
    "1|N16|Джойстик|20|",
    "2|Qjoystick1|Q-joystick|-1|-",
    "2|Keyboardjoystick1|Keyboard joystick|-1|+",
    "1|N24|-|-1|",
    "1|N19|Скриншот|16|",
    "1|N20|Запись AVI|19|",
    "1|N29|-|-1|",
    "1|PictureToLVT1|Picture_To_LVT|25|",
    "1|N30|-|-1|",
    "1|Znakogenerator1|Знакогенератор|32|",
    "1|N34|-|-1|",
    "1|Assemblereditor1|Assembler editor|33|",
    "1|N21|-|-1|",
    "1|N31|Вставить из буфера|30|",
    "1|LogTextOut1|LogTextOut|28|",
    "1|N12|-|-1|",
    "1|N23|Сеть ...|35|",
    "1|N37|-|-1|",
    "1|N6|Debugger ...|2|",
    "1|Debuggerstepbystep1|Debugger step by step|34|",
    "0|N35|Игры|-1|",
    "1|Onlinegamesitegames1|Скачать игры с  http://localhost/games/|-1|",
    "1|OffLine1|OffLine|-1|",
    "0|N17|О программе|-1|",
    "1|N22|О программе|9|",
};

const char* const kExpectedPopupMenu[] = {
    "0|N32|Вставить из буфера|28|",
    "0|N256x2562|256x256|29|",
};

// Name, hint, image; a separator has neither hint nor image.
const char* const kExpectedToolBar[] = {
    "ToolButton1|Open file LVT,SAV|4",
    "ToolButton20|Save file (sav)|5",
    "ToolButton4|-|-1",
    "ToolButton2|Reset|15",
    "ToolButton3|Pause|7",
    "ToolButton5|-|-1",
    "ToolButton6|Fullscreen|14",
    "ToolButton7|GrayTV|12",
    "ToolButton19||23",
    "ToolButton8|Keyboard|3",
    "ToolButton9|Debagger|2",
    "ToolButton24||34",
    "ToolButton18|Sound|21",
    "ToolButton21|View sound|24",
    "ToolButton17|Joystick|26",
    "ToolButton10|-|-1",
    "ToolButton15|Screenshot|16",
    "ToolButton16|Save to AVI file|17",
    "ToolButton22|Picture to LVT|25",
    "ToolButton23|Paste|30",
    "ToolButton25||33",
    "ToolButton14|-|-1",
    "ToolButton11|About|9",
    "ToolButton12|-|-1",
    "ToolButton13|Exit|6",
};

QString mark(const QAction* a)
{
    if (!a->isCheckable())
        return {};
    return a->isChecked() ? QStringLiteral("+") : QStringLiteral("-");
}

void walk(const QList<QAction*>& actions, int depth, QStringList& out)
{
    for (QAction* a : actions) {
        const QString caption = a->isSeparator() ? QStringLiteral("-") : a->text();
        out << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(depth)
                   .arg(a->objectName(), caption)
                   .arg(TMainMenu::imageOf(*a))
                   .arg(mark(a));
        if (QMenu* sub = a->menu())
            walk(sub->actions(), depth + 1, out);
    }
}

QStringList expected(std::span<const char* const> lines)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

void compareLines(const QStringList& actual, const QStringList& wanted)
{
    for (qsizetype i = 0; i < std::min(actual.size(), wanted.size()); ++i)
        QCOMPARE(actual[i], wanted[i]);
    QCOMPARE(actual.size(), wanted.size());
}

/// The share of pixels that are not fully transparent.
double coverage(const QImage& image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return static_cast<double>(painted) / (image.width() * image.height());
}

std::size_t colourCount(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class MenuStructureTest : public QObject {
    Q_OBJECT
private slots:
    void init() { config_.reset(); }
    void mainMenuAsDesigned();
    void popupMenuAsDesigned();
    void toolBarAsDesigned();
    void everyComponentCanBeLookedUp();
    void everyPictureIsDrawnAndDistinct();
    void clientAreaOfTheDesign();

private:
    FreshConfig config_;
    ScriptedDialogs dialogs_;
};

void MenuStructureTest::mainMenuAsDesigned()
{
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    QCOMPARE(w.menuBar(), w.menus().MainMenu1);
    QStringList lines;
    walk(w.menus().MainMenu1->actions(), 0, lines);
    compareLines(lines, expected(kExpectedMainMenu));

    // A picture is shown wherever an image number is set, and only there.
    for (QAction* a : w.menus().MainMenu1->findChildren<QAction*>()) {
        if (a->objectName().isEmpty())
            continue;
        QCOMPARE(a->icon().isNull(), TMainMenu::imageOf(*a) < 0);
    }
}

void MenuStructureTest::popupMenuAsDesigned()
{
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    QStringList lines;
    walk(w.menus().PopupMenu1->actions(), 0, lines);
    compareLines(lines, expected(kExpectedPopupMenu));
    QCOMPARE(w.contextMenuPolicy(), Qt::CustomContextMenu);
}

void MenuStructureTest::toolBarAsDesigned()
{
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    QToolBar* bar = w.menus().ToolBar1;
    QCOMPARE(bar->objectName(), QStringLiteral("ToolBar1"));
    QCOMPARE(bar->height(), TMainFormEmu::kToolBarHeight);
    QStringList lines;
    for (QAction* a : bar->actions()) {
        lines << QStringLiteral("%1|%2|%3")
                     .arg(a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->toolTip())
                     .arg(TMainMenu::imageOf(*a));
        QVERIFY2(!a->isCheckable(), qPrintable(a->objectName()));
        if (a->isSeparator())
            continue;
        // The button itself carries the name and shows only its picture.
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        QVERIFY(button);
        QCOMPARE(button->objectName(), a->objectName());
        QCOMPARE(button->toolTip(), a->toolTip());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(!a->icon().isNull());
    }
    compareLines(lines, expected(kExpectedToolBar));
}

void MenuStructureTest::everyComponentCanBeLookedUp()
{
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    const TMainMenu& m = w.menus();
    const qsizetype total = std::size(kExpectedMainMenu) + std::size(kExpectedPopupMenu) + std::size(kExpectedToolBar);
    QCOMPARE(m.names().size(), total);
    std::set<QString> unique(m.names().begin(), m.names().end());
    QCOMPARE(static_cast<qsizetype>(unique.size()), total);
    for (const QString& name : m.names()) {
        QVERIFY2(m.find(name), qPrintable(name));
        QCOMPARE(m.find(name)->objectName(), name);
    }
    namespace menu = ostrovik::ui::menu;
    for (const ostrovik::ui::MenuItem which : {menu::N1, menu::N5, menu::N15, menu::N16, menu::N18, menu::N35, menu::N17}) {
        QMenu* sub = m.submenu(which);
        QVERIFY2(sub, which.name().data());
        QCOMPARE(sub->objectName(), ostrovik::ui::objectNameOf(which));
        QCOMPARE(sub->menuAction(), m.item(which));
    }
    QVERIFY(!m.find(QStringLiteral("N99")));
    QVERIFY(!m.submenu(menu::N2));
    QCOMPARE(m.image(ostrovik::ui::MenuItem("N99")), -1);
}

void MenuStructureTest::everyPictureIsDrawnAndDistinct()
{
    std::set<QByteArray> seen;
    for (int i = 0; i < TImageList::Count; ++i) {
        for (int size : {TImageList::SmallSize, TImageList::LargeSize}) {
            const QImage image = TImageList::pixmap(i, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // Legible: a fair part of the square drawn, in more than a colour or two.
            const double c = coverage(image);
            QVERIFY2(c > 0.12, qPrintable(QStringLiteral("image %1 at %2: %3").arg(i).arg(size).arg(c)));
            QVERIFY2(colourCount(image) >= 3, qPrintable(QStringLiteral("image %1 at %2").arg(i).arg(size)));
        }
        const QImage small = TImageList::pixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes());
        QVERIFY2(seen.insert(bytes).second, qPrintable(QStringLiteral("image %1 repeats another").arg(i)));
        QCOMPARE(TImageList::icon(i).availableSizes().size(), 2);
    }
    QVERIFY(TImageList::pixmap(-1).isNull());
    QVERIFY(TImageList::pixmap(TImageList::Count).isNull());
    QVERIFY(TImageList::icon(TImageList::Count).isNull());
}

void MenuStructureTest::clientAreaOfTheDesign()
{
    TMainFormEmu w(QStringList{}, ostrovik::test::quietWaveOut());
    // Before the first show the size is worked out from the menu bar's height.
    QCOMPARE(w.clientSize(), QSize(535, 536));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.menuBar()->isVisible());
    QVERIFY(w.menuBar()->height() > 0);
    QCOMPARE(w.clientSize(), QSize(535, 536));
    // The client area starts right under the menu bar with the tool bar.
    QCOMPARE(w.menus().ToolBar1->geometry().top(), w.menuBar()->geometry().bottom() + 1);
    QCOMPARE(w.height() - w.menuBar()->height(), 536);
    QCOMPARE(w.centralWidget()->geometry().bottom() + 1, w.height());
    QCOMPARE(w.centralWidget()->height(), 536 - TMainFormEmu::kToolBarHeight);
    w.close();
}

QTEST_MAIN(MenuStructureTest)
#include "menu_structure_test.moc"
