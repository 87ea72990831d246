#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "machine/Host.hpp"
#include "machine/Keyboard.hpp"
#include "machine/Machine.hpp"
#include "support/TestHost.hpp"

namespace ostrovik::testing {

using machine::Machine;
using machine::KeyMask;

inline std::string hex4(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}

/// The keys the machine would read as held, as their codes.
inline std::string heldKeys(const Machine& m)
{
    std::string s;
    for (unsigned row = 0; row < 8; ++row)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (m.keyMatrix[row] & (1u << bit))
                s += " " + hex4((row << 12) | (bit << 8) | 0xFF);
    for (unsigned row = 0; row < 4; ++row)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (m.extKeyMatrix[row] & (1u << bit))
                s += " " + hex4(0xFF00 | (row << 4) | bit);
    return s;
}

/// One log of everything the keyboard, the host and the PC layout do, in
/// order: "+61FF" press, "-61FF" release, "run 60000 held 61FF" a CPU run
/// with the keys the machine sees during it, "caption ..." and "layout ...".
struct EventLog {
    std::vector<std::string> events;
    void add(std::string e) { events.push_back(std::move(e)); }
};

/// The test host, with every caption it is given logged as "caption ...".
inline test::TestHost captionLoggingHost(EventLog& log)
{
    test::TestHost host;
    host.onCaption = [&log](const std::string& text) { log.add("caption " + text); };
    return host;
}

class RecordingKeyboard : public machine::Keyboard {
public:
    RecordingKeyboard(Machine& m, EventLog& log) : Keyboard(m), log_(log) {}
    void setKey(KeyMask code, bool down) override
    {
        // A key with no DU-01 key changes nothing the machine can see.
        if (code != machine::KEYMASK_NONE)
            log_.add((down ? "+" : "-") + hex4(code));
        Keyboard::setKey(code, down);
    }
    void run(std::int32_t budget) override
    {
        const std::string held = heldKeys(machine());
        log_.add("run " + std::to_string(budget) + (held.empty() ? "" : " held" + held));
        totalTStates += budget;
        Keyboard::run(budget);
    }
    long long totalTStates = 0;

private:
    EventLog& log_;
};

class RecordingLayout : public machine::KeyboardLayout {
public:
    explicit RecordingLayout(EventLog& log, std::string name = "00000409")
        : log_(log), name_(std::move(name))
    {
    }
    std::string activeLayoutName() const override { return name_; }
    void activateLayout(std::string_view name) override
    {
        name_ = name;
        log_.add("layout " + name_);
    }

private:
    EventLog& log_;
    std::string name_;
};

} // namespace ostrovik::testing
