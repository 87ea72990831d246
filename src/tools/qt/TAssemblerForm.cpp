#include "tools/qt/TAssemblerForm.hpp"
#include "machine/Machine.hpp"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
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
#include "tools/qt/AsmCompletion.hpp"
#include "tools/qt/AsmFindBar.hpp"
#include "tools/qt/AsmLexer.hpp"
#include "tools/qt/AsmOptions.hpp"
#include "tools/AsmReference.hpp"
#include "tools/qt/AsmTabbedRows.hpp"
#include "tools/AsmTexts.hpp"
#include "tools/qt/TSetupAssemblerForm.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/ImageList.hpp"
#include "ui/kit/WindowHost.hpp"
#include "ui/kit/CentreOnOwner.hpp"
#include "ui/kit/Text.hpp"

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
    return QString::fromStdString(platform::Cp1251ToUtf8(bytes.toStdString()));
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

// ---- the editor -------------------------------------------------------------

bool TAsmEditor::completionShown() const
{
    return popup_ && popup_->isVisible();
}

void TAsmEditor::keyPressEvent(QKeyEvent* event)
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

void TAsmEditor::focusOutEvent(QFocusEvent* event)
{
    // The popup goes with the keys: a click elsewhere or another window closes it.
    if (popup_)
        popup_->hide();
    QsciScintilla::focusOutEvent(event);
}

// ---- the window ---------------------------------------------------------------

TAssemblerForm::TAssemblerForm(ui::WindowHost& host) : QMainWindow(&host.mainWindow(), Qt::Window), host_(host)
{
    initAssemblerResource();
    setObjectName(QStringLiteral("AssemblerForm"));
    setWindowTitle(QStringLiteral("Assembler"));
    const std::string programDir = host.machine().ProgramDir + "/";
    build_ = std::make_unique<AsmBuild>(static_cast<AsmBuildHost&>(*this), host_, runner_, programDir);

    buildActions();
    buildEditor();
    buildPopupMenu();

    AssListBox = new QListWidget;
    AssListBox->setObjectName(QStringLiteral("AssListBox"));
    referenceColumns_ = new TabbedRowsDelegate(AssListBox);
    AssListBox->setItemDelegate(referenceColumns_);
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* bottom = new QSplitter(Qt::Horizontal);
    bottom->setObjectName(QStringLiteral("Splitter2"));
    bottom->addWidget(AssListBox);
    bottom->addWidget(Memo1);
    bottom->setStretchFactor(1, 1);
    bottom->setSizes({kReferenceWidth, kClientWidth - kReferenceWidth});
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("Splitter1"));
    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(FindBar);
    topLayout->addWidget(AssembSynMemo);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 1);
    split->setSizes({kClientHeight - kBottomPanelHeight, kBottomPanelHeight});
    setCentralWidget(split);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOn(host.mainWindow());
    FormCreate();
}

TAssemblerForm::~TAssemblerForm() = default;

void TAssemblerForm::centreOn(const QWidget& owner)
{
    ui::CentreOnOwner(*this, owner);
}

