#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace ostrovik::tools {

class AssemblerWorkbench;

/// The workbench's settings: the output folder of the build and the path of
/// another compiler, edited here and kept in config.ini.
class AssemblerSettingsForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 516;
    static constexpr int kClientHeight = 287;

    explicit AssemblerSettingsForm(AssemblerWorkbench& workbench);

    /// Shows the window, not modally, with what config.ini holds now.
    void showFromWorkbench();

    /// OK: the output folder without one trailing "/", both stored, the
    /// workbench's output folder set, the window hidden.
    void accept();
    /// "...": a folder picked from the top of the file system into outputEdit.
    void browseOutputFolder();
    /// Cancel: the fields back from config.ini, the window hidden.
    void cancel();

    QTabWidget* pages = nullptr;
    QWidget* pathTab = nullptr;
    QWidget* highlightingTab = nullptr;
    QLabel* compilerLabel = nullptr;
    QLineEdit* compilerEdit = nullptr;
    QLabel* outputLabel = nullptr;
    QLineEdit* outputEdit = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void fillFromSettings();

    AssemblerWorkbench& workbench_;
};

} // namespace ostrovik::tools
