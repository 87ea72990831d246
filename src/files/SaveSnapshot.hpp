#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace ostrovik::machine {
class Machine;
}

namespace ostrovik::files {

/// The base of a snapshot's name: the file-name part of the open dialog's file
/// name without its last four characters (an extension such as ".lvt"); empty
/// when that name has four characters or fewer. Characters, not bytes: names
/// are UTF-8.
std::string snapshotBaseName(std::string_view openDialogFileName);

/// <programDir>/FilesSAV/<base>_<stamp>.sav, or .../Save_<stamp>.sav when the
/// base is empty.
std::filesystem::path snapshotPath(const std::string& programDir, std::string_view openDialogFileName,
                                   std::string_view stamp);

/// Writes the whole machine state as a new snapshot in FilesSAV beside the
/// executable (the machine's ProgramDir), named after the open dialog's file
/// and stamped with the local time. The machine is paused while it is written
/// and runs again afterwards, whatever it did before, also when saving fails.
/// An existing file is never replaced: a second save within the same second
/// gets "_2" (then "_3" …) before ".sav". Returns the path written; throws
/// std::runtime_error (path and the system's reason) when the file cannot be
/// created or written, and leaves no partial file behind.
std::string saveSnapshot(machine::Machine& m, std::string_view openDialogFileName,
                         const std::function<std::string()>& stamp);
std::string saveSnapshot(machine::Machine& m, std::string_view openDialogFileName);

} // namespace ostrovik::files
