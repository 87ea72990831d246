#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace ostrovik::output {

/// The window-size dialog: two number boxes and OK, which gives the main
/// window its new client size.
class TSetupScreenSizeForm : public QDialog {
    Q_OBJECT
public:
    /// Sets the main window's client area to @p ClientWidth × @p ClientHeight.
    using SetClientSize = std::function<void(int ClientWidth, int ClientHeight)>;

    explicit TSetupScreenSizeForm(SetClientSize setClientSize, QWidget* parent = nullptr);

    void Button1Click();

    QLabel* Label1;
    QLabel* Label2;
    QSpinBox* SpinEdit1;
    QSpinBox* SpinEdit2;
    QPushButton* Button1;

private:
    SetClientSize setClientSize_;
};

} // namespace ostrovik::output
