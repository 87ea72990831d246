#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace ostrovik::ui {

/// What the machine's programs print through the firmware's console routine.
/// The window only shows text; the CPU's console tap fills it while it is
/// visible and a cold reset empties it.
class LogWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogWindow(QWidget* mainWindow);

    QPlainTextEdit* logTextView = nullptr;
};

} // namespace ostrovik::ui
