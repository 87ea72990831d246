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

std::filesystem::path configFilePath()
{
    if (!overridePath().empty())
        return overridePath();
    return std::filesystem::path(platform::executableFolder()) / "config.ini";
}

void setConfigFilePath(const std::filesystem::path& path)
{
    overridePath() = path;
}

QString readIni(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    return QString::fromStdString(settings::readIni(configFilePath(), section, key, defaultValue));
}

QString readOption(machine::Option which)
{
    return QString::fromStdString(settings::readOption(configFilePath(), which));
}

QString readIniAtStartup(std::string_view section, std::string_view key)
{
    return readIni(section, key);
}

bool writeIni(std::string_view section, std::string_view key, const QString& value, QWidget* parent)
{
    const platform::IniStatus status =
        settings::writeIni(configFilePath(), section, key, value.toUtf8().toStdString());
    if (status)
        return true;
    reportUnableToWrite(parent, status.message);
    return false;
}

void reportUnableToWrite(QWidget* parent, const std::string& reason)
{
    QString text = QStringLiteral("Unable to write to %1").arg(platform::fileNameText(configFilePath().string()));
    if (!reason.empty())
        text += QLatin1Char('\n') + QString::fromLocal8Bit(reason);
    dialogs().error(parent, text);
}

} // namespace ostrovik::kit
