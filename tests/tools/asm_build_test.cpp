// The assembler build from the editor's lines to the tape image, with the
// real build script, the real child process and the carried cross-assembler,
// and with a stand-in for the child where the assembler's outputs must be
// ones it would not make itself.

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "platform/FileFaults.hpp"
#include "platform/ProcessRunner.hpp"
#include "tools/AsmBuild.hpp"
#include "tools/AsmScript.hpp"
#include "tools/AsmBuildRig.hpp"

namespace {

using namespace asmbuildtest;
using ostrovik::platform::PosixProcessRunner;
using ostrovik::platform::ProcessRunner;
using ostrovik::platform::RunResult;
using ostrovik::tools::AsmBuild;

/// A child that does what @c effect says instead of running the script.
class StandInRunner : public ProcessRunner {
public:
    std::function<RunResult()> effect;
    int runs = 0;
    RunResult runAndWait(const std::string&, const std::vector<std::string>&) override
    {
        ++runs;
        return effect ? effect() : RunResult{true, {}, 0};
    }
};

/// A program folder, a recording host and a child runner, and the build on them.
template <typename Runner>
struct Workbench {
    explicit Workbench(const std::string& name = "prog") : folder(name) {}
    WorkbenchFolder folder;
    RecordingHost host;
    Runner runner;
    AsmBuild build{host, host, runner, folder.dir()};
};

std::string repeat(std::string_view text, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

/// What the stand-in leaves as the tape image: its header and name.
const std::string kImage = "RIZI/2.0/\xD0PROBA1";

std::vector<std::string> goodLog(const std::string& lvt)
{
    return {"Build..", "Save in file ASM", "Prepare compiler...", "Compilation...", "Good... " + lvt};
}

TEST(AsmScript, QuotesEveryPathAsOneWord)
{
    struct Case {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
        {"plain", "'plain'"},
        {"with blanks", "'with blanks'"},
        {"it's", "'it'\\''s'"},
        {"$HOME `id` \"x\"", "'$HOME `id` \"x\"'"},
        {"two\nlines", "'two\nlines'"},
        {"", "''"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ostrovik::tools::shellQuote(c.text), c.quoted) << c.text;

    const std::vector<std::string> expected = {
        "#!/bin/sh",
        "cd '/no/such/Assembler/' || exit 1",
        "./asm.exe -ltemp.lst '/no/such/Assembler/temp.asm'",
        "mv -f -- temp.lst '/out put'/temp.lst",
        "mv -f -- temp.bin '/out put'/temp.lvt",
        "rm -f temp.asm",
        "rm -f temp.hex",
        "rm -f asm.exe",
        "rm -f asm.cmd",
        "exit",
    };
    EXPECT_EQ(ostrovik::tools::buildScriptLines("/no/such/Assembler/", "/out put"), expected);
}

// Folder names a shell would take apart, or run, if they reached it as text.
TEST(AsmBuild, BuildsInFoldersWithAwkwardNames)
{
    const std::string names[] = {
        "plain",
        "with blanks",
        "it's \"quoted\"",
        "cost $HOME `touch pwned` $(touch pwned2)",
        "two\nlines",
        "-dash",
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Workbench<PosixProcessRunner> w(name);
        auto& [folder, host, runner, build] = w;
        build.compile(testDataLines("asm_initial_text.asm"));

        EXPECT_EQ(host.log, goodLog(folder.dir() + "Assembler/temp.lvt"));
        EXPECT_TRUE(host.errors.empty());
        const fs::path work = folder.path() / "Assembler";
        const std::string image = readFile(work / "temp.lvt");
        ASSERT_GE(image.size(), 22u);
        EXPECT_EQ(image.substr(0, 16), kImage);
        EXPECT_TRUE(fs::exists(work / "temp.lst"));
        for (const char* gone : {"temp.asm", "temp.hex", "asm.exe", "asm.cmd", "temp.bin"})
            EXPECT_FALSE(fs::exists(work / gone)) << gone;
        for (const char* pwned : {"pwned", "pwned2"}) {
            EXPECT_FALSE(fs::exists(work / pwned));
            EXPECT_FALSE(fs::exists(fs::path(pwned)));
        }
    }
}

TEST(AsmBuild, OutputFolderOfItsOwnAndMissingOnes)
{
    struct Case {
        const char* what;
        std::string sub;  // under the test's root; empty: none at all
        bool create;
        bool good;
    };
    const Case cases[] = {
        {"a folder of its own with a quote", "out 'lvt' $x", true, true},
        {"a missing folder", "missing", false, false},
        {"a missing folder inside a missing one", "missing/deeper", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Workbench<PosixProcessRunner> w;
        auto& [folder, host, runner, build] = w;
        const fs::path out = folder.root() / c.sub;
        if (c.create)
            fs::create_directories(out);
        build.lvtPath = out.string();
        build.compile(testDataLines("asm_initial_text.asm"));
        ASSERT_FALSE(host.log.empty());
        if (c.good) {
            EXPECT_EQ(host.log, goodLog(out.string() + "/temp.lvt"));
            EXPECT_TRUE(fs::exists(out / "temp.lst"));
        } else {
            EXPECT_EQ(host.log.back(), "An error occurred creating LVT file !!!");
            EXPECT_FALSE(fs::exists(out));
        }
        // The outputs never stay behind in the work folder under the wrong name.
        EXPECT_FALSE(fs::exists(folder.path() / "Assembler" / "temp.lvt"));
    }
}

TEST(AsmBuild, ErrorsAndStaleImages)
{
    Workbench<PosixProcessRunner> w;
    auto& [folder, host, runner, build] = w;
    build.compile(testDataLines("asm_initial_text.asm"));
    ASSERT_EQ(host.log.back(), "Good... " + build.lvtFile());

    // A second build of a broken source never reports the first one's image.
    build.compileAndRun({"\tORG 8000h", "\tMVI Q,1", "\tJMP NOWHERE", "\tEND"});
    const std::vector<std::string>& log = host.log;
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0], "Build and run...");
    EXPECT_EQ(log[4], "Try to link the emulator...");
    EXPECT_EQ(log.back(), "An error occurred creating LVT file !!!");
    int errors = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind("Error:  ", 0) != 0)
            continue;
        ++errors;
        EXPECT_NE(log[i].find("*** Error"), std::string::npos);
        ASSERT_LT(i + 1, log.size());
        EXPECT_EQ(log[i + 1].rfind("In line  ", 0), 0u) << log[i + 1];
    }
    EXPECT_EQ(errors, 2);
    for (const std::string& e : host.events)
        EXPECT_EQ(e.rfind("log ", 0), 0u) << "nothing is handed over: " << e;
}

