#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "debugger/qt/HexDumpGrid.hpp"
#include "debugger/qt/ListingGrid.hpp"
#include "debugger/qt/StepDebuggerForm.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "support/MainWindowRig.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"

namespace ostrovik::test {

/// The main window on the test ROM, powered on, with its debuggers reached
/// through its own commands.
class DebuggerRig : public MainWindowRig {
public:
    ui::MainWindow& main() { return *window; }
    void command(ui::MenuItem which) { window->menus().item(which)->trigger(); }

    /// The memory debugger, opened by its command.
    debugger::MemoryDebuggerForm& openMemoryDebugger()
    {
        if (!memoryDebugger() || !memoryDebugger()->isVisible())
            command(ui::menu::MemoryDebugger);
        return *memoryDebugger();
    }
    debugger::MemoryDebuggerForm* memoryDebugger()
    {
        return qobject_cast<debugger::MemoryDebuggerForm*>(window->forms().memoryDebugger.form());
    }
    debugger::StepDebuggerForm* stepDebugger()
    {
        return qobject_cast<debugger::StepDebuggerForm*>(window->forms().stepDebugger.form());
    }

    template <typename W>
    static W* child(QWidget& form, const char* name)
    {
        return form.findChild<W*>(QString::fromLatin1(name));
    }
    static QString text(QWidget& form, const char* name) { return child<QLineEdit>(form, name)->text(); }
    /// Empties the field @p name and types @p keys into it.
    static void type(QWidget& form, const char* name, const QString& keys)
    {
        QLineEdit* edit = child<QLineEdit>(form, name);
        edit->clear();
        QTest::keyClicks(edit, keys);
    }
    static void click(QWidget& form, const char* name)
    {
        QTest::mouseClick(child<QPushButton>(form, name), Qt::LeftButton);
    }
    static QStringList lines(QWidget& form, const char* name)
    {
        QStringList out;
        QListWidget* list = child<QListWidget>(form, name);
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }
};

} // namespace ostrovik::test
