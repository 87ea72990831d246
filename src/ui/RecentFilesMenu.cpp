#include "ui/RecentFilesMenu.hpp"

#include <utility>

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace ostrovik::ui {

RecentFilesMenu::RecentFilesMenu(QMenu* fileMenu, QWidget& owner, OpenFile open)
    : fileMenu_(fileMenu), owner_(owner), open_(std::move(open))
{
}

void RecentFilesMenu::read()
{
    if (!fileMenu_)
        return;
    for (QAction* item : readMruList(*fileMenu_, files_))
        QObject::connect(item, &QAction::triggered, &owner_, [this, item] { open(item); });
}

void RecentFilesMenu::save()
{
    saveMruList(files_, &owner_);
}

void RecentFilesMenu::add(const QString& path)
{
    pushMruFile(files_, path);
    save();
    read();
}

void RecentFilesMenu::open(QAction* item)
{
    // The hint holds the path as stored; the caption may have been altered.
    const QString path = mruItemPath(*item);
    // A file that cannot be read ends the command where it stands; a
    // refused one (its message shown) still moves to the top.
    if (open_(path))
        add(path);
}

} // namespace ostrovik::ui
