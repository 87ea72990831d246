// The debuggers on the test ROM: a disassembly of the whole 64 KB into the
// memory debugger's grid, from the click on its start button until the grid
// has painted its last row (target under 150 ms); and one run-loop tick with
// the memory debugger shown and "Memory RealTime" ticked (target under
// 0.3 ms), without and with the repaint it asks for (which the event loop
// does after the tick; it should fit in one 15.625 ms timer period).
//
//   debugger_bench          (bios.dat from the folder of this program)
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <vector>

#include "BenchTiming.hpp"
#include "debugger/qt/HexDumpGrid.hpp"
#include "debugger/qt/ListingGrid.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "ui/DebuggerLink.hpp"
#include "ui/MainWindow.hpp"
#include "kit/Settings.hpp"

using namespace ostrovik;
using bench::report;
using bench::time;

int main(int argc, char** argv)
try {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    // The settings the main window reads and writes stay out of the program folder.
    QTemporaryDir settings;
    kit::setConfigFilePath((settings.path() + QStringLiteral("/config.ini")).toStdString());

    ui::MainWindow main({});
    machine::Machine& m = main.machine();
    m.coldReset();
    m.runOpcodes(20'000'000); // to the prompt
    main.toggleMemoryDebugger();
    debugger::MemoryDebuggerForm& form = *ui::debuggerForm(main);
    QApplication::processEvents();

    form.findChild<QLineEdit*>(QStringLiteral("listFromEdit"))->setText(QStringLiteral("0"));
    form.findChild<QLineEdit*>(QStringLiteral("listToEdit"))->setText(QStringLiteral("65535"));
    auto* start = form.findChild<QPushButton*>(QStringLiteral("disassembleButton"));
    debugger::ListingGrid& listing = form.listingGrid();
    auto passes = time(20, [&] {
        start->click();
        listing.scrollToBottom();
        listing.viewport()->repaint();
    });
    const auto& rows = listing.listing().rows();
    if (rows.empty() || rows.back().address < 0xFFFD)
        throw std::runtime_error("the listing does not reach the end of memory");
    std::printf("%zu rows listed\n", rows.size());
    report("64 KB disassembly, click to last row shown", passes, 150'000);

    form.findChild<QCheckBox*>(QStringLiteral("realTimeBox"))->setChecked(true);
    debugger::HexDumpGrid& dump = form.dumpGrid();
    auto ticks = time(2000, [&] { main.runFrame(); });
    report("tick, debugger shown, Memory RealTime", ticks, 300);

    form.findChild<QCheckBox*>(QStringLiteral("realTimeBox"))->setChecked(false);
    auto plain = time(2000, [&] { main.runFrame(); });
    report("tick, debugger shown, dump not refreshed", plain, 300);

    form.findChild<QCheckBox*>(QStringLiteral("realTimeBox"))->setChecked(true);
    auto painted = time(500, [&] {
        main.runFrame();
        dump.viewport()->repaint();
    });
    report("the same tick and the dump's repaint", painted, 15'625);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "debugger_bench: %s\n", e.what());
    return 1;
}
