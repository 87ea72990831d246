#pragma once

#include <vector>

#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace ostrovik::kit {

/// Keeps the user's input away from every window of the program that exists
/// when it is made, as an application-modal dialog would, until it is
/// destroyed. Unlike under a modal dialog, the held windows' close boxes go
/// on working. Windows made later (the dialog the program waits in, a
/// message box it opens) take input as usual.
class InputHold final : public QObject {
public:
    InputHold();
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool held(QObject* target) const;

    std::vector<QPointer<QWidget>> windows_;
};

} // namespace ostrovik::kit
