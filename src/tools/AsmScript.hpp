#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::tools {

/// @p text as one word of a POSIX shell line: in single quotes, each quote
/// inside written as '\''. Blanks, "$", backticks and line breaks then stay
/// plain characters of the word.
std::string shellQuote(std::string_view text);

/// The form of @p path the build script names. There are no short names
/// here, so it is the path itself, made absolute so that the script (which
/// runs in the work folder) and the workbench (which runs in its own) mean
/// the same file. A missing folder keeps its name, so that the moves into it
/// fail instead of landing in the top folder.
std::string scriptPath(const std::string& path);

/// The ten lines of asm.cmd, the build script, for the work folder
/// @p workFolder (ending in "/") and the output folder @p lvtFolder (without
/// a trailing "/"). Line by line it does what the workbench's batch file
/// always did: go to the work folder, assemble temp.asm with a listing,
/// move the listing and the image to the output folder, remove the work
/// files and itself. Every path is one quoted word.
std::vector<std::string> buildScriptLines(const std::string& workFolder, const std::string& lvtFolder);

} // namespace ostrovik::tools
