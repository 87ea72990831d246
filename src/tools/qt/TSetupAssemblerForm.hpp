#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace ostrovik::tools {

class TAssemblerForm;

/// The workbench's settings: the output folder of the build and the path of
/// another compiler, edited here and kept in config.ini.
class TSetupAssemblerForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 516;
    static constexpr int kClientHeight = 287;

    explicit TSetupAssemblerForm(TAssemblerForm& workbench);

    /// Shows the window, not modally, with what config.ini holds now.
    void ShowFromWorkbench();

    /// OK: the output folder without one trailing "/", both stored, the
    /// workbench's output folder set, the window hidden.
    void Button1Click();
    /// "...": a folder picked from the top of the file system into Edit2.
    void Button2Click();
    /// Cancel: the fields back from config.ini, the window hidden.
    void Button3Click();

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;

private:
    void fillFromIni();

    TAssemblerForm& workbench_;
};

} // namespace ostrovik::tools
