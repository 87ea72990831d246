#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "machine/Machine.hpp"

namespace ostrovik::machine::test {

/// A host that records what the machine asks of the user interface and gives
/// the answers a test sets up.
class RecordingHost : public NullHost {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> chooseTapeFile() override
    {
        ++dialogs;
        if (onDialog)
            onDialog();
        return tapeAnswer;
    }
    void loadFile(const std::string& path, bool autoStart) override
    {
        loads.push_back({path, autoStart});
        if (onLoad)
            onLoad(path);
    }
    bool logWindowVisible() const override { return logVisible; }
    void appendLogLine(std::string_view line) override { logLines.emplace_back(line); }

    std::vector<std::string> messages;
    int dialogs = 0;
    std::function<void()> onDialog;
    std::optional<std::string> tapeAnswer;
    struct Load {
        std::string path;
        bool autoStart;
    };
    std::vector<Load> loads;
    std::function<void(const std::string&)> onLoad;
    bool logVisible = false;
    std::vector<std::string> logLines;
};

/// A machine with empty memory in the all-RAM view (every latch 0xFF), as
/// after a cold reset with the ROM area still zero.
struct TestMachine {
    RecordingHost host;
    Machine m{host};

    TestMachine()
    {
        m.init_memory();
        m.Ports.fill(0xFF);
        m.i8080_init();
    }
    /// Bytes straight into RAM (the ROM area included).
    void poke(std::uint32_t at, std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            m.RAM[at++ & 0xFFFF] = static_cast<std::uint8_t>(b);
    }
    /// Places @p bytes at @p at, points PC there and runs one instruction.
    void step(std::uint32_t at, std::initializer_list<int> bytes)
    {
        poke(at, bytes);
        m.r_PC = static_cast<std::int32_t>(at);
        m.i8080_do_opcodes(1);
    }
};

} // namespace ostrovik::machine::test
