#pragma once

#include <functional>

#include <QString>

#include "ui/Mru.hpp"

class QAction;
class QMenu;
class QWidget;

namespace ostrovik::ui {

/// The recent files: five paths in config.ini's "MRU list", newest first,
/// and their items after the fixed part of the File menu. Choosing an item
/// loads its file and moves it to the top.
class RecentFilesMenu {
public:
    /// Loads @p path as File → Open does; false when it could not be read
    /// (the item chosen then stays where it is).
    using OpenFile = std::function<bool(const QString& path)>;

    /// The items go into @p fileMenu (nothing is shown when it is null); a
    /// failed write is reported over @p owner.
    RecentFilesMenu(QMenu* fileMenu, QWidget& owner, OpenFile open);

    MruFiles& files() { return files_; }
    /// The list from config.ini into the File menu.
    void read();
    /// Writes all five keys; a failure is reported over the owner.
    void save();
    /// Puts @p path at the top, writes the list and reads it back.
    void add(const QString& path);
    /// Loads the file of @p item; when it could be read, moves it to the top.
    void open(QAction* item);

private:
    QMenu* fileMenu_;
    QWidget& owner_;
    OpenFile open_;
    MruFiles files_;
};

} // namespace ostrovik::ui
