// What a hostile source costs the workbench, through the real window: a
// source whose one bad line is a million bytes long and a source of nearly
// the workbench's 1 MB limit with an error in every line, built; then a 48 MB
// source, refused when opened and when built. Prints the time from the click
// until the log is drawn (or the refusal is shown), the log's line count and
// the process's peak memory. Fails when a build logged no error or a
// refusal did not come.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include <QApplication>
#include <QPlainTextEdit>

#include <sys/resource.h>

#include "BenchDialogs.hpp"
#include "BenchWorkbench.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

/// Builds @p source; false when the build logged no error.
bool measure(ostrovik::tools::AssemblerWorkbench& form, const char* what, const std::string& source)
{
    form.editor->setText(QString::fromStdString(source));
    const auto t0 = Clock::now();
    form.compileButton->trigger();
    form.buildLog->viewport()->repaint();
    QCoreApplication::processEvents();
    std::printf("%-40s %8.2f s, %9d log lines, peak %7.0f MB\n", what, secondsSince(t0),
                form.buildLog->document()->blockCount(), peakMegabytes());
    std::fflush(stdout);
    return form.buildLog->toPlainText().contains(QStringLiteral("*** Error"));
}

/// Runs @p step, which the workbench must refuse; false when it did not.
template <typename Step>
bool measureRefusal(BenchDialogs& dialogs, const char* what, Step step)
{
    const int before = dialogs.errors;
    const double peakBefore = peakMegabytes();
    const auto t0 = Clock::now();
    step();
    QCoreApplication::processEvents();
    std::printf("%-40s %8.3f s, peak %7.0f MB (%+.0f MB)\n", what, secondsSince(t0), peakMegabytes(),
                peakMegabytes() - peakBefore);
    std::fflush(stdout);
    return dialogs.errors == before + 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    BenchDialogs dialogs;
    ostrovik::bench::Workbench bench;
    if (!bench.open())
        return 1;
    auto* form = bench.form;
    form->show();

    std::printf("peak before the builds %.0f MB\n", peakMegabytes());
    bool ok = measure(*form, "one line of 1,000,000 bytes, an error",
                      "\tORG 8000h\n\tMVI A," + std::string(1000 * 1000, 'Z') + "\n\tEND\n");
    std::string many = "\tORG 8000h\n";
    const std::string bad = "\tMVI Q,1 ; an error in every line of it\n";
    while (many.size() + bad.size() <= ostrovik::tools::AsmBuild::kMaxSourceBytes)
        many += bad;
    ok = measure(*form, "1 MB, an error in every line", many) && ok;

    std::string huge;
    while (huge.size() < 48u << 20)
        huge += bad;
    dialogs.file = bench.dir.filePath(QStringLiteral("huge.asm"));
    std::ofstream(dialogs.file.toStdString(), std::ios::binary) << huge;
    ok = measureRefusal(dialogs, "48 MB file, opening refused", [&] { form->openButton->trigger(); }) && ok;
    form->editor->setText(QString::fromStdString(huge));
    huge.clear();
    huge.shrink_to_fit();
    ok = measureRefusal(dialogs, "48 MB in the editor, build refused", [&] { form->compileButton->trigger(); }) && ok;

    form->sourceModified = 0; // no close question
    form->close();
    bench.main.reset();
    ostrovik::kit::setConfigFilePath({});
    if (!ok)
        std::fprintf(stderr, "a build logged no error, or a source over the limit was not refused\n");
    return ok ? 0 : 1;
}
