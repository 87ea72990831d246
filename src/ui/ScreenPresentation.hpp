#pragma once

#include "output/RenderMode.hpp"

class QWidget;

namespace ostrovik::output {
class GlScreenView;
class ScreenView;
}
namespace ostrovik::session {
class EmulatorSession;
}

namespace ostrovik::ui {

/// How the main window shows the session's screen: the raster view, which
/// is always there, and the OpenGL view that covers it in the OpenGL render
/// mode. It presents in the render mode the session keeps.
class ScreenPresentation {
public:
    /// Makes the raster view, a child of @p window; the picture starts
    /// @p clientTop rows down, below the tool bar.
    ScreenPresentation(session::EmulatorSession& session, QWidget& window, int clientTop);

    output::ScreenView& screenView() { return *screenView_; }
    /// The OpenGL view; null outside the OpenGL render mode.
    output::GlScreenView* glScreenView() const;

    /// The frame in the render mode: raster, OpenGL, others none.
    void presentFrame(bool gray);
    void drawScreen(bool gray);
    void drawScreenGl(bool gray);
    /// Presents through @p mode from now on (the session keeps it): raster,
    /// OpenGL, others none.
    void changeRenderMode(output::RenderMode mode);
    /// Presents in the stored render mode @p stored from now on.
    void applyRenderMode(int stored, bool gray);
    /// The blur was switched: the picture shows it at once, not only when
    /// the machine next writes to video memory.
    void redrawBlur(bool gray);
    /// The window was resized; @p stretched tells the FullScreen mark.
    void fitToWindow(bool stretched);

private:
    session::EmulatorSession& session_;
    const int clientTop_;
    output::ScreenView* screenView_ = nullptr;
    output::GlScreenView* glView_ = nullptr;
};

} // namespace ostrovik::ui
