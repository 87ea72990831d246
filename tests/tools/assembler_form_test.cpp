// The assembler workbench driven as a person would: opened from the main
// window's menu and tool bar, programs built and run in the machine on the
// test ROM, the settings window, completion and the close question.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

#include "support/TestData.hpp"
#include "support/MainWindowRig.hpp"
#include "tools/qt/AsmCompletion.hpp"
#include "tools/qt/AsmFindBar.hpp"
#include "tools/qt/AsmLexer.hpp"
#include "tools/AsmReference.hpp"
#include "tools/qt/AsmTabbedRows.hpp"
#include "tools/qt/AssemblerWorkbench.hpp"
#include "tools/qt/AssemblerSettingsForm.hpp"
#include "ui/MainMenu.hpp"
#include "ui/MenuItems.hpp"
#include "kit/Settings.hpp"

using ostrovik::test::MainWindowRig;
using ostrovik::tools::AsmCompletionPopup;
using ostrovik::tools::AsmEditor;
using ostrovik::tools::AssemblerWorkbench;

namespace {

QStringList dataLines(const QString& name)
{
    QStringList lines;
    for (const std::string& line : ostrovik::test::testDataLines(name.toStdString()))
        lines << QString::fromStdString(line);
    return lines;
}

QStringList lines(const AssemblerWorkbench& form)
{
    QStringList out;
    for (const std::string& l : form.sourceLines())
        out.append(QString::fromStdString(l));
    return out;
}

QStringList log(const AssemblerWorkbench& form)
{
    return form.buildLog->toPlainText().split(QLatin1Char('\n'));
}

QString assemblerOption(const char* key)
{
    return ostrovik::kit::readIni("AssemblerOptions", key, "(none)");
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// The main window on the test ROM with its workbench opened from the menu.
struct Bench {
    /// Opens the workbench with its work folder in place.
    AssemblerWorkbench* openInWorkFolder()
    {
        QDir().mkpath(workFolder());
        return open();
    }
    AssemblerWorkbench* open()
    {
        rig->window->menus().item(ostrovik::ui::menu::AssemblerWorkbench)->trigger();
        return form();
    }
    AssemblerWorkbench* form() const { return qobject_cast<AssemblerWorkbench*>(rig->window->forms().assemblerWorkbench.form()); }
    QString workFolder() const { return QString::fromStdString(rig->m().programDir) + QStringLiteral("/Assembler"); }
    std::unique_ptr<MainWindowRig> rig = std::make_unique<MainWindowRig>();
};

void typeInto(AssemblerWorkbench& form, const QString& text)
{
    form.editor->setFocus();
    QTest::keyClicks(form.editor, text);
}

} // namespace

class AssemblerFormTest : public QObject {
    Q_OBJECT
private slots:
    void opensFromMenuAndToolBarInBothLanguages();
    void compileAndRunCyclesThePalette();
    void errorsAreLoggedInPairs();
    void awkwardFoldersBuild();
    void settingsWindow();
    void completionInsertsTheTableText();
    void completionPopupShowsAndNarrows();
    void closeQuestion();
    void newProjectOpenAndSave();
    void sourcesOverTheLimitOrHoldingANulAreRefused();
    void referenceFromTheHelpFile();
    void findAndReplace();
};

void AssemblerFormTest::opensFromMenuAndToolBarInBothLanguages()
{
    for (const bool russian : {false, true}) {
        Bench b;
        if (russian)
            b.rig->window->switchToRussian();
        QDir().mkpath(b.workFolder());
        b.rig->window->menus().item(ostrovik::ui::menu::AssemblerButton)->trigger();
        AssemblerWorkbench* form = b.form();
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Assembler"));
        // A right click on the tool bar lists it under its own name.
        const std::unique_ptr<QMenu> barsMenu(form->createPopupMenu());
        QVERIFY(barsMenu);
        QCOMPARE(barsMenu->actions().value(0) ? barsMenu->actions().value(0)->text() : QString(), QStringLiteral("ToolBar1"));
        QCOMPARE(form->centralWidget()->width(), AssemblerWorkbench::kClientWidth);
        QVERIFY(form->editor->marginWidth(0) > 0);
        QCOMPARE(lines(*form), dataLines(QStringLiteral("asm_initial_text.asm")));
        QCOMPARE(form->sourceModified, 0);

        // The highlighter on the editor: its colours and a line's classes.
        using L = ostrovik::tools::AsmLexer;
        QCOMPARE(form->editor->lexer(), form->lexer);
        QCOMPARE(form->lexer->color(L::Comment), QColor(0x00, 0x80, 0x00));
        QCOMPARE(form->lexer->color(L::KeyWord), QColor(0x00, 0x00, 0x80));
        QVERIFY(form->lexer->font(L::Number).bold());
        QCOMPARE(form->lexer->paper(L::String), QColor(Qt::white));
        QByteArray classes = L::styleLine("L1:\tMVI A,0C1h \"x;\" ;c");
        for (char& c : classes)
            c = static_cast<char>('0' + c);
        // identifier, symbol, white space, key word, number, string, comment
        QCOMPARE(classes, QByteArray("2275333527444456666511"));

        // The built-in reference in both languages (there is no help file).
        QCOMPARE(form->referenceList->count(), 245);
        auto row = [form](int i) { return form->referenceList->item(i)->data(Qt::UserRole).toString(); };
        QCOMPARE(row(0), QStringLiteral("ADD A\tоперация\t A<(A) + (A)\t"));
        QCOMPARE(row(8), QStringLiteral("ADI d8\tоперация\t A<d8 + (A)\t"));
        QCOMPARE(row(27), QStringLiteral("CALL a16\tоперация\t Передать управление подпрограмме по адресу a16\t"));
        QCOMPARE(row(177), QStringLiteral("OUT Port\tоперация\t Записать A в порт Port например 0C1h\t"));
        QCOMPARE(row(202), QStringLiteral("RST 1\tоперация\t Запуск программы с адреса 8h\t"));
        QVERIFY(row(244).startsWith(QStringLiteral("XRI d8\t")));
        // Shown with its tabs, in columns: each field of every row starts
        // where the same field of the others does, past the widest before it.
        const QFont font = form->referenceList->font();
        const auto& columns = form->referenceColumns();
        const QList<qreal> starts = columns.fieldStarts(form->referenceList->item(0)->text(), font);
        QCOMPARE(starts.size(), 3);
        for (int i = 0; i < form->referenceList->count(); ++i) {
            const QString shown = form->referenceList->item(i)->text();
            QCOMPARE(columns.fieldStarts(shown, font), starts);
            QVERIFY(QFontMetricsF(font).horizontalAdvance(shown.section(QLatin1Char('\t'), 0, 0)) < starts[1]);
        }

        // First start: both settings written, the output folder the work folder.
        QCOMPARE(assemblerOption("AssPath"), QString());
        QCOMPARE(assemblerOption("LVTPath"), b.workFolder());
        QCOMPARE(form->lvtPath(), b.workFolder());

        // Closing hides it; the command shows the same window again.
        form->closeButton->trigger();
        QVERIFY(!form->isVisible());
        b.open();
        QCOMPARE(b.form(), form);
        QVERIFY(form->isVisible());
    }
}

void AssemblerFormTest::compileAndRunCyclesThePalette()
{
    Bench b;
    QVERIFY(b.rig->powerOn());
    AssemblerWorkbench* form = b.openInWorkFolder();
    ostrovik::ui::SettingsForm* setup = b.rig->window->settingsForm();
    setup->quickRunBox->setChecked(false);
    form->compileAndRunButton->trigger();

    const QString image = b.workFolder() + QStringLiteral("/temp.lvt");
    QCOMPARE(log(*form), QStringList({"Build and run...", "Save in file ASM", "Prepare compiler...", "Compilation...",
                                      "Try to link the emulator...", "Good... " + image}));
    QVERIFY2(b.rig->dialogs.errors.isEmpty(), qPrintable(b.rig->dialogs.errors.join('\n')));
    QCOMPARE(b.rig->window->windowTitle(), image);
    QCOMPARE(b.rig->m().paused, 0);
    QVERIFY2(!setup->quickRunBox->isChecked(), "QuickRun unticked stays unticked");
    QCOMPARE(form->sourceModified, 0);
    // The program stands at its run address and cycles the palette port.
    QCOMPARE(b.rig->m().regPC, 0x8000);
    QSet<int> palettes;
    QSet<QRgb> corners;
    for (int tick = 0; tick < 8; ++tick) {
        b.rig->runTicks(1);
        palettes.insert(b.rig->m().ports[0xC1]);
        corners.insert(ostrovik::test::shownPicture(*b.rig->window).pixel(0, 0));
    }
    QVERIFY2(palettes.size() > 4, "the palette port keeps changing");
    QVERIFY2(corners.size() > 1, "the screen's colours follow it");
    QCOMPARE(QFile::exists(b.workFolder() + QStringLiteral("/temp.asm")), false);
}

void AssemblerFormTest::errorsAreLoggedInPairs()
{
    Bench b;
    AssemblerWorkbench* form = b.openInWorkFolder();
    form->editor->setText(QStringLiteral("\tORG 8000h\n\tMVI Q,1\n\tNOP\n\tJMP NOWHERE\n\tEND"));
    form->sourceModified = 0;
    const quint64 before = b.rig->m().regPC;
    form->compileItem->trigger();
    const QStringList l = log(*form);
    QCOMPARE(l.first(), QStringLiteral("Build.."));
    QCOMPARE(l.last(), QStringLiteral("An error occurred creating LVT file !!!"));
    int pairs = 0;
    for (int i = 0; i < l.size(); ++i) {
        if (!l[i].startsWith(QStringLiteral("Error:  ")))
            continue;
        ++pairs;
        QVERIFY(l[i].contains(QStringLiteral("*** Error")));
        QVERIFY(i + 1 < l.size() && l[i + 1].startsWith(QStringLiteral("In line  ")));
    }
    QCOMPARE(pairs, 2);
    QCOMPARE(quint64(b.rig->m().regPC), before);
    QCOMPARE(form->sourceModified, 0);
}

void AssemblerFormTest::awkwardFoldersBuild()
{
    Bench b;
    // The program itself in a folder with blanks, quotes, "$" and backticks,
    // and the output in another one, chosen in the settings.
    const QString program = b.rig->makeFolder(QStringLiteral("it's a \"test\" $HOME `touch pwned`"));
    QVERIFY(QFile::copy(b.rig->path(QStringLiteral("bios.dat")), program + QStringLiteral("/bios.dat")));
    QDir().mkpath(program + QStringLiteral("/Assembler"));
    b.rig->m().programDir = QFile::encodeName(program).toStdString();
    QVERIFY(b.rig->powerOn());
    AssemblerWorkbench* form = b.open();
    const QString out = b.rig->makeFolder(QStringLiteral("out put 'lvt' $(touch pwned)"));
    form->settingsButton->trigger();
    form->setupForm()->outputEdit->setText(out + QLatin1Char('/'));
    QTest::mouseClick(form->setupForm()->okButton, Qt::LeftButton);
    QCOMPARE(assemblerOption("LVTPath"), out);
    form->compileAndRunItem->trigger();
    QVERIFY2(b.rig->dialogs.errors.isEmpty(), qPrintable(b.rig->dialogs.errors.join('\n')));
    QCOMPARE(log(*form).last(), "Good... " + out + QStringLiteral("/temp.lvt"));
    QVERIFY(QFile::exists(out + QStringLiteral("/temp.lst")));
    QCOMPARE(b.rig->m().regPC, 0x8000);
    QVERIFY(!QFile::exists(program + QStringLiteral("/Assembler/pwned")));
    QVERIFY(!QFile::exists(QStringLiteral("pwned")));
}

void AssemblerFormTest::settingsWindow()
{
    Bench b;
    AssemblerWorkbench* form = b.openInWorkFolder();
    form->settingsItem->trigger();
    ostrovik::tools::AssemblerSettingsForm* setup = form->setupForm();
    QVERIFY(setup && setup->isVisible());
    QCOMPARE(setup->windowTitle(), QStringLiteral("SetupAssembler"));
    QCOMPARE(setup->pages->count(), 2);
    QCOMPARE(setup->compilerEdit->text(), QString());
    QCOMPARE(setup->outputEdit->text(), b.workFolder());

    struct Case {
        QString typed;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("/tmp/one/"), QStringLiteral("/tmp/one")},
        {QStringLiteral("/tmp/two//"), QStringLiteral("/tmp/two/")},
        {QStringLiteral("/tmp/none"), QStringLiteral("/tmp/none")},
    };
    for (const Case& c : cases) {
        form->settingsButton->trigger();
        setup->compilerEdit->setText(QStringLiteral("/opt/other asm"));
        setup->outputEdit->setText(c.typed);
        QTest::mouseClick(setup->okButton, Qt::LeftButton);
        QVERIFY(!setup->isVisible());
        QCOMPARE(assemblerOption("LVTPath"), c.stored);
        QCOMPARE(form->lvtPath(), c.stored);
        QCOMPARE(assemblerOption("AssPath"), QStringLiteral("/opt/other asm"));
        QCOMPARE(form->assemblerPath, QString());  // stored only
    }

