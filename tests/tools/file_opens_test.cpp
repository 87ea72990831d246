// Every file a tool window opens on the user's word, with a FIFO under the
// name (or swapped in as the file opens): each is refused with a box that
// names it, and none waits for someone to open the FIFO's other end.

#include <QAction>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "debugger/qt/MemoryDebuggerForm.hpp"
#include "platform/FileFaults.hpp"
#include "support/FifoOtherEnd.hpp"
#include "support/MainWindowRig.hpp"
#include "tools/qt/AssemblerWorkbench.hpp"
#include "tools/qt/FontEditorForm.hpp"
#include "tools/qt/PictureConverterForm.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"

using namespace ostrovik;
using test::MainWindowRig;
using test::OtherEnd;
using test::Way;

namespace {

template <typename T>
T* child(QWidget* form, const char* name)
{
    return form ? form->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

tools::AssemblerWorkbench* workbench(MainWindowRig& rig)
{
    QDir().mkpath(rig.path(QStringLiteral("Assembler")));
    rig.window->menus().item(ui::menu::AssemblerWorkbench)->trigger();
    return qobject_cast<tools::AssemblerWorkbench*>(rig.window->forms().assemblerWorkbench.form());
}

QWidget* fontEditor(MainWindowRig& rig)
{
    rig.window->menus().item(ui::menu::FontEditor)->trigger();
    return rig.window->forms().fontEditor.form();
}

QWidget* pictureConverter(MainWindowRig& rig)
{
    rig.window->menus().item(ui::menu::PictureConverter)->trigger();
    return rig.window->forms().pictureConverter.form();
}

QWidget* memoryDebugger(MainWindowRig& rig)
{
    rig.window->menus().item(ui::menu::MemoryDebugger)->trigger();
    return rig.window->forms().memoryDebugger.form();
}

void clickIn(QWidget* form, const char* button)
{
    if (QPushButton* b = child<QPushButton>(form, button))
        b->click();
}

} // namespace

class FileOpensTest : public QObject {
    Q_OBJECT
private slots:
    void noOpenWaitsOnAFifo();
};

void FileOpensTest::noOpenWaitsOnAFifo()
{
    struct Open {
        const char* what;
        Way way;
        const char* name;  // in the program folder: where the FIFO stands, or the name it is swapped in under
        bool swapped;      // the name holds a regular file until the open
        std::function<void(MainWindowRig&)> command;
    };
    const Open opens[] = {
        {"workbench Open", Way::Read, "Assembler/prog.asm", false,
         [](MainWindowRig& rig) { workbench(rig)->openButton->trigger(); }},
        {"workbench Save", Way::Write, "Assembler/prog.asm", false,
         [](MainWindowRig& rig) { workbench(rig)->saveButton->trigger(); }},
        {"workbench build's listing", Way::Read, "Assembler/temp.lst", true,
         [](MainWindowRig& rig) { workbench(rig)->compileButton->trigger(); }},
        {"picture converter Load", Way::Read, "picture.png", false,
         [](MainWindowRig& rig) { clickIn(pictureConverter(rig), "loadButton"); }},
        {"font editor Load", Way::Read, "FONTS/font.fnt", false,
         [](MainWindowRig& rig) { clickIn(fontEditor(rig), "loadButton"); }},
        {"font editor Save", Way::Write, "FONTS/font.fnt", false,
         [](MainWindowRig& rig) { clickIn(fontEditor(rig), "saveButton"); }},
        {"memory dump load", Way::Read, "memory.dat1", false,
         [](MainWindowRig& rig) { clickIn(memoryDebugger(rig), "loadDumpButton"); }},
        {"memory dump save", Way::Write, "memory.dat", false,
         [](MainWindowRig& rig) { clickIn(memoryDebugger(rig), "saveDumpButton"); }},
    };
    for (const Open& open : opens) {
        MainWindowRig rig;
        QVERIFY2(rig.powerOn(), open.what);
        rig.makeFolder(QStringLiteral("Assembler"));
        rig.makeFolder(QStringLiteral("FONTS"));
        const QString name = rig.path(QString::fromLatin1(open.name));
        const std::string path = QFile::encodeName(name).toStdString();
        const std::string fifo = open.swapped ? QFile::encodeName(rig.path(QStringLiteral("fifo"))).toStdString() : path;
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        // The swap: a link to the FIFO takes the name just before it opens.
        const std::string link = fifo + ".link";
        QCOMPARE(::symlink(fifo.c_str(), link.c_str()), 0);
        platform::ScopedOpenFault swap([&](const std::string& opened, bool forWriting) {
            if (open.swapped && opened == path && !forWriting)
                ::rename(link.c_str(), path.c_str());
            return 0;
        });
        rig.dialogs.answers = QStringList{name};

        OtherEnd otherEnd(fifo, open.way);
        open.command(rig);
        otherEnd.finish();

        const QStringList boxes = rig.dialogs.errors + rig.dialogs.messages;
        // A reader may hold the FIFO open for a moment to judge it; a writer
        // met at the other end waited there.
        QVERIFY2(open.way == Way::Read || !otherEnd.letTheCallerGo(), open.what);
        QVERIFY2(boxes.size() == 1 && boxes.first().contains(name),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(open.what), boxes.join(QLatin1Char('|')))));
        struct stat st {};
        QVERIFY2(::stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode), open.what);
    }
}

QTEST_MAIN(FileOpensTest)
#include "file_opens_test.moc"
