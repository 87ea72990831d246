#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include "settings/SettingsStore.hpp"
#include "support/TestData.hpp"
#include "kit/Settings.hpp"

namespace ostrovik::test {

/// Keeps config.ini in a folder of its own for the test's lifetime, so that
/// windows neither read nor leave settings beside the executable, and tests
/// that run at once never share one. reset() makes the next window a first
/// start.
class FreshConfig {
public:
    FreshConfig() { kit::setConfigFilePath(QFile::encodeName(path()).toStdString()); }
    ~FreshConfig() { kit::setConfigFilePath({}); }
    FreshConfig(const FreshConfig&) = delete;
    FreshConfig& operator=(const FreshConfig&) = delete;

    QString folder() const { return dir_.path(); }
    QString path() const { return dir_.filePath(QStringLiteral("config.ini")); }
    void reset() const { QFile::remove(path()); }
    /// Points the settings at a file no write can make, for its folder is a
    /// plain file; returns that file's path.
    QString blockWrites() const
    {
        QFile blocker(dir_.filePath(QStringLiteral("file")));
        blocker.open(QIODevice::WriteOnly);
        const QString bad = dir_.filePath(QStringLiteral("file/config.ini"));
        kit::setConfigFilePath(QFile::encodeName(bad).toStdString());
        return bad;
    }
    bool exists() const { return QFile::exists(path()); }

    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    /// Writes @p text as the whole file; "\n" becomes CR LF.
    bool write(QByteArray text) const
    {
        text.replace("\n", "\r\n");
        QFile f(path());
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
    }

    /// The fixture of the first start's complete file.
    static QByteArray firstRunFile()
    {
        return QByteArray::fromStdString(testData("settings/first_run_config.ini"));
    }

    /// A store on the settings file, for a settings window made without a
    /// main window.
    settings::SettingsStore store{[] { return kit::configFilePath(); }};

private:
    QTemporaryDir dir_;
};

} // namespace ostrovik::test
