#include "tools/qt/AssemblerWorkbench.hpp"
#include "platform/qt/FileNames.hpp"
#include "machine/Machine.hpp"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStringDecoder>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include "platform/Cp1251.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"
#include "tools/qt/AsmCompletion.hpp"
#include "tools/qt/AsmFindBar.hpp"
#include "tools/qt/AsmLexer.hpp"
#include "tools/qt/AsmOptions.hpp"
#include "tools/AsmReference.hpp"
#include "tools/qt/AsmTabbedRows.hpp"
#include "tools/AsmTexts.hpp"
#include "tools/qt/AssemblerSettingsForm.hpp"
#include "kit/Dialogs.hpp"
#include "kit/IconSet.hpp"
#include "kit/WindowHost.hpp"
#include "kit/CentreOnOwner.hpp"
#include "kit/Text.hpp"

// The carried cross-assembler lives in a resource of this library.
static void initAssemblerResource()
{
    Q_INIT_RESOURCE(asm8080);
}

namespace ostrovik::tools {

namespace {

/// The reference's help file is about 15 KB; far more is no help file.
constexpr std::size_t kMaxHelpFile = 1 << 20;


/// A text file's content: UTF-8 when it is valid UTF-8, else the
/// Windows-1251 of sources written on the machine's home platform.
QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromStdString(platform::cp1251ToUtf8(bytes.toStdString()));
}

/// Why a source of @p what is neither opened nor built.
QString sourceTooLarge(const QString& what)
{
    return QStringLiteral("%1 is larger than %2 bytes (1 MB), the most the workbench opens or builds: no program "
                          "for the machine needs that much source. The editor keeps its text.")
        .arg(what)
        .arg(AsmBuild::kMaxSourceBytes);
}

/// Why a source holding a NUL byte at @p offset is not opened.
QString sourceWithNul(const QString& what, qsizetype offset)
{
    return QStringLiteral("%1 holds a NUL byte (at offset %2), which no source text has: the editor would drop "
                          "everything after it. The editor keeps its text.")
        .arg(what)
        .arg(offset);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

// ---- the editor -------------------------------------------------------------

bool AsmEditor::completionShown() const
{
    return popup_ && popup_->isVisible();
}

void AsmEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        emit completionRequested();
        event->accept();
        return;
    }
    if (completionShown()) {
        const int key = event->key();
        if (popup_->moveFor(key)) {
            event->accept();
            return;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            emit completionAccepted();
            event->accept();
            return;
        }
        if (key == Qt::Key_Escape) {
            popup_->hide();
            event->accept();
            return;
        }
        // These characters accept the choice and then go into the text.
        if (event->text().size() == 1 && QStringLiteral("()[].").contains(event->text())) {
            emit completionAccepted();
            QsciScintilla::keyPressEvent(event);
            return;
        }
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End) {
            popup_->hide();
            QsciScintilla::keyPressEvent(event);
            return;
        }
        QsciScintilla::keyPressEvent(event);
        emit completionTyped();
        return;
    }
    const bool trigger = event->text() == QLatin1String(".");
    QsciScintilla::keyPressEvent(event);
    if (trigger)
        emit completionRequested();
}

void AsmEditor::focusOutEvent(QFocusEvent* event)
{
    // The popup goes with the keys: a click elsewhere or another window closes it.
    if (popup_)
        popup_->hide();
    QsciScintilla::focusOutEvent(event);
}

// ---- the window ---------------------------------------------------------------

AssemblerWorkbench::AssemblerWorkbench(kit::WindowHost& host) : QMainWindow(&host.mainWindow(), Qt::Window), host_(host)
{
    initAssemblerResource();
    setObjectName(QStringLiteral("AssemblerWorkbench"));
    setWindowTitle(QStringLiteral("Assembler"));
    const std::string programDir = host.machine().programDir + "/";
    build_ = std::make_unique<AsmBuild>(static_cast<AsmBuildHost&>(*this), host_, runner_, programDir);

    buildActions();
    buildEditor();
    buildPopupMenu();

    referenceList = new QListWidget;
    referenceList->setObjectName(QStringLiteral("referenceList"));
    referenceColumns_ = new TabbedRowsDelegate(referenceList);
    referenceList->setItemDelegate(referenceColumns_);
    buildLog = new QPlainTextEdit;
    buildLog->setObjectName(QStringLiteral("buildLog"));
    buildLog->setReadOnly(true);
    buildLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* bottom = new QSplitter(Qt::Horizontal);
    bottom->setObjectName(QStringLiteral("Splitter2"));
    bottom->addWidget(referenceList);
    bottom->addWidget(buildLog);
    bottom->setStretchFactor(1, 1);
    bottom->setSizes({kReferenceWidth, kClientWidth - kReferenceWidth});
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("splitter"));
    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(findBar);
    topLayout->addWidget(editor);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 1);
    split->setSizes({kClientHeight - kBottomPanelHeight, kBottomPanelHeight});
    setCentralWidget(split);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOn(host.mainWindow());
    loadStartState();
}

