#pragma once

#include <array>

#include <QString>

class QAction;
class QMenu;
class QWidget;

/// The recent-files list: five paths in config.ini's "MRU list" (keys "1"
/// to "5", newest first) and the items after the fixed part of the File menu.
namespace ostrovik::ui {

using MruFiles = std::array<QString, 5>;

/// OpenFile, SaveSnapshot, SeparatorBeforeReset, ResetCpu, Pause, SeparatorBeforeExit, Exit and SeparatorBeforeRecentFiles come before the recent files.
inline constexpr int kFixedFileMenuItems = 8;

/// Removes every recent-file item of @p fileMenu, then adds one per stored
/// path up to the first empty key, filling @p files from the front (entries
/// past that keep what they held). One reading of the file. Returns the new
/// items, newest first.
QList<QAction*> readMruList(QMenu& fileMenu, MruFiles& files);

/// Appends one recent-file item: caption and hint the path, the action's
/// data its position 1 … 5.
QAction* appendMruMenuItem(QMenu& fileMenu, const QString& fileName, int position);

/// Writes all five keys in one writing of the file, empty entries as empty
/// values. False (and the message shown over @p parent) when it failed.
bool saveMruList(const MruFiles& files, QWidget* parent);

/// Puts @p fileName first; the oldest entry drops out. A name already in the
/// list is not looked for.
void pushMruFile(MruFiles& files, const QString& fileName);

/// The path a recent-file item loads: its hint, which the menu never alters.
QString mruItemPath(const QAction& item);

} // namespace ostrovik::ui
