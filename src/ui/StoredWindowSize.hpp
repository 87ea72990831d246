#pragma once

#include <QSize>

class QWidget;

namespace ostrovik::ui {

/// The main window's outer size in config.ini: taken at creation, set again
/// once the desktop has framed the window, written at exit.
class StoredWindowSize {
public:
    explicit StoredWindowSize(QWidget& window) : window_(window) {}

    /// Takes the size of the last exit and applies it, unless it is larger
    /// than the screen's free area: that would put the close box out of
    /// reach (and a huge one costs the memory of its surface).
    void restore();
    /// The stored size is the outer one, frame included. The frame is known
    /// only once the desktop has put the window up, so the size is set again
    /// then; from that point on the window's own size counts.
    void applyOnceFramed();
    /// The window was resized to @p size: by hand before the frame was
    /// known, that size is the one to keep.
    void resized(QSize size);
    /// Another size takes the stored one's place (the 256×256 start).
    void forget() { pending_ = QSize(); }
    /// Writes the window's outer size for the next start.
    void save();

private:
    QWidget& window_;
    /// The stored outer size, until the frame is known.
    QSize pending_;
};

} // namespace ostrovik::ui
