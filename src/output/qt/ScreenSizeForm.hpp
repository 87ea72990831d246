#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace ostrovik::output {

/// The window-size dialog: two number boxes and OK, which gives the main
/// window its new client size.
class ScreenSizeForm : public QDialog {
    Q_OBJECT
public:
    /// Sets the main window's client area to @p ClientWidth × @p ClientHeight.
    using SetClientSize = std::function<void(int ClientWidth, int ClientHeight)>;

    explicit ScreenSizeForm(SetClientSize setClientSize, QWidget* parent = nullptr);

    void apply();

    QLabel* widthLabel;
    QLabel* heightLabel;
    QSpinBox* heightBox;
    QSpinBox* widthBox;
    QPushButton* okButton;

private:
    SetClientSize setClientSize_;
};

} // namespace ostrovik::output
