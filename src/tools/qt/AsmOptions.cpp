#include "tools/qt/AsmOptions.hpp"

#include "ui/kit/Settings.hpp"

namespace ostrovik::tools {

namespace {
constexpr std::string_view kSection = "AssemblerOptions";
}

AsmOptions LoadAsmOptions(const QString& programDir)
{
    AsmOptions o;
    o.AssPath = ui::ReadIni(kSection, "AssPath");
    o.LVTPath = ui::ReadIni(kSection, "LVTPath");
    if (o.AssPath == QLatin1String("0")) {
        o.AssPath.clear();
        ui::WriteIni(kSection, "AssPath", o.AssPath);
    }
    if (o.LVTPath == QLatin1String("0") || o.LVTPath.isEmpty()) {
        o.LVTPath = programDir + QStringLiteral("Assembler");
        ui::WriteIni(kSection, "LVTPath", o.LVTPath);
    }
    return o;
}

QString NormalisedLvtPath(const QString& typed)
{
    return typed.endsWith(QLatin1Char('/')) ? typed.left(typed.size() - 1) : typed;
}

} // namespace ostrovik::tools
