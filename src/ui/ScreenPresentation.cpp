#include "ui/ScreenPresentation.hpp"

#include <QVBoxLayout>

#include "output/qt/GlScreenView.hpp"
#include "output/qt/ScreenView.hpp"
#include "session/EmulatorSession.hpp"

namespace ostrovik::ui {

ScreenPresentation::ScreenPresentation(session::EmulatorSession& session, QWidget& window, int clientTop)
    : session_(session), clientTop_(clientTop), screenView_(new output::ScreenView(session.screen(), &window))
{
    screenView_->setObjectName(QStringLiteral("ScreenView"));
    screenView_->setClientTop(clientTop_);
}

output::GlScreenView* ScreenPresentation::glScreenView() const
{
    return session_.renderMode() == output::RenderMode::OpenGl ? glView_ : nullptr;
}

void ScreenPresentation::presentFrame(bool gray)
{
    switch (session_.renderMode()) {
    case output::RenderMode::Raster:
        drawScreen(gray);
        break;
    case output::RenderMode::OpenGl:
        drawScreenGl(gray);
        break;
    default:
        break;
    }
}

void ScreenPresentation::drawScreen(bool gray)
{
    screenView_->drawScreen(gray);
}

void ScreenPresentation::drawScreenGl(bool gray)
{
    if (glView_)
        glView_->drawScreenGl(gray);
}

void ScreenPresentation::changeRenderMode(output::RenderMode mode)
{
    session_.setRenderMode(mode);
    screenView_->update();
    // The OpenGL view, once made, is kept (hidden while another mode shows):
    // the desktop's OpenGL does not always take a second context for the
    // same window in its stride.
    if (glView_)
        glView_->setVisible(mode == output::RenderMode::OpenGl);
    if (mode != output::RenderMode::OpenGl || glView_)
        return;
    // Qt gives a shown window an OpenGL surface by making its native window
    // anew. Marked as placed, the new one opens where the user left the old
    // one, not where the desktop puts a new window.
    QWidget* top = screenView_->window();
    const bool shown = top->isVisible();
    if (shown)
        top->setAttribute(Qt::WA_Moved);
    // The new one opens in the normal state, whatever the old one's: it is
    // made at the size the window restores to and given the state once made,
    // so that the desktop keeps both.
    constexpr Qt::WindowStates kSized = Qt::WindowMaximized | Qt::WindowFullScreen;
    const Qt::WindowStates states = top->windowState();
    const bool resized = shown && states.testAnyFlags(kSized);
    if (resized) {
        const QRect normal = top->normalGeometry();
        top->setWindowState(states & ~kSized);
        top->setGeometry(normal);
    }
    // The OpenGL view covers the raster view, which keeps the window's
    // background round it.
    glView_ = new output::GlScreenView(session_.machine(), session_.colorTable(), session_.screen().blurEnabled,
                                       screenView_);
    glView_->setObjectName(QStringLiteral("GlScreenView"));
    glView_->setClientTop(clientTop_);
    auto* layout = new QVBoxLayout(screenView_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(glView_);
    if (screenView_->isVisible())
        glView_->show();
    if (resized)
        top->setWindowState(states);
}

void ScreenPresentation::applyRenderMode(int stored, bool gray)
{
    const output::RenderMode mode = output::presentedRenderMode(stored);
    if (mode == session_.renderMode())
        return;
    changeRenderMode(mode);
    // The new presentation starts from a whole frame.
    session_.machine().invalidateScreen();
    presentFrame(gray);
}

void ScreenPresentation::redrawBlur(bool gray)
{
    presentFrame(gray);
    if (session_.renderMode() == output::RenderMode::Raster)
        screenView_->update();
}

void ScreenPresentation::fitToWindow(bool stretched)
{
    // The OpenGL view follows the window through its layout and fits
    // its viewport as it is resized.
    // The raster view paints the whole window at every repaint, so the place a centred
    // picture left is cleared by it; the next tick draws the picture again.
    if (session_.renderMode() == output::RenderMode::Raster && !stretched)
        screenView_->update();
}

} // namespace ostrovik::ui
