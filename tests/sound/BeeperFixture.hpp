#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "machine/Machine.hpp"
#include "output/sound/Beeper.hpp"
#include "support/ScriptedWaveOut.hpp"

/// A machine after its cold reset (every latch 0xFF) with a beeper on a
/// scripted wave-out device.
class BeeperFixture : public ::testing::Test {
protected:
    using Beeper = ostrovik::output::sound::Beeper;
    using Op = ostrovik::test::ScriptedWaveOut::Op;
    using WaveResult = ostrovik::platform::WaveResult;

    BeeperFixture()
    {
        machine.ports.fill(0xFF);
        beeper.soundLevel = 128;
        beeper.openAudio();
    }

    /// OUT C2 with @p value at T-state @p clock of the current run.
    void outC2(std::int32_t clock, int value)
    {
        machine.clock = clock;
        machine.writePort(0xC2, value);
    }
    /// Flips the beeper bit at T-state @p clock.
    void toggleAt(std::int32_t clock) { outC2(clock, machine.ports[0xC2] ^ 1); }
    /// Ends a normal tick: the run took @p clock T-states, then the buffer is built.
    void endTick(std::int32_t clock = 56448)
    {
        lastIndex_ = beeper.bufferIndex;
        machine.clock = clock;
        beeper.playTone();
    }

    static std::vector<int> clicksOf(const Beeper::Samples& buffer)
    {
        std::vector<int> at;
        for (int i = 0; i < static_cast<int>(buffer.size()); ++i)
            if (buffer[static_cast<std::size_t>(i)] == 255)
                at.push_back(i);
        return at;
    }
    static bool onlyClicksAndSilence(const Beeper::Samples& buffer)
    {
        return std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t s) { return s == 128 || s == 255; });
    }
    /// The buffer the last tick built.
    const Beeper::Samples& lastBuilt() const
    {
        return beeper.soundBuffers[lastIndex_];
    }

    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine machine{host};
    ostrovik::test::ScriptedWaveOut device;
    Beeper beeper{machine, device};

private:
    int lastIndex_ = 0;
};
