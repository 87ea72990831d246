#include "tools/qt/AsmOptions.hpp"

#include "kit/Settings.hpp"

namespace ostrovik::tools {

namespace {
constexpr std::string_view kSection = "AssemblerOptions";
}

AsmOptions LoadAsmOptions(const QString& programDir)
{
    AsmOptions o;
    o.AssPath = kit::ReadIni(kSection, "AssPath");
    o.LVTPath = kit::ReadIni(kSection, "LVTPath");
    if (o.AssPath == QLatin1String("0")) {
        o.AssPath.clear();
        kit::WriteIni(kSection, "AssPath", o.AssPath);
    }
    if (o.LVTPath == QLatin1String("0") || o.LVTPath.isEmpty()) {
        o.LVTPath = programDir + QStringLiteral("Assembler");
        kit::WriteIni(kSection, "LVTPath", o.LVTPath);
    }
    return o;
}

QString NormalisedLvtPath(const QString& typed)
{
    return typed.endsWith(QLatin1Char('/')) ? typed.left(typed.size() - 1) : typed;
}

} // namespace ostrovik::tools
