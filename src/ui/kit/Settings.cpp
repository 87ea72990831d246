#include "ui/kit/Settings.hpp"
#include "platform/qt/FileNames.hpp"

#include <QCoreApplication>
#include <QFile>

#include "platform/Cp1251.hpp"
#include "platform/IniFile.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/SettingsSchema.hpp"

namespace ostrovik::ui {

namespace {

std::filesystem::path& overridePath()
{
    static std::filesystem::path path;
    return path;
}

std::string toFile(std::string_view utf8)
{
    return platform::Utf8ToCp1251(utf8);
}

std::string toFile(const QString& text)
{
    return platform::Utf8ToCp1251(text.toUtf8().toStdString());
}

QString fromFile(const std::string& bytes)
{
    return QString::fromStdString(platform::Cp1251ToUtf8(bytes));
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

bool ConfigFileExists()
{
    std::error_code ec;
    return std::filesystem::exists(ConfigFilePath(), ec);
}

QString ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    return fromFile(platform::ReadIni(ConfigFilePath(), toFile(section), toFile(key), toFile(defaultValue)));
}

QString ReadOption(machine::Option which)
{
    return ReadIni(settings::optionSection(which), settings::optionKey(which), settings::firstRunValue(which));
}

QString ReadIniAtStartup(std::string_view section, std::string_view key)
{
    return ReadIni(section, key);
}

bool WriteIni(std::string_view section, std::string_view key, const QString& value, QWidget* parent)
{
    const platform::IniStatus status =
        platform::WriteIni(ConfigFilePath(), toFile(section), toFile(key), toFile(value));
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

} // namespace ostrovik::ui
