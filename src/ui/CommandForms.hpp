#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ostrovik::ui {

class MainWindow;

/// A window that a command of the main window opens. It is made on first
/// use by its factory and lives until the program ends; hiding never frees
/// it. A slot without a factory is a window the program does not have yet:
/// its commands do nothing.
class FormSlot {
public:
    using Factory = std::function<QWidget*(MainWindow&)>;

    void setFactory(Factory factory) { factory_ = std::move(factory); }

    /// The window, or nullptr while it has not been made.
    QWidget* form() const { return form_; }
    bool visible() const { return form_ && form_->isVisible(); }

    /// The window, made now when needed; nullptr without a factory.
    QWidget* ensure(MainWindow& main)
    {
        if (!form_ && factory_)
            form_ = factory_(main);
        return form_;
    }

    /// Makes the window when needed and brings it to the front, not modal.
    void show(MainWindow& main)
    {
        if (QWidget* w = ensure(main)) {
            w->show();
            w->raise();
            w->activateWindow();
        }
    }

    /// Makes the window when needed, then hides it when shown, shows it when not.
    void toggle(MainWindow& main)
    {
        QWidget* w = ensure(main);
        if (!w)
            return;
        if (w->isVisible())
            w->hide();
        else
            show(main);
    }

    void hide()
    {
        if (form_)
            form_->hide();
    }

private:
    Factory factory_;
    QPointer<QWidget> form_;
};

/// The windows the main window's commands open, by their form variables.
struct CommandForms {
    FormSlot settings;
    FormSlot memoryDebugger;
    FormSlot screenSize;
    FormSlot fontEditor;
    FormSlot assemblerWorkbench;
    FormSlot pictureConverter;
    FormSlot gameDownloader;
    FormSlot gameLibrary;
    FormSlot keyboard;
    FormSlot networkLink;
    FormSlot soundView;
    FormSlot stepDebugger;
};

/// Gives each of @p main's command forms the factory that makes it.
void installCommandForms(MainWindow& main);

} // namespace ostrovik::ui
