#include "ui/MainWindowHost.hpp"

#include "platform/qt/FileNames.hpp"
#include "ui/MainWindow.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::Language;
using kit::applyCaptionSet;

void MainWindowHost::tapMatrixKey(machine::KeyMask key)
{
    main_.session().tapMatrixKey(key);
}

machine::Machine& MainWindowHost::machine()
{
    return main_.machine();
}

void MainWindowHost::setOptionChecked(machine::Option which, bool checked)
{
    main_.settingsStore().setChecked(which, checked);
}

void MainWindowHost::reset()
{
    main_.machine().coldReset();
}

void MainWindowHost::setPaused(bool paused)
{
    main_.machine().paused = paused ? 1 : 0;
}

void MainWindowHost::rememberFile(const std::string& path)
{
    main_.recentFilesMenu().add(platform::FileNameText(path));
    main_.setCurrentFileName(path);
}

void MainWindowHost::focusMainWindow()
{
    main_.raise();
    main_.activateWindow();
    main_.setFocus();
}

void MainWindowHost::runGuarded(const std::function<void()>& handler)
{
    main_.guarded(handler);
}

QWidget& MainWindowHost::mainWindow()
{
    return main_;
}

Language MainWindowHost::language() const
{
    return main_.russianCaptions() ? Language::Russian : Language::English;
}

void MainWindowHost::adoptCaptions(QWidget& window, CaptionWindow set)
{
    applyCaptionSet(window, set, language());
    if (set != CaptionWindow::MainWindow)
        main_.captionFollowers().follow(window, set);
}

} // namespace ostrovik::ui
