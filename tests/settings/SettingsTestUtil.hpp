#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/Dialogs.hpp"
#include "ui/Settings.hpp"

namespace ostrovik::test {

/// A settings file of the test's own in a fresh folder, and every dialog
/// answered and recorded instead of shown.
class SettingsSandbox : public ui::Dialogs {
public:
    SettingsSandbox()
    {
        ui::SetConfigFilePath(QFile::encodeName(path()).toStdString());
        ui::setDialogs(this);
    }
    ~SettingsSandbox() override
    {
        ui::setDialogs(nullptr);
        ui::SetConfigFilePath({});
    }

    QString folder() const { return dir_.path(); }
    QString path() const { return dir_.filePath(QStringLiteral("config.ini")); }

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
    bool exists() const { return QFile::exists(path()); }
    void remove() const { QFile::remove(path()); }

    /// The fixture of the first start's complete file.
    static QByteArray firstRunFile()
    {
        QFile f(qEnvironmentVariable("OSTROVIK_TESTDATA") + QStringLiteral("/settings/first_run_config.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // ui::Dialogs: nothing is shown; every text is kept.
    void message(QWidget*, const QString&, const QString& text) override { messages << text; }
    void error(QWidget*, const QString& text) override { errors << text; }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

    QStringList messages;
    QStringList errors;

private:
    QTemporaryDir dir_;
};

} // namespace ostrovik::test
