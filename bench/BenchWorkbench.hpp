#pragma once

#include <memory>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tools/qt/AssemblerWorkbench.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"
#include "ui/SettingsForm.hpp"
#include "kit/Settings.hpp"

namespace ostrovik::bench {

/// The main window in a program folder of its own (the ROM image beside it,
/// its own settings, a work folder for the assembler) with the workbench
/// opened from its menu.
struct Workbench {
    QTemporaryDir dir;
    std::unique_ptr<ui::MainWindow> main;
    tools::AssemblerWorkbench* form = nullptr;

    Workbench()
    {
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/bios.dat"), dir.filePath("bios.dat"));
        QDir(dir.path()).mkpath(QStringLiteral("Assembler"));
        kit::setConfigFilePath(QFile::encodeName(dir.filePath("config.ini")).toStdString());
        main = std::make_unique<ui::MainWindow>(QStringList{});
        main->setSettingsForm(new ui::SettingsForm(main->settingsStore(), main.get()));
        main->machine().programDir = QFile::encodeName(dir.path()).toStdString();
    }

    /// Opens the workbench; false when it did not open.
    bool open()
    {
        main->menus().item(ui::menu::AssemblerWorkbench)->trigger();
        form = qobject_cast<tools::AssemblerWorkbench*>(main->forms().assemblerWorkbench.form());
        return form != nullptr;
    }
};

} // namespace ostrovik::bench
