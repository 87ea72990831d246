#pragma once

#include <QIcon>
#include <QPixmap>

namespace ostrovik::ui {

/// The pictures of the main window's menu items and tool buttons, by number.
/// Drawn by our own code, each at 16 × 16 (menus, tool bar) and 32 × 32.
///
///  0 blank page        10 help               20 joystick            30 paste
///  1 settings (gear)   11 stop               21 sound on            31 language (globe)
///  2 debugger (bug)    12 colour TV          22 sound off           32 character generator
///  3 keyboard          13 black-and-white TV 23 smoothing           33 assembler editor
///  4 open (folder)     14 stretched picture  24 sound view          34 step debugger
///  5 save (floppy)     15 reset              25 picture to tape     35 network
///  6 exit (door)       16 screenshot         26 joystick capture    36 English
///  7 pause             17 AVI film           27 screen size         37 Russian
///  8 paused (play)     18 AVI stopped        28 console log
///  9 about             19 AVI recording      29 256 × 256
class TImageList {
public:
    static constexpr int Count = 38;
    static constexpr int SmallSize = 16;
    static constexpr int LargeSize = 32;

    /// Picture @p index at @p size × @p size pixels; a null pixmap for a
    /// number outside 0 … Count − 1.
    static QPixmap pixmap(int index, int size = SmallSize);
    /// Picture @p index at both sizes; a null icon outside 0 … Count − 1.
    static QIcon icon(int index);
};

} // namespace ostrovik::ui
