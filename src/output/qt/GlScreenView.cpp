#include "output/qt/GlScreenView.hpp"

#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QSurfaceFormat>

namespace ostrovik::output {

namespace {
// OpenGL 1.2's edge clamp; every driver with a compatibility context has it.
constexpr GLint kClampToEdge = 0x812F;
} // namespace

GlScreenView::GlScreenView(const machine::Machine& machine, const ColourLookupTable& colorTable,
                           const std::uint8_t& blurEnabled, QWidget* parent)
    : QOpenGLWidget(parent), machine_(machine), colorTable_(colorTable), blurEnabled_(blurEnabled),
      texture_(std::make_unique<GlTextureImage>())
{
    // The fixed-function pipeline: a compatibility context, double-buffered.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    setFormat(format);
}

GlScreenView::~GlScreenView()
{
    makeCurrent();
    gl_ = nullptr;
    doneCurrent();
}

void GlScreenView::initializeGL()
{
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context());
    if (!gl_)
        return;
    buildTextureGl();
}

void GlScreenView::resizeGL(int, int)
{
    fitViewport();
}

void GlScreenView::fitViewport()
{
    if (!gl_)
        return;
    const qreal ratio = devicePixelRatioF();
    const GlViewport v = glViewportFor(width(), height() + clientTop_, clientTop_);
    gl_->glViewport(v.x, v.y, static_cast<int>(v.width * ratio), static_cast<int>(v.height * ratio));
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadIdentity();
    gl_->glFrustum(-1, 1, -1, 1, 50, 300);
    gl_->glMatrixMode(GL_MODELVIEW);
    gl_->glLoadIdentity();
    gl_->glTranslatef(-50, -50, -250);
}

void GlScreenView::buildTextureGl()
{
    const GLint filter = blurEnabled_ ? GL_LINEAR : GL_NEAREST;
    // The default texture object, as the presentation has always used.
    gl_->glBindTexture(GL_TEXTURE_2D, 0);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    // Without this, linear filtering blends the top line into the bottom row.
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClampToEdge);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
    buildTexture(machine_, colorTable_, gray_, *texture_);
    gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, 3, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, texture_->data());
}

void GlScreenView::drawScreenGl(bool gray)
{
    gray_ = gray;
    update();
}

void GlScreenView::paintGL()
{
    if (!gl_)
        return;
    // The widget's frame buffer is bound anew for every paint; the viewport
    // is ours to keep.
    fitViewport();
    buildTextureGl();
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadIdentity();
    gl_->glOrtho(-50, 50, -50, 50, 200, 300);
    gl_->glMatrixMode(GL_MODELVIEW);
    gl_->glEnable(GL_TEXTURE_2D);
    gl_->glBegin(GL_QUADS);
    gl_->glNormal3f(0, 0, 1);
    gl_->glTexCoord2f(0, 0);
    gl_->glVertex3f(0, 0, 0);
    gl_->glTexCoord2f(1, 0);
    gl_->glVertex3f(100, 0, 0);
    gl_->glTexCoord2f(1, 1);
    gl_->glVertex3f(100, 100, 0);
    gl_->glTexCoord2f(0, 1);
    gl_->glVertex3f(0, 100, 0);
    gl_->glEnd();
    ++frames_;
}

GlViewport GlScreenView::currentViewport()
{
    if (!gl_)
        return {};
    makeCurrent();
    GLint v[4] = {};
    gl_->glGetIntegerv(GL_VIEWPORT, v);
    doneCurrent();
    return {v[0], v[1], v[2], v[3]};
}

int GlScreenView::magnificationFilter()
{
    if (!gl_)
        return 0;
    makeCurrent();
    GLint f = 0;
    gl_->glBindTexture(GL_TEXTURE_2D, 0);
    gl_->glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &f);
    doneCurrent();
    return f;
}

} // namespace ostrovik::output
