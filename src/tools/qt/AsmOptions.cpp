#include "tools/qt/AsmOptions.hpp"

#include "kit/Settings.hpp"

namespace ostrovik::tools {

namespace {
constexpr std::string_view kSection = "AssemblerOptions";
}

AsmOptions loadAsmOptions(const QString& programDir)
{
    AsmOptions o;
    o.assemblerPath = kit::readIni(kSection, "AssPath");
    o.lvtPath = kit::readIni(kSection, "LVTPath");
    if (o.assemblerPath == QLatin1String("0")) {
        o.assemblerPath.clear();
        kit::writeIni(kSection, "AssPath", o.assemblerPath);
    }
    if (o.lvtPath == QLatin1String("0") || o.lvtPath.isEmpty()) {
        o.lvtPath = programDir + QStringLiteral("Assembler");
        kit::writeIni(kSection, "LVTPath", o.lvtPath);
    }
    return o;
}

QString normalisedLvtPath(const QString& typed)
{
    return typed.endsWith(QLatin1Char('/')) ? typed.left(typed.size() - 1) : typed;
}

} // namespace ostrovik::tools
