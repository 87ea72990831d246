#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <QByteArray>
#include <QMainWindow>
#include <QStringList>
#include <Qsci/qsciscintilla.h>

#include "platform/ProcessRunner.hpp"
#include "tools/AsmBuild.hpp"

class QAction;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace ostrovik::ui {
class WindowHost;
}

namespace ostrovik::tools {

class TAsmFindBar;
class TAsmLexer;
class TSetupAssemblerForm;
class TabbedRowsDelegate;

class TAsmCompletionPopup;

/// The source editor: Ctrl+Space and "." ask for the completion popup.
/// While the popup is shown the editor keeps the keys: the arrows move its
/// choice, Enter, Tab and "()[]." accept it, Esc closes it, and what is
/// typed narrows it.
class TAsmEditor : public QsciScintilla {
    Q_OBJECT
public:
    using QsciScintilla::QsciScintilla;

    void setCompletionPopup(TAsmCompletionPopup* popup) { popup_ = popup; }
    bool completionShown() const;

signals:
    void completionRequested();
    /// The popup's choice is to go into the text.
    void completionAccepted();
    /// The text under the popup changed: narrow it again.
    void completionTyped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TAsmCompletionPopup* popup_ = nullptr;
};

/// The assembler workbench: an 8080 source editor with highlighting, an
/// instruction reference and completion, loading and saving of sources, a
/// template for new programs, and Compile / Compile and Run through the
/// carried cross-assembler into the emulator.
class TAssemblerForm : public QMainWindow, private AsmBuildHost {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 726;
    static constexpr int kClientHeight = 483;
    static constexpr int kBottomPanelHeight = 114;
    static constexpr int kReferenceWidth = 243;

    explicit TAssemblerForm(ui::WindowHost& host);
    ~TAssemblerForm() override;

    // Handlers.
    void Newproject1Click();
    void Openasm1Click();
    void Saveasm1Click();
    void ToolButton1Click() { Openasm1Click(); }
    void ToolButton2Click() { Saveasm1Click(); }
    void ToolButton3Click();
    void ToolButton5Click();
    void ToolButton7Click();
    void ToolButton8Click();

    /// The editor's text as lines, as a build and a save write them.
    std::vector<std::string> sourceLines() const;
    /// Opens the completion popup for the word before the cursor.
    void showCompletion();
    /// The insert texts the open popup offers, in its order.
    const QStringList& completionInserts() const { return completionInserts_; }
    TAsmCompletionPopup& completionPopup() { return *SynCompletionProposal1; }

    /// The build's output folder (LVTPath), which the settings' OK sets.
    void setLVTPath(const QString& path);
    QString LVTPath() const;
    QString AssPath;
    AsmBuild& build() { return *build_; }
    TSetupAssemblerForm* setupForm() const { return SetupAssemblerForm; }

    std::uint8_t SourceModified = 0;

    QToolBar* ToolBar1 = nullptr;
    QAction* ToolButton1 = nullptr;
    QAction* ToolButton2 = nullptr;
    QAction* ToolButton3 = nullptr;
    QAction* ToolButton5 = nullptr;
    QAction* ToolButton7 = nullptr;
    QAction* ToolButton8 = nullptr;
    QAction* Newproject1 = nullptr;
    QAction* Openasm1 = nullptr;
    QAction* Saveasm1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Compile1 = nullptr;
    QAction* CompileandRun1 = nullptr;
    QAction* Setup1 = nullptr;
    TAsmEditor* AssembSynMemo = nullptr;
    TAsmLexer* SynAsmSyn1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    TAsmFindBar* FindBar = nullptr;
    QListWidget* AssListBox = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    /// Draws the reference list's fields in columns.
    TabbedRowsDelegate& referenceColumns() { return *referenceColumns_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FormCreate();
    void centreOn(const QWidget& owner);
    void buildActions();
    void buildEditor();
    void buildPopupMenu();
    void loadReference();
    void FormCloseQuery();
    void AssembSynMemoChange();
    /// Offers the entries that begin with what lies between the popup's
    /// start and the cursor; closes it when none does.
    void narrowCompletion();
    void fillCompletion(const QString& typed);
    void acceptCompletion();
    bool saveTo(const QString& path);
    template <typename F>
    void guarded(F&& f);

    // AsmBuildHost
    void clearLog() override;
    void MemoSave(std::string_view line) override;
    void showError(std::string_view text) override;
    std::span<const std::uint8_t> assemblerImage() override;

    ui::WindowHost& host_;
    platform::PosixProcessRunner runner_;
    std::unique_ptr<AsmBuild> build_;
    TSetupAssemblerForm* SetupAssemblerForm = nullptr;
    TabbedRowsDelegate* referenceColumns_ = nullptr;
    QByteArray assembler_;
    /// The open popup: where its word starts, and what each line inserts.
    TAsmCompletionPopup* SynCompletionProposal1 = nullptr;
    int completionStart_ = -1;
    QStringList completionInserts_;
};

} // namespace ostrovik::tools
