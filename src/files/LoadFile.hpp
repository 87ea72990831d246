#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrovik::machine {
class Machine;
class Host;
}

namespace ostrovik::files {

/// Shown for a missing file, a folder, or a file too short to hold anything.
inline constexpr std::string_view kMsgTooSmall = "File is very small or not found !!!";

/// Size in bytes of the named file; -1 when there is no such file, or the
/// name is a folder or anything else that is not a plain file.
std::int64_t fileSizeByName(const std::string& fileName);

/// Loads a tape image or a snapshot into @p machine, by its content whatever
/// its extension: a machine-code image is stored through the memory map (and
/// started at its run address when @p autoStart), a BASIC image is put where
/// the machine's BASIC expects it and may be RUN, a snapshot replaces the
/// whole machine state. A file too small, missing, or longer than the tape
/// buffer is refused with a message box; an unknown header is ignored.
/// Returns whether the file went into the machine (false when refused or
/// ignored). Never touches the caption, the pause flag or the recent-files list.
/// Throws std::runtime_error (file and reason) when the file cannot be
/// opened or read; the machine is then left as it was.
bool newLoadFile(machine::Machine& machine, const std::string& fileName, bool autoStart);

/// Types RUN and Enter into the key matrix with CPU runs between the strokes
/// (960,000 T-states in all), as a BASIC load does when asked to.
void autoRunBasic(machine::Machine& machine);

} // namespace ostrovik::files