void TAssemblerForm::buildActions()
{
    auto action = [this](const char* name, const char* text, ui::Icon image) {
        auto* a = new QAction(ui::TImageList::icon(image), QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolButton1 = action("ToolButton1", "Load ASM", ui::Icon::Open);
    ToolButton2 = action("ToolButton2", "Save ASM", ui::Icon::Save);
    ToolButton3 = action("ToolButton3", "Compile", ui::Icon::Assembler);
    ToolButton5 = action("ToolButton5", "Compile and Run", ui::Icon::Paused);
    ToolButton7 = action("ToolButton7", "Setup", ui::Icon::Settings);
    ToolButton8 = action("ToolButton8", "Close", ui::Icon::Exit);
    ToolBar1->addAction(ToolButton1);
    ToolBar1->addAction(ToolButton2);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton3);
    ToolBar1->addAction(ToolButton5);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton7);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton8);

    auto item = [this](QMenu* menu, const char* name, const char* text) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    Newproject1 = item(file, "Newproject1", "New project");
    Openasm1 = item(file, "Openasm1", "Open *.asm");
    Saveasm1 = item(file, "Saveasm1", "Save *.asm");
    file->addSeparator();
    Exit1 = item(file, "Exit1", "Exit");
    QMenu* run = menuBar()->addMenu(QStringLiteral("Run"));
    run->setObjectName(QStringLiteral("Run1"));
    Compile1 = item(run, "Compile1", "Compile");
    CompileandRun1 = item(run, "CompileandRun1", "Compile and Run");
    Setup1 = menuBar()->addAction(QStringLiteral("Setup"));
    Setup1->setObjectName(QStringLiteral("Setup1"));

    auto bind = [this](QAction* a, void (TAssemblerForm::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(ToolButton1, &TAssemblerForm::ToolButton1Click);
    bind(ToolButton2, &TAssemblerForm::ToolButton2Click);
    bind(ToolButton3, &TAssemblerForm::ToolButton3Click);
    bind(ToolButton5, &TAssemblerForm::ToolButton5Click);
    bind(ToolButton7, &TAssemblerForm::ToolButton7Click);
    bind(ToolButton8, &TAssemblerForm::ToolButton8Click);
    bind(Newproject1, &TAssemblerForm::Newproject1Click);
    bind(Openasm1, &TAssemblerForm::Openasm1Click);
    bind(Saveasm1, &TAssemblerForm::Saveasm1Click);
    // The menu's Compile, Compile and Run and Exit do what their buttons do.
    bind(Exit1, &TAssemblerForm::ToolButton8Click);
    bind(Compile1, &TAssemblerForm::ToolButton3Click);
    bind(CompileandRun1, &TAssemblerForm::ToolButton5Click);
    bind(Setup1, &TAssemblerForm::ToolButton7Click);
}

void TAssemblerForm::buildEditor()
{
    AssembSynMemo = new TAsmEditor;
    AssembSynMemo->setObjectName(QStringLiteral("AssembSynMemo"));
    AssembSynMemo->setUtf8(true);
    SynAsmSyn1 = new TAsmLexer(AssembSynMemo);
    AssembSynMemo->setLexer(SynAsmSyn1);
    AssembSynMemo->setIndentationsUseTabs(true);
    AssembSynMemo->setTabWidth(8);
    AssembSynMemo->setAutoIndent(false);

    // The line-number margin: five digits, bold, on the tooltip colour.
    QFont gutter(QStringLiteral("Courier New"));
    gutter.setStyleHint(QFont::TypeWriter);
    gutter.setPointSize(8);
    gutter.setBold(true);
    AssembSynMemo->setMarginType(0, QsciScintilla::NumberMargin);
    AssembSynMemo->setMarginsFont(gutter);
    AssembSynMemo->setMarginWidth(0, QStringLiteral("000000"));
    AssembSynMemo->setMarginLineNumbers(0, true);
    AssembSynMemo->setMarginsBackgroundColor(QToolTip::palette().color(QPalette::ToolTipBase));
    AssembSynMemo->setMarginsForegroundColor(QToolTip::palette().color(QPalette::ToolTipText));
    AssembSynMemo->setMarginWidth(1, 0);

    // The completion popup, in the reference list's order; our own rather
    // than the editor's list, which can show neither a title nor a bold
    // column nor a coloured choice.
    SynCompletionProposal1 = new TAsmCompletionPopup(AssembSynMemo);
    AssembSynMemo->setCompletionPopup(SynCompletionProposal1);
    connect(AssembSynMemo, &TAsmEditor::completionRequested, this, [this] { showCompletion(); });
    connect(AssembSynMemo, &TAsmEditor::completionAccepted, this, [this] { acceptCompletion(); });
    connect(AssembSynMemo, &TAsmEditor::completionTyped, this, [this] { narrowCompletion(); });
    connect(SynCompletionProposal1, &TAsmCompletionPopup::activated, this, [this](int row) {
        SynCompletionProposal1->list()->setCurrentRow(row);
        acceptCompletion();
    });
    connect(AssembSynMemo, &QsciScintilla::textChanged, this, [this] { AssembSynMemoChange(); });

    FindBar = new TAsmFindBar(*AssembSynMemo);
}

void TAssemblerForm::buildPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    struct Entry {
        const char* name;
        const char* text;
        QKeySequence key;
        std::function<void()> act;
    };
    QsciScintilla* ed = AssembSynMemo;
    const Entry entries[] = {
        {"Copy1", "Копировать", QKeySequence(Qt::CTRL | Qt::Key_C), [ed] { ed->copy(); }},
        {"Cut1", "Вырезать", QKeySequence(Qt::CTRL | Qt::Key_X), [ed] { ed->cut(); }},
        {"Delete1", "Удалить", QKeySequence(Qt::Key_Delete), [ed] { ed->removeSelectedText(); }},
        {"Paste1", "Вставить", QKeySequence(Qt::CTRL | Qt::Key_V), [ed] { ed->paste(); }},
        {"SelectAll1", "Выделить все", QKeySequence(Qt::CTRL | Qt::Key_A), [ed] { ed->selectAll(); }},
        {"Undo1", "Отмена", QKeySequence(Qt::CTRL | Qt::Key_Z), [ed] { ed->undo(); }},
        {"Find1", "&Найти...", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { FindBar->open(false); }},
        {"Replace1", "&Заменить...", QKeySequence(), [this] { FindBar->open(true); }},
    };
    for (const Entry& e : entries) {
        QAction* a = PopupMenu1->addAction(QString::fromUtf8(e.text));
        a->setObjectName(QString::fromLatin1(e.name));
        a->setShortcut(e.key);
        // The editor has these keys itself; the menu only shows them, except
        // the find bar's, which works wherever the focus is in the window.
        if (std::string_view(e.name) == "Find1") {
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);
        } else {
            a->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(a, &QAction::triggered, this, e.act);
    }
    AssembSynMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(AssembSynMemo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(AssembSynMemo->mapToGlobal(at)); });
}

