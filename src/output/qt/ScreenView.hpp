#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

#include "output/GdiLayout.hpp"
#include "output/GdiScreen.hpp"

namespace ostrovik::output {

/// The raster presentation: shows the frame of a GdiScreen at its own size in
/// a one-pixel frame, centred below the tool bar, or stretched over the area
/// below the tool bar. The area round a centred picture takes the colour of
/// the screen's top-left pixel.
///
/// The view works in the main window's client coordinates: place it over the
/// whole client area (the tool bar on top of its first 25 rows), or below the
/// tool bar with setClientTop(ToolBarHeight).
class ScreenView : public QWidget {
    Q_OBJECT
public:
    explicit ScreenView(GdiScreen& screen, QWidget* parent = nullptr);

    /// Switches the screen's bitmaps for render mode @p mode (the raster mode
    /// makes them, OpenGL releases them, anything else changes nothing) and
    /// repaints.
    void changeRenderMode(RenderMode mode);

    /// One frame: decodes what changed in video RAM and presents it. Call it
    /// after every tick in render mode 0.
    void drawScreen(bool gray);

    /// Stretch mode (menu item FullScreen).
    void setStretch(bool on);
    bool stretch() const { return stretch_; }

    /// The client-area row at which this widget's top edge sits.
    void setClientTop(int y);
    int clientTop() const { return clientTop_; }

    /// The window's background: black until a centred picture has been shown.
    QColor backgroundColor() const { return background_; }

    /// The layout for the current size and mode, in client coordinates.
    GdiLayout currentLayout() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void present(bool changed);
    QRect toWidget(const Box& box) const;
    const QImage* imageFor(const FrameBitmap* bitmap);

    GdiScreen& screen_;
    QColor background_{Qt::black};
    bool stretch_ = false;
    int clientTop_ = 0;

    // Views onto the bitmaps' own memory, made again only when a bitmap is.
    const FrameBitmap* screenWrapped_ = nullptr;
    const FrameBitmap* blurWrapped_ = nullptr;
    QImage screenImage_;
    QImage blurImage_;
};

} // namespace ostrovik::output
