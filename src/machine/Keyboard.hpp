#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "machine/KeyMask.hpp"

namespace ostrovik::machine {

class Machine;

/// Names of the PC keyboard layouts, as eight hex digits.
inline constexpr std::string_view kLayoutRussian = "00000419";
inline constexpr std::string_view kLayoutLatin = "00000409";

/// The PC's active input layout, which the Ctrl keys switch.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    /// Name of the active layout ("00000409", "00000419", ...).
    virtual std::string activeLayoutName() const = 0;
    /// Makes @p name the active layout.
    virtual void activateLayout(std::string_view name) = 0;
};

/// Key-down message parameter bits of the two Ctrl keys: scan code 0x1D in
/// bits 16-23, the extended-key bit 24 set for the right one.
inline constexpr std::uint32_t kLeftCtrlKeyFlags = 0x001D0001;
inline constexpr std::uint32_t kRightCtrlKeyFlags = 0x011D0001;

/// The main window's key handling: turns key events into presses of the
/// machine's keys and the CPU runs that let the machine's program see them.
/// The window forwards its events here.
///
/// setKey() and run() are the only ways the handlers (and the paste) touch the
/// keys and the CPU, so a test can watch the sequence by overriding them.
class Keyboard {
public:
    explicit Keyboard(Machine& machine) : machine_(machine) {}
    virtual ~Keyboard() = default;
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    /// Key-down event (auto-repeats too). @p layoutName is the active PC
    /// layout. Ignored while the machine is paused; otherwise presses the key
    /// and runs the CPU one budget at once, even for a key with no DU-01 key.
    void pressKey(std::uint16_t key, std::string_view layoutName);
    /// Key-up event: releases the key under the table of the last press, also
    /// while paused.
    void releaseKey(std::uint16_t key);
    /// The key-down message, seen before pressKey, paused or not. A Ctrl
    /// key (scan code 0x1D in bits 16-23 of @p keyFlags) switches the PC layout
    /// and taps the machine's alphabet key: left Ctrl Russian, right Ctrl
    /// (bit 24 set) Latin.
    void switchLayoutByCtrl(std::uint32_t keyFlags, KeyboardLayout& layout);

    /// A whole key-down: the message, then the event under the layout it left.
    void keyDown(std::uint16_t key, std::uint32_t keyFlags, KeyboardLayout& layout);

    /// Presses (@p down) or releases a key of the machine.
    virtual void setKey(KeyMask code, bool down);
    /// Runs the CPU for @p budget T-states.
    virtual void run(std::int32_t budget);

    Machine& machine() { return machine_; }

private:
    Machine& machine_;
};

} // namespace ostrovik::machine
