#include "ui/MainWindowHost.hpp"

#include "platform/qt/FileNames.hpp"
#include "ui/MainWindow.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::Language;
using kit::applyCaptionSet;

void MainWindowHost::setOptionChecked(machine::Option which, bool checked)
{
    main_.settingsStore().setChecked(which, checked);
}

void MainWindowHost::rememberFile(const std::string& path)
{
    main_.recentFilesMenu().add(platform::fileNameText(path));
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
