// GUI-thread time of one frame of the OpenGL presentation at the design
// size: the texture decoded and uploaded, the quad drawn, and the widget's
// picture put on the window. Run it on an X display (xvfb-run with Mesa).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>

#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GlTexture.hpp"
#include "output/qt/GlScreenView.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrovik;

template <class F>
std::pair<double, double> medianAndWorst(int runs, F&& body)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body(i);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.back()};
}

/// The presentation with the time its own drawing takes on the GUI thread.
class TimedView : public output::GlScreenView {
public:
    using GlScreenView::GlScreenView;
    std::vector<double> paints;

protected:
    void paintGL() override
    {
        const auto start = Clock::now();
        GlScreenView::paintGL();
        paints.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
};

double median(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto table = std::make_unique<output::ColourLookupTable>();
    output::calculateColor(*table);
    machine::NullHost host;
    machine::Machine m(host);
    m.ports[0xC1] = 0x0F;
    for (std::size_t i = 0; i < m.videoRam.size(); ++i)
        m.videoRam[i] = static_cast<std::uint8_t>(i * 37 + (i >> 6));
    std::uint8_t blur = 0;

    auto texture = std::make_unique<output::GlTextureImage>();
    const auto decode = medianAndWorst(2001, [&](int i) {
        m.videoRam[static_cast<std::size_t>(i) & 16383] ^= 0x55;
        output::buildTexture(m, *table, false, *texture);
    });

    // Inside a window, as the main window holds it.
    QWidget window;
    window.resize(535, 511);
    TimedView view(m, *table, blur, &window);
    view.setClientTop(25);
    view.resize(535, 511);
    window.show();
    for (int i = 0; i < 50 && !view.hasContext(); ++i)
        app.processEvents();
    if (!view.hasContext()) {
        std::printf("no OpenGL context on this display\n");
        return 1;
    }
    // One frame as the run loop makes it: asked for, then drawn and put on
    // the window when the event loop comes round.
    const auto oneFrame = [&] {
        const int before = view.framesDrawn();
        view.drawScreenGl(false);
        while (view.framesDrawn() == before)
            app.processEvents();
    };
    for (int i = 0; i < 20; ++i)
        oneFrame();
    view.paints.clear();
    const auto frame = medianAndWorst(501, [&](int i) {
        m.videoRam[static_cast<std::size_t>(i * 7) & 16383] ^= 0x55;
        oneFrame();
    });
    const double ownNearest = median(view.paints);
    view.paints.clear();
    blur = 1;
    const auto smooth = medianAndWorst(501, [&](int i) {
        m.videoRam[static_cast<std::size_t>(i * 7) & 16383] ^= 0x55;
        oneFrame();
    });

    const double ownLinear = median(view.paints);
    std::printf("texture decode (CPU)               median %6.3f ms, worst %6.3f ms\n", decode.first, decode.second);
    std::printf("OpenGL frame, nearest (GUI thread)  median %6.3f ms, worst %6.3f ms  (budget 1 ms, %.3f of it)\n",
                frame.first, frame.second, frame.first);
    std::printf("OpenGL frame, linear (GUI thread)   median %6.3f ms, worst %6.3f ms\n", smooth.first, smooth.second);
    std::printf("  of which the presentation's own drawing (paintGL): nearest %6.3f ms, linear %6.3f ms\n",
                ownNearest, ownLinear);
    return 0;
}