AssemblerWorkbench::~AssemblerWorkbench() = default;

void AssemblerWorkbench::centreOn(const QWidget& owner)
{
    kit::centreOnOwner(*this, owner);
}

void AssemblerWorkbench::buildActions()
{
    auto action = [this](const char* name, const char* text, kit::Icon image) {
        auto* a = new QAction(kit::IconSet::icon(image), QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    toolBar = addToolBar(QStringLiteral("ToolBar1"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    openButton = action("openButton", "Load ASM", kit::Icon::Open);
    saveButton = action("saveButton", "Save ASM", kit::Icon::Save);
    compileButton = action("compileButton", "Compile", kit::Icon::Assembler);
    compileAndRunButton = action("compileAndRunButton", "Compile and Run", kit::Icon::Paused);
    settingsButton = action("settingsButton", "Setup", kit::Icon::Settings);
    closeButton = action("closeButton", "Close", kit::Icon::Exit);
    toolBar->addAction(openButton);
    toolBar->addAction(saveButton);
    toolBar->addSeparator();
    toolBar->addAction(compileButton);
    toolBar->addAction(compileAndRunButton);
    toolBar->addSeparator();
    toolBar->addAction(settingsButton);
    toolBar->addSeparator();
    toolBar->addAction(closeButton);

    auto item = [this](QMenu* menu, const char* name, const char* text) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    newProjectItem = item(file, "newProjectItem", "New project");
    openItem = item(file, "openItem", "Open *.asm");
    saveItem = item(file, "saveItem", "Save *.asm");
    file->addSeparator();
    exitItem = item(file, "exitItem", "Exit");
    QMenu* run = menuBar()->addMenu(QStringLiteral("Run"));
    run->setObjectName(QStringLiteral("runMenu"));
    compileItem = item(run, "compileItem", "Compile");
    compileAndRunItem = item(run, "compileAndRunItem", "Compile and Run");
    settingsItem = menuBar()->addAction(QStringLiteral("Setup"));
    settingsItem->setObjectName(QStringLiteral("settingsItem"));

    auto bind = [this](QAction* a, void (AssemblerWorkbench::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(openButton, &AssemblerWorkbench::openSource);
    bind(saveButton, &AssemblerWorkbench::saveSource);
    bind(compileButton, &AssemblerWorkbench::compile);
    bind(compileAndRunButton, &AssemblerWorkbench::compileAndRun);
    bind(settingsButton, &AssemblerWorkbench::openSettings);
    bind(closeButton, &AssemblerWorkbench::closeWorkbench);
    bind(newProjectItem, &AssemblerWorkbench::newProject);
    bind(openItem, &AssemblerWorkbench::openSource);
    bind(saveItem, &AssemblerWorkbench::saveSource);
    // The menu's Compile, Compile and Run and Exit do what their buttons do.
    bind(exitItem, &AssemblerWorkbench::closeWorkbench);
    bind(compileItem, &AssemblerWorkbench::compile);
    bind(compileAndRunItem, &AssemblerWorkbench::compileAndRun);
    bind(settingsItem, &AssemblerWorkbench::openSettings);
}

void AssemblerWorkbench::buildEditor()
{
    editor = new AsmEditor;
    editor->setObjectName(QStringLiteral("editor"));
    editor->setUtf8(true);
    lexer = new AsmLexer(editor);
    editor->setLexer(lexer);
    editor->setIndentationsUseTabs(true);
    editor->setTabWidth(8);
    editor->setAutoIndent(false);

    // The line-number margin: five digits, bold, on the tooltip colour.
    QFont gutter(QStringLiteral("Courier New"));
    gutter.setStyleHint(QFont::TypeWriter);
    gutter.setPointSize(8);
    gutter.setBold(true);
    editor->setMarginType(0, QsciScintilla::NumberMargin);
    editor->setMarginsFont(gutter);
    editor->setMarginWidth(0, QStringLiteral("000000"));
    editor->setMarginLineNumbers(0, true);
    editor->setMarginsBackgroundColor(QToolTip::palette().color(QPalette::ToolTipBase));
    editor->setMarginsForegroundColor(QToolTip::palette().color(QPalette::ToolTipText));
    editor->setMarginWidth(1, 0);

    // The completion popup, in the reference list's order; our own rather
    // than the editor's list, which can show neither a title nor a bold
    // column nor a coloured choice.
    completion_ = new AsmCompletionPopup(editor);
    editor->setCompletionPopup(completion_);
    connect(editor, &AsmEditor::completionRequested, this, [this] { showCompletion(); });
    connect(editor, &AsmEditor::completionAccepted, this, [this] { acceptCompletion(); });
    connect(editor, &AsmEditor::completionTyped, this, [this] { narrowCompletion(); });
    connect(completion_, &AsmCompletionPopup::activated, this, [this](int row) {
        completion_->list()->setCurrentRow(row);
        acceptCompletion();
    });
    connect(editor, &QsciScintilla::textChanged, this, [this] { sourceChanged(); });

    findBar = new AsmFindBar(*editor);
}

void AssemblerWorkbench::buildPopupMenu()
{
    contextMenu = new QMenu(this);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    struct Entry {
        const char* name;
        const char* text;
        QKeySequence key;
        std::function<void()> act;
    };
    QsciScintilla* ed = editor;
    const Entry entries[] = {
        {"copyItem", "Копировать", QKeySequence(Qt::CTRL | Qt::Key_C), [ed] { ed->copy(); }},
        {"cutItem", "Вырезать", QKeySequence(Qt::CTRL | Qt::Key_X), [ed] { ed->cut(); }},
        {"deleteItem", "Удалить", QKeySequence(Qt::Key_Delete), [ed] { ed->removeSelectedText(); }},
        {"pasteItem", "Вставить", QKeySequence(Qt::CTRL | Qt::Key_V), [ed] { ed->paste(); }},
        {"selectAllItem", "Выделить все", QKeySequence(Qt::CTRL | Qt::Key_A), [ed] { ed->selectAll(); }},
        {"undoItem", "Отмена", QKeySequence(Qt::CTRL | Qt::Key_Z), [ed] { ed->undo(); }},
        {"findItem", "&Найти...", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { findBar->open(false); }},
        {"replaceItem", "&Заменить...", QKeySequence(), [this] { findBar->open(true); }},
    };
    for (const Entry& e : entries) {
        QAction* a = contextMenu->addAction(QString::fromUtf8(e.text));
        a->setObjectName(QString::fromLatin1(e.name));
        a->setShortcut(e.key);
        // The editor has these keys itself; the menu only shows them, except
        // the find bar's, which works wherever the focus is in the window.
        if (std::string_view(e.name) == "findItem") {
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);
        } else {
            a->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(a, &QAction::triggered, this, e.act);
    }
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { contextMenu->popup(editor->mapToGlobal(at)); });
}

void AssemblerWorkbench::loadStartState()
{
    editor->setText(kit::fromUtf8(kAsmInitialText));
    loadReference();
    const QString programDir = platform::fileNameText(build_->programDir());
    const AsmOptions options = loadAsmOptions(programDir);
    assemblerPath = options.assemblerPath;
    setLVTPath(options.lvtPath);
    sourceModified = 0;
}

void AssemblerWorkbench::loadReference()
{
    referenceList->clear();
    const bool russian = (host_.language() == kit::Language::Russian);
    const std::string help = build_->workFolder() + (russian ? "help_ru.txt" : "help_en.txt");
    QStringList rows;
    // Only a regular file of a sensible size: a FIFO or a device under the
    // name must not hold the window up.
    const platform::FileRead file = platform::readRegularFile(help, kMaxHelpFile);
    if (file.ok()) {
        QString text = decodeText(QByteArray::fromStdString(file.bytes));
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        rows = text.split(QLatin1Char('\n'));
    } else {
        for (const AsmReferenceRow& row : asmReference())
            rows.append(QString::fromStdString(referenceLine(row)));
    }
    // The rows keep their tabs; the list shows the fields in columns.
    referenceColumns_->fitStops(rows, referenceList->font());
    for (const QString& row : rows) {
        auto* item = new QListWidgetItem(row);
        item->setData(Qt::UserRole, row);
        referenceList->addItem(item);
    }
}

void AssemblerWorkbench::setLVTPath(const QString& path)
{
    build_->lvtPath = platform::fileNamePath(path);
}

QString AssemblerWorkbench::lvtPath() const
{
    return platform::fileNameText(build_->lvtPath);
}

std::vector<std::string> AssemblerWorkbench::sourceLines() const
{
    QString text = editor->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A final line break ends the last line; it does not start another.
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    std::vector<std::string> lines;
    if (text.isEmpty() && editor->length() == 0)
        return lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

template <typename F>
void AssemblerWorkbench::guarded(F&& f)
{
    host_.runGuarded(std::forward<F>(f));
}

// ---- handlers ---------------------------------------------------------------

void AssemblerWorkbench::newProject()
{
    editor->setText(kit::fromUtf8(kAsmNewProject));
    sourceModified = 0;
}

void AssemblerWorkbench::openSource()
{
    const std::optional<QString> path = kit::dialogs().openFile(this, QString(), QString(), QString());
    if (!path)
        return;
    // Opened without waiting and judged as the file opened: a FIFO or a
    // device under the name is refused, never read.
    const platform::FileRead file = platform::readRegularFile(platform::fileNamePath(*path), AsmBuild::kMaxSourceBytes);
    if (file.status == platform::FileReadStatus::TooLarge) {
        kit::dialogs().error(this, sourceTooLarge(QStringLiteral("The file \"%1\"").arg(*path)));
        return;
    }
    if (!file.ok()) {
        const bool readFailed = file.status == platform::FileReadStatus::Failed && file.opened;
        kit::dialogs().error(this, (readFailed ? QStringLiteral("Cannot read file \"%1\". %2")
                                               : QStringLiteral("Cannot open file \"%1\". %2"))
                                       .arg(*path, QString::fromStdString(file.reason)));
        return;
    }
    const QByteArray bytes = QByteArray::fromStdString(file.bytes);
    // The editor's text ends at a NUL: what stands behind it would be lost
    // unseen, and a save would write the rest away.
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        kit::dialogs().error(this, sourceWithNul(QStringLiteral("The file \"%1\"").arg(*path), nul));
        return;
    }
    const QString text = decodeText(bytes);
    // Windows-1251 text grows as it becomes the editor's UTF-8.
    if (static_cast<std::size_t>(text.toUtf8().size()) > AsmBuild::kMaxSourceBytes) {
        kit::dialogs().error(this, sourceTooLarge(QStringLiteral("The file \"%1\"").arg(*path)));
        return;
    }
    editor->setText(text);
    sourceModified = 0;
}

bool AssemblerWorkbench::saveTo(const QString& path)
{
    std::string bytes;
    for (const std::string& line : sourceLines()) {
        bytes += line;
        bytes += '\n';
    }
    // Whole or not at all, and never waiting for a reader: a FIFO chosen in
    // the dialog takes the text only when someone reads it.
    const platform::FileWrite written = platform::writeWholeFile(platform::fileNamePath(path), bytes);
    if (!written.ok) {
        kit::dialogs().error(this, (written.created ? QStringLiteral("Cannot write file \"%1\". %2")
                                                    : QStringLiteral("Cannot create file \"%1\". %2"))
                                       .arg(path, QString::fromStdString(written.reason)));
        return false;
    }
    return true;
}

void AssemblerWorkbench::saveSource()
{
    const std::optional<QString> path = kit::dialogs().saveFile(this, QString(), QString(), QString());
    if (!path)
        return;
    if (saveTo(*path))
        sourceModified = 0;
}

bool AssemblerWorkbench::sourceFitsTheBuild()
{
    // Asked of the editor before its text is copied for the build.
    if (static_cast<std::size_t>(editor->length()) <= AsmBuild::kMaxSourceBytes)
        return true;
    buildLog->clear();
    kit::dialogs().error(this, sourceTooLarge(QStringLiteral("The source (%1 bytes)").arg(editor->length())));
    return false;
}

void AssemblerWorkbench::compile()
{
    if (sourceFitsTheBuild())
        build_->compile(sourceLines());
}

void AssemblerWorkbench::compileAndRun()
{
    if (sourceFitsTheBuild())
        build_->compileAndRun(sourceLines());
}

void AssemblerWorkbench::openSettings()
{
    if (!settingsWindow_)
        settingsWindow_ = new AssemblerSettingsForm(*this);
    settingsWindow_->showFromWorkbench();
}

void AssemblerWorkbench::closeWorkbench()
{
    close();
}

void AssemblerWorkbench::sourceChanged()
{
    sourceModified = 1;
}

void AssemblerWorkbench::askToSaveChanges()
{
    if (sourceModified != 1)
        return;
    const bool yes = kit::dialogs().askYesNo(this, QStringLiteral("Confirm"), QStringLiteral("Save changes?"));
    sourceModified = 0;
    if (!yes)
        return;
    if (const std::optional<QString> path = kit::dialogs().saveFile(this, QString(), QString(), QString()))
        saveTo(*path);
}

void AssemblerWorkbench::closeEvent(QCloseEvent* event)
{
    guarded([this] { askToSaveChanges(); });
    // Closing hides the window; its text stays for the next time.
    if (settingsWindow_)
        settingsWindow_->hide();
    completion_->hide();
    event->accept();
}

void AssemblerWorkbench::moveEvent(QMoveEvent* event)
{
    // The popup stands on the screen, not in the window: it does not follow.
    completion_->hide();
    QMainWindow::moveEvent(event);
}

// ---- completion ---------------------------------------------------------------

void AssemblerWorkbench::showCompletion()
{
    const int caret = static_cast<int>(editor->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    int line = 0, index = 0;
    editor->lineIndexFromPosition(caret, &line, &index);
    const QString before = editor->text(line).left(index);
    // The word before the cursor, and the "." that asked for the popup with it.
    int from = static_cast<int>(before.size());
    if (from > 0 && before[from - 1] == QLatin1Char('.'))
        --from;
    const int wordEnd = from;
    while (from > 0 && isWordChar(before[from - 1]))
        --from;
    completionStart_ = editor->positionFromLineIndex(line, from);
    fillCompletion(before.mid(from, wordEnd - from));
    if (completionInserts_.isEmpty())
        return;

    // Under the word, or over it where the screen ends below.
    const auto point = [this](int message) {
        return static_cast<int>(
            editor->SendScintilla(static_cast<unsigned int>(message), 0UL, static_cast<long>(completionStart_)));
    };
    const QPoint top(point(QsciScintilla::SCI_POINTXFROMPOSITION), point(QsciScintilla::SCI_POINTYFROMPOSITION));
    const int lineHeight =
        static_cast<int>(editor->SendScintilla(QsciScintilla::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
    QWidget* view = editor->viewport();
    completion_->showAt(view->mapToGlobal(top + QPoint(0, lineHeight)), view->mapToGlobal(top));
}

void AssemblerWorkbench::fillCompletion(const QString& typed)
{
    completionInserts_.clear();
    QList<AsmCompletionPopup::Entry> entries;
    for (const AsmReferenceRow& row : asmReference()) {
        const QString insert = QString::fromStdString(row.insert);
        if (!insert.startsWith(typed, Qt::CaseInsensitive))
            continue;
        completionInserts_.append(insert);
        entries.append({insert, QString::fromStdString(completionDescription(row))});
    }
    if (entries.isEmpty()) {
        completion_->hide();
        return;
    }
    completion_->setEntries(entries);
}

void AssemblerWorkbench::narrowCompletion()
{
    const int caret = static_cast<int>(editor->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    int startLine = 0, startIndex = 0, line = 0, index = 0;
    editor->lineIndexFromPosition(completionStart_, &startLine, &startIndex);
    editor->lineIndexFromPosition(caret, &line, &index);
    // Backspace past the word's start, or a new line, ends the completion.
    if (completionStart_ < 0 || caret < completionStart_ || line != startLine) {
        completion_->hide();
        return;
    }
    fillCompletion(editor->text(line).mid(startIndex, index - startIndex));
}

void AssemblerWorkbench::acceptCompletion()
{
    const int row = completion_->current();
    completion_->hide();
    if (row < 0 || row >= completionInserts_.size() || completionStart_ < 0)
        return;
    const int caret = static_cast<int>(editor->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    const QByteArray insert = completionInserts_[row].toUtf8();
    editor->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, completionStart_, caret);
    editor->SendScintilla(QsciScintilla::SCI_REPLACETARGET, insert.size(), insert.constData());
    editor->SendScintilla(QsciScintilla::SCI_GOTOPOS, static_cast<unsigned long>(completionStart_ + insert.size()));
    completionStart_ = -1;
}

// ---- the build's host -------------------------------------------------------

void AssemblerWorkbench::clearLog()
{
    buildLog->clear();
}

void AssemblerWorkbench::appendLog(std::string_view line)
{
    buildLog->appendPlainText(platform::fileNameText(QByteArrayView(line.data(), static_cast<qsizetype>(line.size()))));
}

void AssemblerWorkbench::showError(std::string_view text)
{
    kit::dialogs().error(this, platform::fileNameText(QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))));
}

std::span<const std::uint8_t> AssemblerWorkbench::assemblerImage()
{
    if (assembler_.isEmpty()) {
        QFile resource(QStringLiteral(":/Ass8080/MyAss8080"));
        if (resource.open(QIODevice::ReadOnly))
            assembler_ = resource.readAll();
    }
    return {reinterpret_cast<const std::uint8_t*>(assembler_.constData()), static_cast<std::size_t>(assembler_.size())};
}

} // namespace ostrovik::tools
