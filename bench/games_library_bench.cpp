// The game library browser on a library of 600 games: opening the window
// (listing and showing the first game) and showing a game on a click.
// Targets: under 200 ms to open, under 20 ms a click.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>
#include <QListWidget>

#include "games/GameLibrary.hpp"
#include "BenchEmulator.hpp"
#include "games/qt/GameLibraryForm.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    const fs::path program = fs::temp_directory_path() / "ostrovik-library-bench";
    fs::remove_all(program);
    const std::string root = ostrovik::games::libraryRoot(program.string());
    fs::create_directories(root);
    // Catalogue-like screenshots: 256 × 256 pictures with some detail.
    QImage shot(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            shot.setPixel(x, y, qRgb((x * 7) & 0xC0, (y * 5) & 0xC0, ((x ^ y) * 3) & 0xC0));
    const std::string png = (program / "shot.png").string();
    shot.save(QString::fromStdString(png), "PNG");
    constexpr int kGames = 600;
    for (int i = 0; i < kGames; ++i) {
        const std::string name = "Game" + std::to_string(i);
        const fs::path dir = fs::path(root) / name;
        fs::create_directories(dir);
        fs::copy_file(png, dir / "screen1.png");
        fs::copy_file(png, dir / "screen2.png");
        std::ofstream(dir / (name + ".txt"), std::ios::binary) << "Title " << i << "\r\nA game of the catalogue.\r\n";
        std::ofstream(dir / "mark.txt", std::ios::binary) << (i % 11) << "\r\n";
        std::ofstream(dir / (name + ".lvt"), std::ios::binary) << "RIZI/2.0/";
    }

    double open = 0;
    BenchEmulator emulator(program.string());
    std::unique_ptr<ostrovik::games::GameLibraryForm> form;
    {
        const auto start = Clock::now();
        form = std::make_unique<ostrovik::games::GameLibraryForm>(emulator);
        form->show();
        QApplication::processEvents();
        open = msSince(start);
    }
    double total = 0, worst = 0;
    constexpr int kClicks = 100;
    for (int k = 0; k < kClicks; ++k) {
        const auto start = Clock::now();
        form->gameList->setCurrentRow((k * 37) % kGames);
        QApplication::processEvents();
        const double took = msSince(start);
        total += took;
        worst = std::max(worst, took);
    }
    if (form->gameList->count() != kGames) {
        std::fprintf(stderr, "the window lists %d of the %d games\n", form->gameList->count(), kGames);
        return 1;
    }
    std::printf("library of %d games: the window opens in %.1f ms (target < 200 ms)\n", form->gameList->count(),
                open);
    std::printf("a click shows a game in %.2f ms on average, %.2f ms at worst, over %d clicks (target < 20 ms)\n",
                total / kClicks, worst, kClicks);
    form.reset();
    fs::remove_all(program);
    return 0;
}
