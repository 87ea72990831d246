#include "kit/Settings.hpp"
#include "platform/qt/FileNames.hpp"

#include <QCoreApplication>
#include <QFile>

#include "settings/SettingsFile.hpp"
#include "kit/Dialogs.hpp"

namespace ostrovik::kit {

namespace {

std::filesystem::path& overridePath()
{
    static std::filesystem::path path;
    return path;
}

} // namespace

std::filesystem::path ConfigFilePath()
{
    if (!overridePath().empty())
        return overridePath();
    return std::filesystem::path(platform::ExecutableFolder()) / "config.ini";
}

void SetConfigFilePath(const std::filesystem::path& path)
{
    overridePath() = path;
}

QString ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    return QString::fromStdString(settings::ReadIni(ConfigFilePath(), section, key, defaultValue));
}

QString ReadOption(machine::Option which)
{
    return QString::fromStdString(settings::ReadOption(ConfigFilePath(), which));
}

QString ReadIniAtStartup(std::string_view section, std::string_view key)
{
    return ReadIni(section, key);
}

bool WriteIni(std::string_view section, std::string_view key, const QString& value, QWidget* parent)
{
    const platform::IniStatus status =
        settings::WriteIni(ConfigFilePath(), section, key, value.toUtf8().toStdString());
    if (status)
        return true;
    ReportUnableToWrite(parent, status.message);
    return false;
}

void ReportUnableToWrite(QWidget* parent, const std::string& reason)
{
    QString text = QStringLiteral("Unable to write to %1").arg(platform::FileNameText(ConfigFilePath().string()));
    if (!reason.empty())
        text += QLatin1Char('\n') + QString::fromLocal8Bit(reason);
    dialogs().error(parent, text);
}

} // namespace ostrovik::kit