void TAssemblerForm::FormCreate()
{
    AssembSynMemo->setText(ui::fromUtf8(kAsmInitialText));
    loadReference();
    const QString programDir = QString::fromStdString(build_->programDir());
    const AsmOptions options = LoadAsmOptions(programDir);
    AssPath = options.AssPath;
    setLVTPath(options.LVTPath);
    SourceModified = 0;
}

void TAssemblerForm::loadReference()
{
    AssListBox->clear();
    const bool russian = (host_.language() == ui::Language::Russian);
    const std::string help = build_->workFolder() + (russian ? "help_ru.txt" : "help_en.txt");
    QStringList rows;
    // Only a regular file of a sensible size: a FIFO or a device under the
    // name must not hold the window up.
    const platform::FileRead file = platform::ReadRegularFile(help, kMaxHelpFile);
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
    referenceColumns_->fitStops(rows, AssListBox->font());
    for (const QString& row : rows) {
        auto* item = new QListWidgetItem(row);
        item->setData(Qt::UserRole, row);
        AssListBox->addItem(item);
    }
}

void TAssemblerForm::setLVTPath(const QString& path)
{
    build_->LVTPath = QFile::encodeName(path).toStdString();
}

QString TAssemblerForm::LVTPath() const
{
    return QFile::decodeName(QByteArray::fromStdString(build_->LVTPath));
}

