// The picture converter on a 1024 × 768 JPEG: loaded (decoded and turned
// black and white at the threshold) and saved as a tape image, in black and
// white and in colour, through the window's own buttons (target under 50 ms
// each).
//
//   picture_bench
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "BenchDialogs.hpp"
#include "tools/qt/PictureConverterForm.hpp"
#include "ui/MainWindow.hpp"
#include "kit/Settings.hpp"

using namespace ostrovik;
using Clock = std::chrono::steady_clock;

namespace {

/// Smooth colour fields with fine detail, as a photograph has.
QImage photo()
{
    QImage p(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.setPixel(x, y,
                       qRgb(static_cast<int>(127 + 127 * std::sin(x / 70.0)), (x * y / 300) % 256,
                            static_cast<int>(127 + 127 * std::cos((x + y) / 45.0)) ^ ((x * 7 + y * 3) & 15)));
    return p;
}

template <typename F>
void measure(const char* what, F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < 30; ++i) {
        const auto t0 = Clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-44s median %7.2f ms   worst %7.2f ms   target 50 ms   %s\n", what, median, ms.back(),
                median < 50 ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("PicToLVT"));
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    if (!photo().save(jpeg, "JPG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(jpeg));
        return 1;
    }

    // The settings the main window reads and writes stay out of the program folder.
    kit::setConfigFilePath(QFile::encodeName(dir.filePath(QStringLiteral("config.ini"))).toStdString());
    BenchDialogs dialogs;
    dialogs.file = jpeg;
    ui::MainWindow main(QStringList{});
    main.machine().programDir = QFile::encodeName(dir.path()).toStdString();
    tools::PictureConverterForm form(main.windowHost());
    const auto load = [&] { form.loadPicture(); };

    // One conversion first: a picture refused would give figures of nothing.
    const auto converted = [&] {
        return dialogs.errors == 0 && QFile::exists(dir.filePath(QStringLiteral("PicToLVT/Color_photo.lvt")));
    };
    load();
    form.saveColour();
    if (!converted()) {
        std::fprintf(stderr, "the conversion failed\n");
        return 1;
    }
    std::printf("1024 x 768 JPEG, %lld bytes\n", static_cast<long long>(QFileInfo(jpeg).size()));
    measure("load (decode, black and white preview)", load);
    measure("save black and white", [&] { form.saveBw(); });
    measure("save colour", [&] { form.saveColour(); });
    measure("load and save black and white", [&] {
        load();
        form.saveBw();
    });
    measure("load and save colour", [&] {
        load();
        form.saveColour();
    });
    if (!converted()) {
        std::fprintf(stderr, "the conversion failed\n");
        return 1;
    }
    return 0;
}
