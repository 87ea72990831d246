#include "platform/TimerModel.hpp"

#include <gtest/gtest.h>

#include <random>

using namespace ostrovik::platform;
using namespace std::chrono_literals;

namespace {
constexpr std::int64_t kTick = 15'625'000; // ns
constexpr std::int64_t kMs = 1'000'000;
} // namespace

TEST(TimerModel, PeriodsOnThe64HzClock)
{
    EXPECT_EQ(timerPeriodTicks(1), 1);  // below 10 ms acts as 10 ms
    EXPECT_EQ(timerPeriodTicks(10), 1);
    EXPECT_EQ(timerPeriodTicks(15), 1);
    EXPECT_EQ(timerPeriodTicks(16), 2); // just past one clock period
    EXPECT_EQ(timerPeriodTicks(31), 2);
    EXPECT_EQ(timerPeriodTicks(32), 3);
    EXPECT_EQ(timerPeriodTicks(100), 7);
    EXPECT_EQ(timerPeriodTicks(0), 0);
    EXPECT_EQ(timerPeriodTicks(-5), 0);
    static_assert(timerPeriod(1) == 15'625'000ns);
    static_assert(timerPeriod(100) == 109'375'000ns);
}

TEST(TimerModel, FirstEventAndTheEventsAfterIt)
{
    TimerSchedule s;
    s.start(1, 1 * kMs); // 1 ms after a tick: due at the first tick ≥ 11 ms
    EXPECT_TRUE(s.running());
    EXPECT_EQ(s.nextDueNs(), kTick);
    EXPECT_FALSE(s.poll(kTick - 1));
    EXPECT_TRUE(s.poll(kTick));
    EXPECT_FALSE(s.poll(kTick)); // one event per tick
    EXPECT_EQ(s.nextDueNs(), 2 * kTick);

    s.start(15, 1 * kMs); // 16 ms later is past the first tick
    EXPECT_EQ(s.nextDueNs(), 2 * kTick);
    s.start(16, 0);
    EXPECT_EQ(s.nextDueNs(), 2 * kTick);

    s.stop();
    EXPECT_FALSE(s.poll(100 * kTick));
    s.start(0, 0);
    EXPECT_FALSE(s.running());
}

TEST(TimerModel, EventsPerSecond)
{
    for (const auto& [interval, expected] : {std::pair{1, 64}, {10, 64}, {16, 32}, {31, 32}, {100, 9}}) {
        TimerSchedule s;
        s.start(interval, 0);
        int events = 0;
        for (std::int64_t t = 0; t <= 1000 * kMs; t += kMs / 10) {
            events += s.poll(t) ? 1 : 0;
        }
        EXPECT_EQ(events, expected) << "interval " << interval;
    }
}

TEST(TimerModel, LateWakesNeitherDriftNorBurst)
{
    std::mt19937 rng(7);
    TimerSchedule s;
    s.start(31, 0); // every second tick, from tick 2
    const std::int64_t first = s.nextDueNs();
    std::int64_t now = 0;
    int events = 0;
    for (int i = 0; i < 500; ++i) {
        now = s.nextDueNs() + std::uniform_int_distribution<std::int64_t>(0, 3 * kMs)(rng);
        ASSERT_TRUE(s.poll(now));
        ++events;
    }
    EXPECT_EQ(s.nextDueNs(), first + events * 2 * kTick); // still on its own ticks

    // Busy for 100 ms: one event, then the next of the schedule, not a catch-up.
    const std::int64_t due = s.nextDueNs();
    ASSERT_TRUE(s.poll(due + 100 * kMs));
    EXPECT_FALSE(s.poll(due + 100 * kMs));
    EXPECT_EQ((s.nextDueNs() - due) % (2 * kTick), 0);
    EXPECT_GT(s.nextDueNs(), due + 100 * kMs);
    EXPECT_LE(s.nextDueNs(), due + 100 * kMs + 2 * kTick);
}