    // Cancel drops what was typed and refills the fields from the file.
    form->settingsButton->trigger();
    setup->compilerEdit->setText(QStringLiteral("typed"));
    setup->outputEdit->setText(QStringLiteral("/typed"));
    QTest::mouseClick(setup->cancelButton, Qt::LeftButton);
    QVERIFY(!setup->isVisible());
    QCOMPARE(setup->outputEdit->text(), QStringLiteral("/tmp/none"));
    QCOMPARE(setup->compilerEdit->text(), QStringLiteral("/opt/other asm"));
    QCOMPARE(assemblerOption("LVTPath"), QStringLiteral("/tmp/none"));
    QCOMPARE(form->lvtPath(), QStringLiteral("/tmp/none"));

    // "..." starts at the top of the file system and fills only the field.
    form->settingsButton->trigger();
    b.rig->dialogs.answers = QStringList{QStringLiteral("/srv/picked")};
    QTest::mouseClick(setup->browseButton, Qt::LeftButton);
    QCOMPARE(b.rig->dialogs.asked.back().dir, QStringLiteral("/"));
    QCOMPARE(setup->outputEdit->text(), QStringLiteral("/srv/picked"));
    QCOMPARE(assemblerOption("LVTPath"), QStringLiteral("/tmp/none"));
}

