// What a hostile source costs the workbench's build log, through the real
// window: a source whose one bad line is 1 MB long, and a 39 MB source with
// an error in every line. Prints the time from the Compile click until the
// log is drawn, the log's line count and the process's peak memory.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QPlainTextEdit>

#include <sys/resource.h>

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

/// False when the build logged nothing: an empty run has no figure.
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
    return form.buildLog->document()->blockCount() > 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    ostrovik::bench::Workbench bench;
    if (!bench.open())
        return 1;
    auto* form = bench.form;
    form->show();

    std::printf("peak before the builds %.0f MB\n", peakMegabytes());
    bool logged = measure(*form, "one 1 MB line with an error",
                          "\tORG 8000h\n\tMVI A," + std::string(1 << 20, 'Z') + "\n\tEND\n");
    std::string many = "\tORG 8000h\n";
    const std::string bad = "\tMVI Q,1 ; an error in every line of it\n";
    while (many.size() < 39u * 1000 * 1000)
        many += bad;
    logged = measure(*form, "39 MB, an error in every line", many) && logged;
    form->sourceModified = 0; // no close question
    form->close();
    bench.main.reset();
    ostrovik::ui::SetConfigFilePath({});
    if (!logged) {
        std::fprintf(stderr, "a build logged nothing\n");
        return 1;
    }
    return 0;
}
