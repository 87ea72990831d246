#pragma once

#include <memory>

#include <QStringList>

namespace ostrovik::ui {

class MainWindow;
class SettingsForm;
class SingleCopyServer;

/// The windows that live from start to exit, created in this order.
struct ApplicationWindows {
    std::unique_ptr<MainWindow> mainWindow;
    SettingsForm* settings = nullptr; ///< owned by the main window
};

/// Creates the main window (its creation handler runs now), the memory
/// debugger, then the settings window. @p args are the program's arguments without its name.
ApplicationWindows createApplicationWindows(const QStringList& args);

/// Lets @p server hand its names to @p main: accepted once the machine is
/// on, held while the machine waits inside a run for its user.
void attachSingleCopy(MainWindow& main, SingleCopyServer& server);

/// The program: the single-copy check, then the windows and the message
/// loop. Returns the process's exit code.
int runApplication(int argc, char** argv);

} // namespace ostrovik::ui