TEST(AsmBuild, ListingsTheAssemblerMightWrite)
{
    struct Case {
        const char* what;
        std::string listing;
        bool image;
        std::vector<std::string> errorLines;  // what follows "Compilation..." and the link line
    };
    const Case cases[] = {
        {"an error line and an image all the same",
         "8000 00      1 \tNOP\n*** Error: odd\n8001 00      2 \tNOP\n", true,
         {"Error:  *** Error: odd", "In line  8001 00      2 \tNOP"}},
        {"the last line is an error line", "8000 00      1 \tNOP\r\n*** Error: last\r\n", false,
         {"Error:  *** Error: last", "In line  "}},
        {"the line after an error is not tested itself", "x *** Error a\n*** Error b\n*** Error c\n", false,
         {"Error:  x *** Error a", "In line  *** Error b", "Error:  *** Error c", "In line  "}},
        {"an empty listing", "", true, {}},
        // A hostile listing: what the log quotes is bounded.
        {"a 1 MB error line is quoted cut", "*** Error: " + std::string(1 << 20, 'x') + "\nplace\n", false,
         {"Error:  *** Error: " + std::string(AsmBuild::kMaxQuotedLine - 11, 'x') + "...", "In line  place"}},
        {"a mark past the cut still counts", std::string(5000, 'y') + "*** Error\nplace\n", false,
         {"Error:  " + std::string(AsmBuild::kMaxQuotedLine, 'y') + "...", "In line  place"}},
        {"a cut never splits a character", "*** Error: " + repeat("Ж", 200) + "\n", false,
         {"Error:  *** Error: " + repeat("Ж", (AsmBuild::kMaxQuotedLine - 12) / 2) + "...", "In line  "}},
        {"more errors than the log shows", repeat("*** Error\nplace\n", AsmBuild::kMaxErrorsShown + 50), false,
         [] {
             std::vector<std::string> lines;
             for (std::size_t i = 0; i < AsmBuild::kMaxErrorsShown; ++i)
                 lines.insert(lines.end(), {"Error:  *** Error", "In line  place"});
             lines.push_back("... and 50 more errors");
             return lines;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Workbench<StandInRunner> w;
        auto& [folder, host, runner, build] = w;
        runner.effect = [&] {
            writeFile(build.listingFile(), c.listing);
            if (c.image)
                writeFile(build.lvtFile(), kImage);
            return RunResult{true, {}, 0};
        };
        build.compileAndRun({"\tNOP"});
        std::vector<std::string> expected = {"Build and run...", "Save in file ASM", "Prepare compiler...",
                                             "Compilation...", "Try to link the emulator..."};
        expected.insert(expected.end(), c.errorLines.begin(), c.errorLines.end());
        expected.push_back(c.image ? "Good... " + build.lvtFile() : "An error occurred creating LVT file !!!");
        EXPECT_EQ(host.log, expected);
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "reset"), c.image ? 1 : 0);
    }
}

