#include "tools/qt/AsmFindBar.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <Qsci/qsciscintilla.h>

namespace ostrovik::tools {

AsmFindBar::AsmFindBar(QsciScintilla& editor, QWidget* parent) : QWidget(parent), editor_(editor)
{
    setObjectName(QStringLiteral("FindBar"));
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    ReplaceLabel = new QLabel(QStringLiteral("Заменить на:"), this);
    ReplaceLabel->setObjectName(QStringLiteral("ReplaceLabel"));
    ReplaceLabel->setBuddy(ReplaceEdit);
    MatchCase = new QCheckBox(QStringLiteral("Aa"), this);
    FindButton = new QPushButton(QStringLiteral("Найти"), this);
    ReplaceButton = new QPushButton(QStringLiteral("Заменить"), this);
    ReplaceAllButton = new QPushButton(QStringLiteral("Заменить все"), this);
    CloseButton = new QPushButton(QStringLiteral("×"), this);
    CloseButton->setFixedWidth(24);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* findLabel = new QLabel(QStringLiteral("Найти:"), this);
    findLabel->setBuddy(FindEdit);
    layout->addWidget(findLabel);
    layout->addWidget(FindEdit, 1);
    layout->addWidget(MatchCase);
    layout->addWidget(FindButton);
    layout->addWidget(ReplaceLabel);
    layout->addWidget(ReplaceEdit, 1);
    layout->addWidget(ReplaceButton);
    layout->addWidget(ReplaceAllButton);
    layout->addWidget(CloseButton);

    connect(FindEdit, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(FindButton, &QPushButton::clicked, this, [this] { findNext(); });
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { replaceOne(); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { closeBar(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { closeBar(); });
    hide();
}

void AsmFindBar::closeBar()
{
    hide();
    editor_.setFocus();
}

void AsmFindBar::open(bool replace)
{
    if (editor_.hasSelectedText() && !editor_.selectedText().contains(QLatin1Char('\n')))
        FindEdit->setText(editor_.selectedText());
    ReplaceLabel->setVisible(replace);
    ReplaceEdit->setVisible(replace);
    ReplaceButton->setVisible(replace);
    ReplaceAllButton->setVisible(replace);
    show();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

bool AsmFindBar::findFrom(int line, int index, bool wrap)
{
    if (FindEdit->text().isEmpty())
        return false;
    return editor_.findFirst(FindEdit->text(), false, MatchCase->isChecked(), false, wrap, true, line, index,
                             true);
}

bool AsmFindBar::findNext()
{
    int line = 0, index = 0;
    editor_.getCursorPosition(&line, &index);
    return findFrom(line, index, true);
}

bool AsmFindBar::replaceOne()
{
    const Qt::CaseSensitivity cs = MatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (editor_.hasSelectedText() && editor_.selectedText().compare(FindEdit->text(), cs) == 0)
        editor_.replaceSelectedText(ReplaceEdit->text());
    return findNext();
}

int AsmFindBar::replaceAll()
{
    if (FindEdit->text().isEmpty())
        return 0;
    int count = 0;
    editor_.beginUndoAction();
    // From the top, without wrapping, so that a replacement that contains
    // the text found is not found again.
    bool found = findFrom(0, 0, false);
    while (found) {
        editor_.replaceSelectedText(ReplaceEdit->text());
        ++count;
        int line = 0, index = 0;
        editor_.getCursorPosition(&line, &index);
        found = findFrom(line, index, false);
    }
    editor_.endUndoAction();
    return count;
}

} // namespace ostrovik::tools