void AssemblerFormTest::completionInsertsTheTableText()
{
    struct Case {
        QString typed;
        bool dot;        // "." asks for the popup instead of Ctrl+Space
        QString text;    // the line afterwards
        int offered;     // how many entries the popup offers
    };
    const Case cases[] = {
        {QStringLiteral("MV"), false, QStringLiteral("MVI A,"), 8},
        {QStringLiteral("ACI"), false, QStringLiteral("ACI d8"), 1},
        {QStringLiteral("aci"), true, QStringLiteral("ACI d8"), 1},
        {QStringLiteral("LXI"), false, QStringLiteral("LXI B,h"), 3},
        {QStringLiteral("\tCAL"), false, QStringLiteral("\tCALL h"), 1},
        {QString(), true, QStringLiteral("ADD A"), 245},
    };
    for (const Case& c : cases) {
        Bench b;
        AssemblerWorkbench* form = b.open();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->editor->clear();
        typeInto(*form, c.typed);
        if (c.dot)
            QTest::keyClick(form->editor, Qt::Key_Period);
        else
            QTest::keyClick(form->editor, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY2(form->completionPopup().isVisible(), qPrintable(c.typed));
        QCOMPARE(form->completionInserts().size(), c.offered);
        QTest::keyClick(form->editor, Qt::Key_Return);
        QCOMPARE(form->editor->text(), c.text);
        QCOMPARE(form->sourceModified, 1);
    }
}

void AssemblerFormTest::completionPopupShowsAndNarrows()
{
    Bench b;
    AssemblerWorkbench* form = b.open();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    AsmEditor* editor = form->editor;
    form->editor->clear();
    typeInto(*form, QStringLiteral("M"));
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    AsmCompletionPopup& popup = form->completionPopup();
    QVERIFY(popup.isVisible());
    QCOMPARE(popup.count(), 71); // MOV and MVI
    QCOMPARE(popup.title()->text(), QStringLiteral("Команда"));
    QVERIFY(popup.title()->font().bold());

    // Seven whole lines in view; the chosen one red on its own colour.
    QListWidget* list = popup.list();
    const QRect first = list->visualItemRect(list->item(0));
    QCOMPARE(list->viewport()->height(), 7 * first.height());
    const QImage shot = list->viewport()->grab().toImage();
    const auto reddish = [&shot](const QRect& line) {
        int n = 0;
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = line.left(); x <= line.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                n += c.red() > c.green() + 80 && c.red() > c.blue() + 80;
            }
        return n;
    };
    QVERIFY(reddish(first) > 0);
    QCOMPARE(shot.pixelColor(first.left() + 1, first.center().y()), AsmCompletionPopup::kChosenBackground);
    QCOMPARE(reddish(list->visualItemRect(list->item(1))), 0);

    // The arrows move the choice while the keys stay in the editor; typing
    // narrows the list, Backspace widens it again, Esc closes it.
    QTest::keyClick(editor, Qt::Key_Down);
    QCOMPARE(popup.current(), 1);
    QTest::keyClicks(editor, QStringLiteral("VI"));
    QCOMPARE(popup.count(), 8);

    // Opened afresh on "MV", and scrolled to its end: every row in view is
    // whole, inside the list's viewport and inside the popup's border.
    QTest::keyClick(editor, Qt::Key_Escape);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(popup.count(), 8);
    for (const int chosen : {0, 7}) {
        list->setCurrentRow(chosen);
        list->scrollToItem(list->item(chosen));
        const QRect inside = popup.contentsRect();
        const QRect view(list->viewport()->mapTo(&popup, QPoint(0, 0)), list->viewport()->size());
        int whole = 0;
        for (int row = 0; row < list->count(); ++row) {
            const QRect r = list->visualItemRect(list->item(row));
            if (!r.intersects(list->viewport()->rect()))
                continue;
            const QRect onPopup = r.translated(view.topLeft());
            QVERIFY2(r.top() >= 0 && r.bottom() < view.height() && onPopup.top() >= inside.top() &&
                         onPopup.bottom() <= inside.bottom(),
                     qPrintable(QStringLiteral("row %1 at %2..%3 of the viewport 0..%4, the popup's inside %5..%6")
                                    .arg(row).arg(onPopup.top()).arg(onPopup.bottom()).arg(view.height() - 1)
                                    .arg(inside.top()).arg(inside.bottom())));
            ++whole;
        }
        QCOMPARE(whole, AsmCompletionPopup::kVisibleLines);
    }
    QTest::keyClicks(editor, QStringLiteral("I"));
    QCOMPARE(popup.count(), 8);
    QCOMPARE(form->completionInserts().first(), QStringLiteral("MVI A,"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(popup.count(), 8); // "MV"
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(popup.count(), 71);
    QTest::keyClicks(editor, QStringLiteral("VX"));
    QVERIFY(!popup.isVisible()); // nothing begins with "MVX"
    QCOMPARE(editor->text(), QStringLiteral("MVX"));

    // "(" takes the choice and then goes into the text itself.
    editor->clear();
    typeInto(*form, QStringLiteral("mvi"));
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_ParenLeft, Qt::NoModifier);
    QCOMPARE(editor->text(), QStringLiteral("MVI B,("));
    QVERIFY(!popup.isVisible());
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!popup.isVisible());
    QCOMPARE(editor->text(), QStringLiteral("MVI B,("));
}

