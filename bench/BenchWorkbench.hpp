#pragma once

#include <memory>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tools/qt/AssemblerWorkbench.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"
#include "ui/SetUpForm.hpp"
#include "ui/kit/Settings.hpp"

namespace ostrovik::bench {

/// The main window in a program folder of its own (the ROM image beside it,
/// its own settings, a work folder for the assembler) with the workbench
/// opened from its menu.
struct Workbench {
    QTemporaryDir dir;
    std::unique_ptr<ui::TMainFormEmu> main;
    tools::AssemblerWorkbench* form = nullptr;

    Workbench()
    {
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/bios.dat"), dir.filePath("bios.dat"));
        QDir(dir.path()).mkpath(QStringLiteral("Assembler"));
        ui::SetConfigFilePath(QFile::encodeName(dir.filePath("config.ini")).toStdString());
        main = std::make_unique<ui::TMainFormEmu>(QStringList{});
        main->setSetUpForm(new ui::TSetUpForm(main->settingsStore(), main.get()));
        main->machine().ProgramDir = QFile::encodeName(dir.path()).toStdString();
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
