#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/Settings.hpp"

/// Keeps config.ini in a folder of its own for the test's lifetime, so that
/// windows neither read nor leave settings beside the executable. reset()
/// makes the next window a first start.
class FreshConfig {
public:
    FreshConfig() { ostrovik::ui::SetConfigFilePath(QFile::encodeName(path()).toStdString()); }
    ~FreshConfig() { ostrovik::ui::SetConfigFilePath({}); }
    FreshConfig(const FreshConfig&) = delete;
    FreshConfig& operator=(const FreshConfig&) = delete;

    QString path() const { return dir_.filePath(QStringLiteral("config.ini")); }
    void reset() { QFile::remove(path()); }

private:
    QTemporaryDir dir_;
};