TEST(AsmBuild, HandOverToTheEmulator)
{
    struct Case {
        const char* what;
        bool quickRun;
        bool failLoad;
    };
    const Case cases[] = {
        {"QuickRun unticked stays unticked", false, false},
        {"QuickRun ticked stays ticked", true, false},
        {"a failing load still clears the pause and restores QuickRun", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Workbench<StandInRunner> w;
        auto& [folder, host, runner, build] = w;
        host.ui.options[ostrovik::machine::Option::QuickRun] = c.quickRun ? "1" : "0";
        host.failLoad = c.failLoad;
        runner.effect = [&] {
            writeFile(build.lvtFile(), kImage);
            return RunResult{true, {}, 0};
        };
        const std::string lvt = build.lvtFile();
        std::vector<std::string> expected = {
            "log Build and run...", "log Save in file ASM", "log Prepare compiler...",
            "log Compilation...",   "log Try to link the emulator...",
            "quick 1",              "reset",
            "paused 1",             "caption " + lvt,
            "load " + lvt,
        };
        if (c.failLoad) {
            EXPECT_THROW(build.compileAndRun({"\tNOP"}), std::runtime_error);
            expected.insert(expected.end(), {"paused 0", c.quickRun ? "quick 1" : "quick 0"});
        } else {
            build.compileAndRun({"\tNOP"});
            expected.insert(expected.end(),
                            {"paused 0", c.quickRun ? "quick 1" : "quick 0", "focus", "log Good... " + lvt});
        }
        EXPECT_EQ(host.events, expected);
        EXPECT_EQ(host.ui.optionChecked(ostrovik::machine::Option::QuickRun), c.quickRun);
    }
}

TEST(AsmBuild, StepsThatFail)
{
    struct Case {
        const char* what;
        std::function<void(WorkbenchFolder&, RecordingHost&, StandInRunner&)> arrange;
        std::size_t logLines;  // where the log stops
        bool runs;
        std::string error;     // the start of the message shown
    };
    const Case cases[] = {
        {"no work folder", [](WorkbenchFolder& f, RecordingHost&, StandInRunner&) { fs::remove_all(f.path() / "Assembler"); },
         2, false, "Cannot create file \""},
        {"no carried assembler", [](WorkbenchFolder&, RecordingHost& h, StandInRunner&) { h.assembler.clear(); }, 3, false,
         "Resource MyAss8080 not found"},
        {"an old image that cannot be removed",
         [](WorkbenchFolder& f, RecordingHost&, StandInRunner&) {
             fs::create_directories(f.path() / "Assembler" / "temp.lvt" / "inside");
         },
         0, false, "Cannot delete file \""},
        {"a full disk under the source",
         [](WorkbenchFolder&, RecordingHost&, StandInRunner&) {},
         2, false, "Cannot write file \""},
        {"the script cannot start",
         [](WorkbenchFolder&, RecordingHost&, StandInRunner& r) {
             r.effect = [] { return RunResult{false, "Exec format error", 0}; };
         },
         5, true, "Exec format error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WorkbenchFolder folder;
        RecordingHost host;
        StandInRunner runner;
        c.arrange(folder, host, runner);
        AsmBuild build(host, host, runner, folder.dir());
        {
            // A disk that fills up while the source is written.
            ostrovik::platform::ScopedWriteFault full([&](const std::string& path) {
                return std::string_view(c.what).starts_with("a full disk") && path.ends_with("temp.asm") ? ENOSPC
                                                                                                        : 0;
            });
            build.compile({"\tNOP"});
        }
        if (std::string_view(c.what).starts_with("a full disk")) {
            EXPECT_FALSE(fs::exists(folder.path() / "Assembler" / "temp.asm"));
            EXPECT_NE(host.errors.at(0).find("No space left on device"), std::string::npos);
        }
        EXPECT_EQ(host.log.size(), c.logLines);
        EXPECT_EQ(runner.runs, c.runs ? 1 : 0);
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(host.errors[0].rfind(c.error, 0), 0u) << host.errors[0];
        if (c.runs) {
            EXPECT_EQ(host.log.back(), "An error occurred creating LVT file !!!");
        }
    }
}

TEST(ProcessRunner, StartsWaitsAndReportsTheSystemsText)
{
    PosixProcessRunner runner;
    const RunResult missing = runner.runAndWait("/no/such/program", {});
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.error, "No such file or directory");

    WorkbenchFolder folder;
    const fs::path marker = folder.path() / "it ran";
    const RunResult ran = runner.runAndWait("/bin/sh", {"-c", "sleep 0.2; echo hidden; : > \"$1\"; exit 3", "sh",
                                                        marker.string()});
    EXPECT_TRUE(ran.started);
    EXPECT_EQ(ran.exitCode, 3);
    EXPECT_TRUE(fs::exists(marker)) << "the wait returns only once the child has ended";
}

} // namespace
