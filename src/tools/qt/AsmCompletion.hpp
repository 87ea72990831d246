#pragma once

#include <QColor>
#include <QFrame>
#include <QList>
#include <QString>

class QLabel;
class QListWidget;

namespace ostrovik::tools {

/// The workbench's completion popup: a bold "Команда" title over a list of
/// instruction forms, each shown as "операция", the text it inserts in bold
/// and what it does; seven lines high, 400 pixels wide, the chosen line in
/// red. It never takes the keys: the editor keeps them and hands the
/// popup's own (the arrows, Enter, Tab, Esc) to it while it is shown.
class AsmCompletionPopup : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 400;
    static constexpr int kVisibleLines = 7;
    /// The chosen line: red on the desktop's colour of an inactive title
    /// bar (its standard value on the home platform).
    static constexpr QColor kChosenText{0xFF, 0x00, 0x00};
    static constexpr QColor kChosenBackground{0xBF, 0xCD, 0xDB};

    struct Entry {
        QString insert;      ///< what accepting it puts into the text
        QString description; ///< what the instruction does
    };

    explicit AsmCompletionPopup(QWidget* owner);

    /// Fills the list and chooses its first line.
    void setEntries(const QList<Entry>& entries);
    int count() const;
    int current() const;

    /// Shows the popup with its top left corner at @p below (global), or
    /// with its bottom at @p above when there is no room below; always
    /// whole on the screen.
    void showAt(QPoint below, QPoint above);

    /// Moves the choice for an arrow or page key; false for other keys.
    bool moveFor(int key);

    QLabel* title() const { return title_; }
    QListWidget* list() const { return list_; }

signals:
    /// A line was double-clicked.
    void activated(int row);

private:
    void fitToRows();

    QLabel* title_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace ostrovik::tools
