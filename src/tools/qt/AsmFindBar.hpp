#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace ostrovik::tools {

/// Find and replace over the editor's own plain-text search, as a bar above
/// the editor rather than a separate dialog.
class AsmFindBar : public QWidget {
    Q_OBJECT
public:
    explicit AsmFindBar(QsciScintilla& editor, QWidget* parent = nullptr);

    /// Shows the bar with the selection (if any) as the text to find; the
    /// replace field only when @p replace.
    void open(bool replace);

    /// Hides the bar and gives the keys back to the editor (also Esc).
    void closeBar();

    /// The next match after the cursor, from the top again after the last.
    bool findNext();
    /// Replaces the current match and finds the next one.
    bool replaceOne();
    /// Replaces every match; the number replaced.
    int replaceAll();

    QLineEdit* findEdit = nullptr;
    QLabel* replaceLabel = nullptr;
    QLineEdit* replaceEdit = nullptr;
    QCheckBox* matchCase = nullptr;
    QPushButton* findButton = nullptr;
    QPushButton* replaceButton = nullptr;
    QPushButton* replaceAllButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    bool findFrom(int line, int index, bool wrap);

    QsciScintilla& editor_;
};

} // namespace ostrovik::tools
