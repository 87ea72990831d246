#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ui/Dialogs.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"
#include "ui/Settings.hpp"

namespace ostrovik::fileroads::test {

/// Answers every modal step of the windows and remembers what was shown.
class ScriptedDialogs final : public ui::Dialogs {
public:
    QStringList messages;
    QStringList errors;
    /// What the next open-file dialog answers; nothing = cancelled.
    std::optional<QString> openAnswer;

    void message(QWidget*, const QString&, const QString& text) override { messages << text; }
    void error(QWidget*, const QString& text) override { errors << text; }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return openAnswer;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

/// A main window with its settings window, never shown; its program folder
/// and settings file in a fresh temporary folder, its dialogs scripted.
struct WindowRig {
    WindowRig()
    {
        ui::SetConfigFilePath(QFile::encodeName(path(QStringLiteral("config.ini"))).toStdString());
        ui::setDialogs(&dialogs);
        window = std::make_unique<ui::TMainFormEmu>(QStringList{});
        window->setSetUpForm(new ui::TSetUpForm(window.get()));
        window->machine().ProgramDir = QFile::encodeName(dir.path()).toStdString();
    }
    ~WindowRig()
    {
        window.reset();
        ui::setDialogs(nullptr);
        ui::SetConfigFilePath({});
    }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    machine::Machine& m() { return window->machine(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString makeFolder(const QString& name) const
    {
        QDir(dir.path()).mkpath(name);
        return path(name);
    }
    QString writeFile(const QString& name, std::span<const std::uint8_t> bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        return f.fileName();
    }
    /// The files of folder @p name, by name.
    QFileInfoList filesIn(const QString& name) const
    {
        return QDir(path(name)).entryInfoList(QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<ui::TMainFormEmu> window;
};

inline std::vector<std::uint8_t> readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return {bytes.begin(), bytes.end()};
}

} // namespace ostrovik::fileroads::test
