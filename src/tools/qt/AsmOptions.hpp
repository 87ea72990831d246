#pragma once

#include <QString>

namespace ostrovik::tools {

/// The workbench's two folder settings (section AssemblerOptions).
struct AsmOptions {
    QString AssPath;
    QString LVTPath;
};

/// Reads both settings as the workbench does when it is made: a missing
/// AssPath becomes empty, a missing or empty LVTPath becomes @p programDir
/// (ending in "/") + "Assembler", and what had to be defaulted is written
/// back. Any other value is taken as it stands.
AsmOptions LoadAsmOptions(const QString& programDir);

/// The output folder as OK stores it: one trailing "/" (and one only) removed.
QString NormalisedLvtPath(const QString& typed);

} // namespace ostrovik::tools
