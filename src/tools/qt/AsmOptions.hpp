#pragma once

#include <QString>

namespace ostrovik::tools {

/// The workbench's two folder settings (section AssemblerOptions).
struct AsmOptions {
    QString assemblerPath;
    QString lvtPath;
};

/// Reads both settings as the workbench does when it is made: a missing
/// assemblerPath becomes empty, a missing or empty lvtPath becomes @p programDir
/// (ending in "/") + "Assembler", and what had to be defaulted is written
/// back. Any other value is taken as it stands.
AsmOptions loadAsmOptions(const QString& programDir);

/// The output folder as OK stores it: one trailing "/" (and one only) removed.
QString normalisedLvtPath(const QString& typed);

} // namespace ostrovik::tools
