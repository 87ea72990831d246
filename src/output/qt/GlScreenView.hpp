#pragma once

#include <QOpenGLWidget>

#include <cstdint>
#include <memory>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GlTexture.hpp"

class QOpenGLFunctions_1_1;

namespace ostrovik::output {

/// The OpenGL presentation: every frame decodes all of video RAM into a
/// texture and draws it as one quad over the viewport, with linear filtering
/// while smoothing is on and nearest-texel filtering otherwise.
///
/// Like the raster view it works in the main window's client coordinates:
/// it sits below the tool bar (setClientTop, the bar's real height), and the
/// viewport leaves out exactly the rows the bar covers, so the whole picture
/// shows.
class GlScreenView : public QOpenGLWidget {
    Q_OBJECT
public:
    /// @p blurEnabled is the smoothing flag, read at every frame.
    GlScreenView(const machine::Machine& machine, const ColourLookupTable& colorTable, const std::uint8_t& blurEnabled,
                 QWidget* parent = nullptr);
    ~GlScreenView() override;

    /// One frame, in gray when @p gray: asks for a repaint, which decodes
    /// and draws.
    void drawScreenGl(bool gray);

    void setClientTop(int y) { clientTop_ = y; }
    int clientTop() const { return clientTop_; }

    /// Whether a context could be made; false where the desktop has no OpenGL.
    bool hasContext() const { return gl_ != nullptr; }
    /// The viewport and texture filter in effect (for tests), from the context.
    GlViewport currentViewport();
    int magnificationFilter();
    /// Frames drawn so far.
    int framesDrawn() const { return frames_; }

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void fitViewport();
    void buildTextureGl();

    const machine::Machine& machine_;
    const ColourLookupTable& colorTable_;
    const std::uint8_t& blurEnabled_;
    QOpenGLFunctions_1_1* gl_ = nullptr;
    std::unique_ptr<GlTextureImage> texture_;
    bool gray_ = false;
    int clientTop_ = 0;
    int frames_ = 0;
};

} // namespace ostrovik::output
