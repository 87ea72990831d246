#include "ui/ProgramEntry.hpp"

#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include <QApplication>

#include "platform/qt/FileNames.hpp"
#include "platform/ThreadLocale.hpp"
#include "ui/JoystickKeyDialog.hpp"
#include "ui/MainWindow.hpp"
#include "ui/SettingsForm.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"
#include "ui/SingleCopy.hpp"

namespace ostrovik::ui {

using kit::readIniAtStartup;

namespace {

/// The name the running copy is handed: it runs in a working folder of its
/// own, so a name relative to this start's folder is made absolute here,
/// byte for byte.
QByteArray absoluteFileName(const QByteArray& name)
{
    if (name.isEmpty() || name.startsWith('/'))
        return name;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(name.toStdString()), ec);
    return ec ? name : QByteArray::fromStdString(full.string());
}

} // namespace

ApplicationWindows createApplicationWindows(const QStringList& args)
{
    ApplicationWindows windows;
    windows.mainWindow = std::make_unique<MainWindow>(args);
    // The memory debugger comes second, before the settings window.
    windows.mainWindow->forms().memoryDebugger.ensure(*windows.mainWindow);
    windows.settings = new SettingsForm(windows.mainWindow->settingsStore(), windows.mainWindow.get());
    windows.mainWindow->setSettingsForm(windows.settings);
    windows.settings->setJoystickKeyDialog(new JoystickKeyDialog(*windows.settings, windows.mainWindow->settingsStore()));
    return windows;
}

void attachSingleCopy(MainWindow& main, SingleCopyServer& server)
{
    server.setHandler([&main](const QByteArray& name) { return main.openHandedOverFile(name); });
    // A file handed over before the machine is on would be lost to the power-on.
    QObject::connect(&main, &MainWindow::firstActivated, &server, [&server] { server.setAccepting(true); });
    // Loaded in the middle of the machine's tape-load dialog, a file would be
    // undone by the run's return: it waits, and so does its sender.
    QObject::connect(&main, &MainWindow::machineWaitChanged, &server,
                     [&server](bool waiting) { server.setHeld(waiting); });
}

int runApplication(int argc, char** argv)
{
    // The arguments are the user's files, byte for byte: taken before Qt
    // sees the command line, and Qt is shown only the program's name, so
    // that a file called "-reverse" or "-style" is loaded, not obeyed.
    std::vector<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    std::optional<QByteArray> firstArgument;
    if (!arguments.empty())
        firstArgument = arguments.front();

    // Every Qt service needs the application object; it shows nothing.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);

    std::unique_ptr<SingleCopyServer> singleCopy;
    if (readIniAtStartup(settings::kAutoStartUpOptions, settings::kOneInstance) == QLatin1String("1")) {
        const QString name = singleCopyServerName(executableFileName());
        std::optional<QByteArray> handed;
        if (firstArgument)
            handed = absoluteFileName(*firstArgument);
        switch (handOverToRunningCopy(name, handed)) {
        case HandOver::Sent:
        case HandOver::NothingToSend:
            return 0;
        case HandOver::NoAnswer:
            std::cerr << executableFileName().toStdString() << ": the running copy did not take the file within "
                      << kHandOverTimeoutMs / 1000 << " seconds; it may not load it\n";
            return 1;
        case HandOver::NotLoaded:
            std::cerr << executableFileName().toStdString() << ": the running copy could not load the file\n";
            return 1;
        case HandOver::Refused:
            std::cerr << executableFileName().toStdString()
                      << ": the running copy is closing or has too many files waiting; it did not load the file\n";
            return 1;
        case HandOver::Lost:
            std::cerr << executableFileName().toStdString()
                      << ": the running copy went away before it told whether it loaded the file\n";
            return 1;
        case HandOver::NoCopyRunning:
            break;
        }
        if (name.isEmpty()) {
            std::cerr << executableFileName().toStdString()
                      << ": no folder of this user's own for the single-copy socket; running as a copy of its own\n";
        } else {
            singleCopy = std::make_unique<SingleCopyServer>();
            // A copy that cannot take the name runs all the same.
            singleCopy->listen(name);
        }
    }

    platform::setThreadLocale(platform::kLocaleRussian);
    // The program's name for the desktop (the window class the task bar
    // groups by). Not the display name: Qt would append that to every
    // window caption, and the main window's caption is the machine's own.
    QApplication::setApplicationName(QStringLiteral("ПК RAZAV"));

    QStringList args;
    for (const QByteArray& argument : arguments)
        args.append(platform::fileNameText(argument));
    ApplicationWindows windows = createApplicationWindows(args);
    MainWindow* main = windows.mainWindow.get();
    if (singleCopy) {
        attachSingleCopy(*main, *singleCopy);
        // From the end of the message loop on, what comes is not loaded.
        QObject::connect(&app, &QCoreApplication::aboutToQuit, singleCopy.get(),
                         [server = singleCopy.get()] { server->close(); });
    }

    main->show();
    const int result = QApplication::exec();
    // The stop sequence may show a message box: a name handed over meanwhile
    // is answered as not loaded, never taken and lost.
    if (singleCopy)
        singleCopy->close();
    windows.mainWindow.reset();
    return result;
}

} // namespace ostrovik::ui