std::vector<std::string> TAssemblerForm::sourceLines() const
{
    QString text = AssembSynMemo->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A final line break ends the last line; it does not start another.
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    std::vector<std::string> lines;
    if (text.isEmpty() && AssembSynMemo->length() == 0)
        return lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

template <typename F>
void TAssemblerForm::guarded(F&& f)
{
    host_.runGuarded(std::forward<F>(f));
}

// ---- handlers ---------------------------------------------------------------

void TAssemblerForm::Newproject1Click()
{
    AssembSynMemo->setText(ui::fromUtf8(kAsmNewProject));
    SourceModified = 0;
}

void TAssemblerForm::Openasm1Click()
{
    const std::optional<QString> path = ui::dialogs().openFile(this, QString(), QString(), QString());
    if (!path)
        return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        ui::dialogs().error(this, QStringLiteral("Cannot open file \"%1\". %2").arg(*path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ui::dialogs().error(this, QStringLiteral("Cannot read file \"%1\". %2").arg(*path, file.errorString()));
        return;
    }
    AssembSynMemo->setText(decodeText(bytes));
    SourceModified = 0;
}

bool TAssemblerForm::saveTo(const QString& path)
{
    QByteArray bytes;
    for (const std::string& line : sourceLines()) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append('\n');
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        ui::dialogs().error(this, QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void TAssemblerForm::Saveasm1Click()
{
    const std::optional<QString> path = ui::dialogs().saveFile(this, QString(), QString(), QString());
    if (!path)
        return;
    if (saveTo(*path))
        SourceModified = 0;
}

void TAssemblerForm::ToolButton3Click()
{
    build_->ToolButton3Click(sourceLines());
}

void TAssemblerForm::ToolButton5Click()
{
    build_->ToolButton5Click(sourceLines());
}

void TAssemblerForm::ToolButton7Click()
{
    if (!SetupAssemblerForm)
        SetupAssemblerForm = new TSetupAssemblerForm(*this);
    SetupAssemblerForm->ShowFromWorkbench();
}

void TAssemblerForm::ToolButton8Click()
{
    close();
}

void TAssemblerForm::AssembSynMemoChange()
{
    SourceModified = 1;
}

void TAssemblerForm::FormCloseQuery()
{
    if (SourceModified != 1)
        return;
    const bool yes = ui::dialogs().askYesNo(this, QStringLiteral("Confirm"), QStringLiteral("Save changes?"));
    SourceModified = 0;
    if (!yes)
        return;
    if (const std::optional<QString> path = ui::dialogs().saveFile(this, QString(), QString(), QString()))
        saveTo(*path);
}

void TAssemblerForm::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormCloseQuery(); });
    // Closing hides the window; its text stays for the next time.
    if (SetupAssemblerForm)
        SetupAssemblerForm->hide();
    SynCompletionProposal1->hide();
    event->accept();
}

void TAssemblerForm::moveEvent(QMoveEvent* event)
{
    // The popup stands on the screen, not in the window: it does not follow.
    SynCompletionProposal1->hide();
    QMainWindow::moveEvent(event);
}

// ---- completion ---------------------------------------------------------------

void TAssemblerForm::showCompletion()
{
    const int caret = static_cast<int>(AssembSynMemo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    int line = 0, index = 0;
    AssembSynMemo->lineIndexFromPosition(caret, &line, &index);
    const QString before = AssembSynMemo->text(line).left(index);
    // The word before the cursor, and the "." that asked for the popup with it.
    int from = static_cast<int>(before.size());
    if (from > 0 && before[from - 1] == QLatin1Char('.'))
        --from;
    const int wordEnd = from;
    while (from > 0 && isWordChar(before[from - 1]))
        --from;
    completionStart_ = AssembSynMemo->positionFromLineIndex(line, from);
    fillCompletion(before.mid(from, wordEnd - from));
    if (completionInserts_.isEmpty())
        return;

    // Under the word, or over it where the screen ends below.
    const auto point = [this](int message) {
        return static_cast<int>(
            AssembSynMemo->SendScintilla(static_cast<unsigned int>(message), 0UL, static_cast<long>(completionStart_)));
    };
    const QPoint top(point(QsciScintilla::SCI_POINTXFROMPOSITION), point(QsciScintilla::SCI_POINTYFROMPOSITION));
    const int lineHeight =
        static_cast<int>(AssembSynMemo->SendScintilla(QsciScintilla::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
    QWidget* view = AssembSynMemo->viewport();
    SynCompletionProposal1->showAt(view->mapToGlobal(top + QPoint(0, lineHeight)), view->mapToGlobal(top));
}

void TAssemblerForm::fillCompletion(const QString& typed)
{
    completionInserts_.clear();
    QList<TAsmCompletionPopup::Entry> entries;
    for (const AsmReferenceRow& row : asmReference()) {
        const QString insert = QString::fromStdString(row.insert);
        if (!insert.startsWith(typed, Qt::CaseInsensitive))
            continue;
        completionInserts_.append(insert);
        entries.append({insert, QString::fromStdString(completionDescription(row))});
    }
    if (entries.isEmpty()) {
        SynCompletionProposal1->hide();
        return;
    }
    SynCompletionProposal1->setEntries(entries);
}

void TAssemblerForm::narrowCompletion()
{
    const int caret = static_cast<int>(AssembSynMemo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    int startLine = 0, startIndex = 0, line = 0, index = 0;
    AssembSynMemo->lineIndexFromPosition(completionStart_, &startLine, &startIndex);
    AssembSynMemo->lineIndexFromPosition(caret, &line, &index);
    // Backspace past the word's start, or a new line, ends the completion.
    if (completionStart_ < 0 || caret < completionStart_ || line != startLine) {
        SynCompletionProposal1->hide();
        return;
    }
    fillCompletion(AssembSynMemo->text(line).mid(startIndex, index - startIndex));
}

void TAssemblerForm::acceptCompletion()
{
    const int row = SynCompletionProposal1->current();
    SynCompletionProposal1->hide();
    if (row < 0 || row >= completionInserts_.size() || completionStart_ < 0)
        return;
    const int caret = static_cast<int>(AssembSynMemo->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    const QByteArray insert = completionInserts_[row].toUtf8();
    AssembSynMemo->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, completionStart_, caret);
    AssembSynMemo->SendScintilla(QsciScintilla::SCI_REPLACETARGET, insert.size(), insert.constData());
    AssembSynMemo->SendScintilla(QsciScintilla::SCI_GOTOPOS, static_cast<unsigned long>(completionStart_ + insert.size()));
    completionStart_ = -1;
}

// ---- the build's host -------------------------------------------------------

void TAssemblerForm::clearLog()
{
    Memo1->clear();
}

void TAssemblerForm::MemoSave(std::string_view line)
{
    Memo1->appendPlainText(QFile::decodeName(QByteArray(line.data(), static_cast<qsizetype>(line.size()))));
}

void TAssemblerForm::showError(std::string_view text)
{
    ui::dialogs().error(this, QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size()))));
}

std::span<const std::uint8_t> TAssemblerForm::assemblerImage()
{
    if (assembler_.isEmpty()) {
        QFile resource(QStringLiteral(":/Ass8080/MyAss8080"));
        if (resource.open(QIODevice::ReadOnly))
            assembler_ = resource.readAll();
    }
    return {reinterpret_cast<const std::uint8_t*>(assembler_.constData()), static_cast<std::size_t>(assembler_.size())};
}

} // namespace ostrovik::tools
