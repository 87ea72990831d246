// The main window's menus and tool bar as a user meets them, item by item.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <set>

#include "support/ScriptedWaveOut.hpp"
#include "kit/IconSet.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"

#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"

using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;
using ostrovik::kit::IconSet;
using ostrovik::ui::MainWindow;
using ostrovik::ui::MainMenu;

namespace {

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
    void everyItemIsReachableAndDoesItsCommand();
    void everyComponentCanBeLookedUp();
    void everyPictureIsDrawnAndDistinct();
    void clientAreaOfTheDesign();

private:
    FreshConfig config_;
    ScriptedDialogs dialogs_;
};

void MenuStructureTest::everyItemIsReachableAndDoesItsCommand()
{
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    const MainMenu& m = w.menus();
    QCOMPARE(w.menuBar(), m.menuBar);
    QCOMPARE(w.contextMenuPolicy(), Qt::CustomContextMenu);
    // Walked as a user would: through the menu bar, the pop-up menu and the
    // tool bar. Every item shown says what it is, opens its submenu or runs
    // a command, and every item the window knows by name is met on the way.
    QSet<QString> reached;
    QStringList faults;
    const auto walk = [&](const auto& self, const QList<QAction*>& actions) -> void {
        for (QAction* a : actions) {
            if (!a->isVisible())
                continue;
            reached.insert(a->objectName());
            if (a->isSeparator())
                continue;
            if (a->text().isEmpty() && a->icon().isNull())
                faults << a->objectName() + QStringLiteral(" shows nothing");
            if (QMenu* sub = a->menu())
                self(self, sub->actions());
            // (Cutting its wiring tells whether there was any; this window is the test's.)
            else if (!QObject::disconnect(a, &QAction::triggered, nullptr, nullptr))
                faults << a->objectName() + QStringLiteral(" does nothing");
        }
    };
    walk(walk, m.menuBar->actions());
    walk(walk, m.contextMenu->actions());
    walk(walk, m.toolBar->actions());
    for (const QString& name : m.names())
        if (!reached.contains(name))
            faults << name + QStringLiteral(" cannot be reached");
    QCOMPARE(faults.join(QLatin1Char('\n')), QString());

    // Tool bar buttons show only their picture and name the command in a hint.
    for (QAction* a : m.toolBar->actions()) {
        if (a->isSeparator())
            continue;
        auto* button = qobject_cast<QToolButton*>(m.toolBar->widgetForAction(a));
        QVERIFY(button);
        QCOMPARE(button->objectName(), a->objectName());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }
}

void MenuStructureTest::everyComponentCanBeLookedUp()
{
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    const MainMenu& m = w.menus();
    std::set<QString> unique(m.names().begin(), m.names().end());
    QCOMPARE(static_cast<qsizetype>(unique.size()), m.names().size());
    for (const QString& name : m.names()) {
        QVERIFY2(m.find(name), qPrintable(name));
        QCOMPARE(m.find(name)->objectName(), name);
    }
    namespace menu = ostrovik::ui::menu;
    for (const ostrovik::ui::MenuItem which : {menu::FileMenu, menu::SetupMenu, menu::LanguageMenu, menu::JoystickMenu, menu::AdvancedMenu, menu::GamesMenu, menu::AboutMenu}) {
        QMenu* sub = m.submenu(which);
        QVERIFY2(sub, which.name().data());
        QCOMPARE(sub->objectName(), ostrovik::ui::objectNameOf(which));
        QCOMPARE(sub->menuAction(), m.item(which));
    }
    QVERIFY(!m.find(QStringLiteral("NoSuchItem")));
    QVERIFY(!m.submenu(menu::OpenFile));
    QCOMPARE(m.image(ostrovik::ui::MenuItem("NoSuchItem")), ostrovik::kit::Icon::None);
}

void MenuStructureTest::everyPictureIsDrawnAndDistinct()
{
    std::set<QByteArray> seen;
    for (int i = 0; i < IconSet::kCount; ++i) {
        const auto icon = static_cast<ostrovik::kit::Icon>(i);
        for (int size : {IconSet::kSmallSize, IconSet::kLargeSize}) {
            const QImage image = IconSet::pixmap(icon, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // Legible: a fair part of the square drawn, in more than a colour or two.
            const double c = coverage(image);
            QVERIFY2(c > 0.12, qPrintable(QStringLiteral("image %1 at %2: %3").arg(i).arg(size).arg(c)));
            QVERIFY2(colourCount(image) >= 3, qPrintable(QStringLiteral("image %1 at %2").arg(i).arg(size)));
        }
        const QImage small = IconSet::pixmap(icon).toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes());
        QVERIFY2(seen.insert(bytes).second, qPrintable(QStringLiteral("image %1 repeats another").arg(i)));
        QCOMPARE(IconSet::icon(icon).availableSizes().size(), 2);
    }
    QVERIFY(IconSet::pixmap(ostrovik::kit::Icon::None).isNull());
    QVERIFY(IconSet::pixmap(static_cast<ostrovik::kit::Icon>(IconSet::kCount)).isNull());
    QVERIFY(IconSet::icon(static_cast<ostrovik::kit::Icon>(IconSet::kCount)).isNull());
}

void MenuStructureTest::clientAreaOfTheDesign()
{
    MainWindow w(QStringList{}, ostrovik::test::quietWaveOut());
    // Worked out from the menu bar's height before the first show, the client
    // area keeps its size once the menu bar is really there.
    const QSize client = w.clientSize();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.menuBar()->isVisible());
    QVERIFY(w.menuBar()->height() > 0);
    QCOMPARE(w.clientSize(), client);
    // The whole picture fits under the tool bar.
    QVERIFY(client.width() >= 256 && client.height() >= 256 + w.menus().toolBar->height());
    // The client area starts right under the menu bar with the tool bar and
    // the screen fills the rest to the window's bottom edge.
    QCOMPARE(w.menus().toolBar->geometry().top(), w.menuBar()->geometry().bottom() + 1);
    QCOMPARE(w.height() - w.menuBar()->height(), client.height());
    QCOMPARE(w.centralWidget()->geometry().bottom() + 1, w.height());
    QCOMPARE(w.centralWidget()->height(), client.height() - MainWindow::kToolBarHeight);
    w.close();
}

QTEST_MAIN(MenuStructureTest)
#include "menu_structure_test.moc"
