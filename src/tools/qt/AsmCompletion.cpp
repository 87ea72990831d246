#include "tools/qt/AsmCompletion.hpp"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace ostrovik::tools {

namespace {

constexpr int kInsertRole = Qt::UserRole;
constexpr int kDescriptionRole = Qt::UserRole + 1;

/// One line: "операция", then in a column of its own the insert text in
/// bold and the description.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QString operation() { return QStringLiteral("  операция "); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool chosen = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, chosen ? AsmCompletionPopup::kChosenBackground
                                              : option.palette.color(QPalette::Base));
        painter->setPen(chosen ? AsmCompletionPopup::kChosenText : option.palette.color(QPalette::Text));
        QFont plain = option.font;
        QFont bold = plain;
        bold.setBold(true);
        const QRect line = option.rect.adjusted(2, 0, -2, 0);
        const int column = QFontMetrics(plain).horizontalAdvance(operation()) + 4;
        painter->setFont(plain);
        painter->drawText(line, Qt::AlignVCenter | Qt::AlignLeft, operation());
        const QString insert = index.data(kInsertRole).toString() + QLatin1Char(' ');
        QRect rest = line.adjusted(column, 0, 0, 0);
        painter->setFont(bold);
        painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft, insert);
        rest.setLeft(rest.left() + QFontMetrics(bold).horizontalAdvance(insert));
        painter->setFont(plain);
        painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft,
                          QLatin1Char(' ') + index.data(kDescriptionRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {AsmCompletionPopup::kWidth, QFontMetrics(option.font).height() + 2};
    }
};

} // namespace

AsmCompletionPopup::AsmCompletionPopup(QWidget* owner)
    : QFrame(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("completionPopup"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);

    title_ = new QLabel(QStringLiteral("Команда"), this);
    title_->setObjectName(QStringLiteral("CompletionTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setContentsMargins(4, 1, 4, 1);
    title_->setAutoFillBackground(true);
    title_->setBackgroundRole(QPalette::Button);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("CompletionList"));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFrameStyle(QFrame::NoFrame);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setItemDelegate(new EntryDelegate(list_));
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit activated(list_->row(item));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(title_);
    layout->addWidget(list_);

    fitToRows();
}

void AsmCompletionPopup::fitToRows()
{
    // Seven whole lines under the title, in the fonts the style has settled
    // on, and the popup as tall as its layout needs with its border and
    // margins: a height summed by hand left the last line under the border.
    ensurePolished();
    list_->ensurePolished();
    title_->ensurePolished();
    const int lineHeight = QFontMetrics(list_->font()).height() + 2;
    list_->setFixedHeight(kVisibleLines * lineHeight + 2 * list_->frameWidth());
    setFixedSize(kWidth, layout()->totalSizeHint().height());
}

void AsmCompletionPopup::setEntries(const QList<Entry>& entries)
{
    list_->clear();
    for (const Entry& e : entries) {
        // The line's text is what a screen reader or a search would use.
        auto* item = new QListWidgetItem(EntryDelegate::operation() + e.insert + QStringLiteral("  ") + e.description);
        item->setData(kInsertRole, e.insert);
        item->setData(kDescriptionRole, e.description);
        list_->addItem(item);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
}

int AsmCompletionPopup::count() const
{
    return list_->count();
}

int AsmCompletionPopup::current() const
{
    return list_->currentRow();
}

void AsmCompletionPopup::showAt(QPoint below, QPoint above)
{
    fitToRows();
    const QScreen* screen = QGuiApplication::screenAt(below);
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen->availableGeometry();
    QPoint at = below;
    if (at.y() + height() > room.bottom() + 1 && above.y() - height() >= room.top())
        at.setY(above.y() - height());
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - height())));
    move(at);
    show();
    raise();
    if (list_->currentItem())
        list_->scrollToItem(list_->currentItem());
}

bool AsmCompletionPopup::moveFor(int key)
{
    const int last = list_->count() - 1;
    if (last < 0)
        return false;
    int row = list_->currentRow();
    switch (key) {
    case Qt::Key_Up: row -= 1; break;
    case Qt::Key_Down: row += 1; break;
    case Qt::Key_PageUp: row -= kVisibleLines - 1; break;
    case Qt::Key_PageDown: row += kVisibleLines - 1; break;
    default: return false;
    }
    list_->setCurrentRow(std::clamp(row, 0, last));
    return true;
}

} // namespace ostrovik::tools
