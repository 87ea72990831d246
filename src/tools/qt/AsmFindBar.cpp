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
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(QStringLiteral("FindEdit"));
    replaceEdit = new QLineEdit(this);
    replaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    replaceLabel = new QLabel(QStringLiteral("Заменить на:"), this);
    replaceLabel->setObjectName(QStringLiteral("ReplaceLabel"));
    replaceLabel->setBuddy(replaceEdit);
    matchCase = new QCheckBox(QStringLiteral("Aa"), this);
    findButton = new QPushButton(QStringLiteral("Найти"), this);
    replaceButton = new QPushButton(QStringLiteral("Заменить"), this);
    replaceAllButton = new QPushButton(QStringLiteral("Заменить все"), this);
    closeButton = new QPushButton(QStringLiteral("×"), this);
    closeButton->setFixedWidth(24);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* findLabel = new QLabel(QStringLiteral("Найти:"), this);
    findLabel->setBuddy(findEdit);
    layout->addWidget(findLabel);
    layout->addWidget(findEdit, 1);
    layout->addWidget(matchCase);
    layout->addWidget(findButton);
    layout->addWidget(replaceLabel);
    layout->addWidget(replaceEdit, 1);
    layout->addWidget(replaceButton);
    layout->addWidget(replaceAllButton);
    layout->addWidget(closeButton);

    connect(findEdit, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(findButton, &QPushButton::clicked, this, [this] { findNext(); });
    connect(replaceButton, &QPushButton::clicked, this, [this] { replaceOne(); });
    connect(replaceAllButton, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeBar(); });
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
        findEdit->setText(editor_.selectedText());
    replaceLabel->setVisible(replace);
    replaceEdit->setVisible(replace);
    replaceButton->setVisible(replace);
    replaceAllButton->setVisible(replace);
    show();
    findEdit->setFocus();
    findEdit->selectAll();
}

bool AsmFindBar::findFrom(int line, int index, bool wrap)
{
    if (findEdit->text().isEmpty())
        return false;
    return editor_.findFirst(findEdit->text(), false, matchCase->isChecked(), false, wrap, true, line, index,
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
    const Qt::CaseSensitivity cs = matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (editor_.hasSelectedText() && editor_.selectedText().compare(findEdit->text(), cs) == 0)
        editor_.replaceSelectedText(replaceEdit->text());
    return findNext();
}

int AsmFindBar::replaceAll()
{
    if (findEdit->text().isEmpty())
        return 0;
    int count = 0;
    editor_.beginUndoAction();
    // From the top, without wrapping, so that a replacement that contains
    // the text found is not found again.
    bool found = findFrom(0, 0, false);
    while (found) {
        editor_.replaceSelectedText(replaceEdit->text());
        ++count;
        int line = 0, index = 0;
        editor_.getCursorPosition(&line, &index);
        found = findFrom(line, index, false);
    }
    editor_.endUndoAction();
    return count;
}

} // namespace ostrovik::tools