void AssemblerFormTest::closeQuestion()
{
    Bench b;
    auto& dialogs = b.rig->dialogs;
    const QString saved = b.rig->path(QStringLiteral("saved.asm"));
    struct Step {
        const char* what;
        QString typed;
        QList<bool> yesNo;
        QStringList saveAs;
        int asked;  // questions so far
    };
    const Step steps[] = {
        {"unchanged: no question", {}, {}, {}, 0},
        {"a typed character asks; No closes", QStringLiteral("x"), {false}, {}, 1},
        {"Yes with a cancelled save closes without saving", QStringLiteral("y"), {true}, {QString()}, 2},
        {"Yes with a file saves the editor's lines", QStringLiteral("z"), {true}, {saved}, 3},
    };
    for (const Step& s : steps) {
        AssemblerWorkbench* form = b.open();
        if (!s.typed.isEmpty()) {
            typeInto(*form, s.typed);
            QCOMPARE(form->sourceModified, 1);
        }
        dialogs.yesNoAnswers = s.yesNo;
        dialogs.answers = s.saveAs;
        form->close();
        QVERIFY2(!form->isVisible(), s.what);
        QCOMPARE(dialogs.questions.size(), s.asked);
        if (s.asked > 0)
            QCOMPARE(dialogs.questions.last(), QStringLiteral("Confirm|Save changes?"));
        // Reopened, the typed text stands (the first line holds no x, y or z
        // of its own) and the next close does not ask.
        b.open();
        QVERIFY2(lines(*form).first().contains(s.typed), s.what);
        form->close();
        QCOMPARE(dialogs.questions.size(), s.asked);
    }
    QCOMPARE(QString::fromUtf8(readBytes(saved)), lines(*b.form()).join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void AssemblerFormTest::newProjectOpenAndSave()
{
    Bench b;
    AssemblerWorkbench* form = b.open();
    auto& dialogs = b.rig->dialogs;
    typeInto(*form, QStringLiteral("changed"));
    form->newProjectItem->trigger();
    QCOMPARE(lines(*form), dataLines(QStringLiteral("asm_new_project.asm")));
    QCOMPARE(form->sourceModified, 0);
    QVERIFY(dialogs.questions.isEmpty());

    // Open reads a file whole (Windows-1251 sources too); Save writes it back.
    const QString source = b.rig->path(QStringLiteral("old.asm"));
    QVERIFY(writeBytes(source, "; \xCF\xF0\xEE\xE1\xE0\r\n\tNOP\r\n"));
    typeInto(*form, QStringLiteral("x"));
    dialogs.answers = QStringList{source};
    form->openButton->trigger();
    QCOMPARE(lines(*form), QStringList({QStringLiteral("; Проба"), QStringLiteral("\tNOP")}));
    QCOMPARE(form->sourceModified, 0);

    // A file that cannot be read leaves the editor as it was.
    dialogs.answers = QStringList{b.rig->path(QStringLiteral("missing.asm"))};
    form->openItem->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(lines(*form).first(), QStringLiteral("; Проба"));

    typeInto(*form, QStringLiteral("A"));
    const QString saved = b.rig->path(QStringLiteral("new.asm"));
    dialogs.answers = QStringList{saved};
    form->saveButton->trigger();
    QCOMPARE(form->sourceModified, 0);
    QCOMPARE(readBytes(saved), QByteArray("A; Проба\n\tNOP\n"));

    // A save that cannot be written says so and keeps the flag.
    typeInto(*form, QStringLiteral("B"));
    dialogs.answers = QStringList{b.rig->path(QStringLiteral("no/such/folder.asm"))};
    form->saveItem->trigger();
    QCOMPARE(dialogs.errors.size(), 2);
    QCOMPARE(form->sourceModified, 1);
}

void AssemblerFormTest::sourcesOverTheLimitOrHoldingANulAreRefused()
{
    Bench b;
    QVERIFY(b.rig->powerOn());
    AssemblerWorkbench* form = b.openInWorkFolder();
    auto& dialogs = b.rig->dialogs;
    constexpr int kLimit = static_cast<int>(ostrovik::tools::AsmBuild::kMaxSourceBytes);
    typeInto(*form, QStringLiteral("; mine"));
    const QString typed = form->editor->text();

    // Opening: a file up to the limit loads; one over it, Windows-1251 text
    // that grows over it in the editor, or one holding a NUL (where the
    // editor's text would end) leaves the typed text alone.
    const QByteArray nulSource = QByteArray("\tORG 8000h\n\tLXI H,text\n\tJMP done\n") + '\0' +
                                 QByteArray("text:\tDB 'Hello'\ndone:\tNOP\n\tEND\n");
    const struct {
        const char* what;
        QByteArray bytes;
        const char* refusal; // what the box says; none when the file loads
    } files[] = {
        {"one byte over", QByteArray(kLimit + 1, ';'), "1048576 bytes (1 MB)"},
        {"Windows-1251 that doubles", QByteArray(kLimit / 2 + 8, '\xCF'), "1048576 bytes (1 MB)"},
        {"a NUL after the third line", nulSource, "holds a NUL byte (at offset 33)"},
        {"a NUL in Windows-1251 text", QByteArray("; \xCF\xF0\xEE\xE1\xE0\r\n\0\tNOP\r\n", 16), "NUL byte (at offset 9)"},
        {"at the limit", "\tNOP\n" + QByteArray(kLimit - 5, ';'), nullptr},
    };
    for (const auto& f : files) {
        const QString path = b.rig->path(QStringLiteral("big.asm"));
        QVERIFY(writeBytes(path, f.bytes));
        dialogs.errors.clear();
        form->editor->setText(typed);
        form->sourceModified = 1;
        dialogs.answers = QStringList{path};
        form->openButton->trigger();
        if (!f.refusal) {
            QVERIFY2(dialogs.errors.isEmpty(), f.what);
            QCOMPARE(form->editor->length(), kLimit);
            QCOMPARE(form->sourceModified, 0);
        } else {
            QCOMPARE(dialogs.errors.size(), 1);
            QVERIFY2(dialogs.errors.first().contains(QLatin1String(f.refusal)), qPrintable(dialogs.errors.first()));
            QVERIFY2(dialogs.errors.first().contains(path), f.what);
            QVERIFY2(form->editor->text() == typed, f.what);
            QCOMPARE(form->sourceModified, 1);
        }
    }

    // Building: the text at the limit builds; a character more is refused
    // before anything is written or run, and stays in the editor.
    form->editor->setText(QStringLiteral("\tORG 8000h\n\tEND\n") + QString(kLimit - 16, QLatin1Char(';')));
    QCOMPARE(form->editor->length(), kLimit);
    dialogs.errors.clear();
    form->compileButton->trigger();
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    QCOMPARE(log(*form).first(), QStringLiteral("Build.."));
    form->editor->append(QStringLiteral(";"));
    const QString over = form->editor->text();
    const quint64 pc = b.rig->m().regPC;
    for (QAction* command : {form->compileButton, form->compileAndRunButton}) {
        dialogs.errors.clear();
        command->trigger();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(dialogs.errors.first().contains(QStringLiteral("The source (1048577 bytes)")));
        QCOMPARE(form->buildLog->toPlainText(), QString());
        QVERIFY(form->editor->text() == over);
        QCOMPARE(quint64(b.rig->m().regPC), pc);
    }
}

void AssemblerFormTest::referenceFromTheHelpFile()
{
    struct Case {
        bool russian;
        QString file;    // the help file present in the work folder
        QString first;   // the first row shown
        int rows;
    };
    const Case cases[] = {
        {true, QStringLiteral("help_en.txt"), QStringLiteral("ADD A\tоперация\t A<(A) + (A)\t"), 245},
        {false, QStringLiteral("help_en.txt"), QStringLiteral("mine one"), 2},
        {true, QStringLiteral("help_ru.txt"), QStringLiteral("mine one"), 2},
    };
    for (const Case& c : cases) {
        Bench b;
        QDir().mkpath(b.workFolder());
        QVERIFY(writeBytes(b.workFolder() + QLatin1Char('/') + c.file, "mine one\r\nmine two\r\n"));
        // A FIFO under the other language's name would hold the window up.
        const QString other = c.file == QStringLiteral("help_en.txt") ? QStringLiteral("help_ru.txt")
                                                                      : QStringLiteral("help_en.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(b.workFolder() + QLatin1Char('/') + other).constData(), 0600), 0);
        if (c.russian)
            b.rig->window->switchToRussian();
        AssemblerWorkbench* form = b.open();
        QCOMPARE(form->referenceList->count(), c.rows);
        QCOMPARE(form->referenceList->item(0)->data(Qt::UserRole).toString(), c.first);
    }

    // The shipped files are the reference the workbench builds in, line for line.
    for (const bool russian : {true, false}) {
        const QString name = russian ? QStringLiteral("help_ru.txt") : QStringLiteral("help_en.txt");
        const QStringList rows =
            QString::fromUtf8(readBytes(qEnvironmentVariable("OSTROVIK_BIN") + QStringLiteral("/Assembler/") + name))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList built;
        for (const ostrovik::tools::AsmReferenceRow& row : ostrovik::tools::asmReference())
            built << QString::fromStdString(ostrovik::tools::referenceLine(row, russian));
        QCOMPARE(rows, built);
    }
}

void AssemblerFormTest::findAndReplace()
{
    Bench b;
    AssemblerWorkbench* form = b.open();
    form->editor->setText(QStringLiteral("NOP\nnop\nINR A\nNOP"));
    ostrovik::tools::AsmFindBar* bar = form->findBar;
    form->contextMenu->findChild<QAction*>(QStringLiteral("replaceItem"))->trigger();
    QVERIFY(bar->isVisible() && bar->replaceEdit->isVisible());
    bar->findEdit->setText(QStringLiteral("NOP"));
    bar->replaceEdit->setText(QStringLiteral("NOP ; NOP"));
    QCOMPARE(bar->replaceAll(), 3);
    QCOMPARE(form->editor->text(), QStringLiteral("NOP ; NOP\nNOP ; NOP\nINR A\nNOP ; NOP"));
    form->editor->setCursorPosition(0, 0);
    bar->findEdit->setText(QStringLiteral("inr"));
    QVERIFY(bar->findNext());
    QCOMPARE(form->editor->selectedText(), QStringLiteral("INR"));
    bar->matchCase->setChecked(true);
    QVERIFY(!bar->findNext());

    // The replace box says what it is for; Esc closes the bar from either box.
    QVERIFY(bar->replaceLabel->isVisible());
    QCOMPARE(bar->replaceLabel->buddy(), bar->replaceEdit);
    QVERIFY(!bar->replaceLabel->text().isEmpty());
    for (QLineEdit* box : {bar->findEdit, bar->replaceEdit}) {
        form->contextMenu->findChild<QAction*>(QStringLiteral("replaceItem"))->trigger();
        QVERIFY(QTest::qWaitForWindowActive(form));
        box->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->editor));
    }
    // Find alone shows neither the replace box nor its label.
    form->contextMenu->findChild<QAction*>(QStringLiteral("findItem"))->trigger();
    QVERIFY(bar->isVisible() && !bar->replaceLabel->isVisible() && !bar->replaceEdit->isVisible());
}

QTEST_MAIN(AssemblerFormTest)
#include "assembler_form_test.moc"
