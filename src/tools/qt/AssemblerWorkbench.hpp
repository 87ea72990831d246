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

namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::tools {

class AsmFindBar;
class AsmLexer;
class AssemblerSettingsForm;
class TabbedRowsDelegate;

class AsmCompletionPopup;

/// The source editor: Ctrl+Space and "." ask for the completion popup.
/// While the popup is shown the editor keeps the keys: the arrows move its
/// choice, Enter, Tab and "()[]." accept it, Esc closes it, and what is
/// typed narrows it.
class AsmEditor : public QsciScintilla {
    Q_OBJECT
public:
    using QsciScintilla::QsciScintilla;

    void setCompletionPopup(AsmCompletionPopup* popup) { popup_ = popup; }
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
    AsmCompletionPopup* popup_ = nullptr;
};

/// The assembler workbench: an 8080 source editor with highlighting, an
/// instruction reference and completion, loading and saving of sources, a
/// template for new programs, and Compile / Compile and Run through the
/// carried cross-assembler into the emulator.
class AssemblerWorkbench : public QMainWindow, private AsmBuildHost {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 726;
    static constexpr int kClientHeight = 483;
    static constexpr int kBottomPanelHeight = 114;
    static constexpr int kReferenceWidth = 243;

    explicit AssemblerWorkbench(kit::WindowHost& host);
    ~AssemblerWorkbench() override;

    // Handlers.
    void newProject();
    void openSource();
    void saveSource();
    void compile();
    void compileAndRun();
    void openSettings();
    void closeWorkbench();

    /// The editor's text as lines, as a build and a save write them.
    std::vector<std::string> sourceLines() const;
    /// Opens the completion popup for the word before the cursor.
    void showCompletion();
    /// The insert texts the open popup offers, in its order.
    const QStringList& completionInserts() const { return completionInserts_; }
    AsmCompletionPopup& completionPopup() { return *completion_; }

    /// The build's output folder (lvtPath), which the settings' OK sets.
    void setLVTPath(const QString& path);
    QString lvtPath() const;
    QString assemblerPath;
    AsmBuild& build() { return *build_; }
    AssemblerSettingsForm* setupForm() const { return settingsWindow_; }

    std::uint8_t sourceModified = 0;

    QToolBar* toolBar = nullptr;
    QAction* openButton = nullptr;
    QAction* saveButton = nullptr;
    QAction* compileButton = nullptr;
    QAction* compileAndRunButton = nullptr;
    QAction* settingsButton = nullptr;
    QAction* closeButton = nullptr;
    QAction* newProjectItem = nullptr;
    QAction* openItem = nullptr;
    QAction* saveItem = nullptr;
    QAction* exitItem = nullptr;
    QAction* compileItem = nullptr;
    QAction* compileAndRunItem = nullptr;
    QAction* settingsItem = nullptr;
    AsmEditor* editor = nullptr;
    AsmLexer* lexer = nullptr;
    QMenu* contextMenu = nullptr;
    AsmFindBar* findBar = nullptr;
    QListWidget* referenceList = nullptr;
    QPlainTextEdit* buildLog = nullptr;
    /// Draws the reference list's fields in columns.
    TabbedRowsDelegate& referenceColumns() { return *referenceColumns_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void loadStartState();
    void centreOn(const QWidget& owner);
    void buildActions();
    void buildEditor();
    void buildPopupMenu();
    void loadReference();
    void askToSaveChanges();
    void sourceChanged();
    /// Offers the entries that begin with what lies between the popup's
    /// start and the cursor; closes it when none does.
    void narrowCompletion();
    void fillCompletion(const QString& typed);
    void acceptCompletion();
    bool saveTo(const QString& path);
    /// False, after saying why, when the editor's text is too large to build.
    bool sourceFitsTheBuild();
    template <typename F>
    void guarded(F&& f);

    // AsmBuildHost
    void clearLog() override;
    void appendLog(std::string_view line) override;
    void showError(std::string_view text) override;
    std::span<const std::uint8_t> assemblerImage() override;

    kit::WindowHost& host_;
    platform::PosixProcessRunner runner_;
    std::unique_ptr<AsmBuild> build_;
    AssemblerSettingsForm* settingsWindow_ = nullptr;
    TabbedRowsDelegate* referenceColumns_ = nullptr;
    QByteArray assembler_;
    /// The open popup: where its word starts, and what each line inserts.
    AsmCompletionPopup* completion_ = nullptr;
    int completionStart_ = -1;
    QStringList completionInserts_;
};

} // namespace ostrovik::tools
