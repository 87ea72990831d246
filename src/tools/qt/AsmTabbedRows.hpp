#pragma once

#include <QList>
#include <QStyledItemDelegate>

class QTextLayout;

namespace ostrovik::tools {

/// Draws list rows whose fields are parted by tab characters in columns:
/// the tab stops are set so that each field of every row starts at the same
/// place, as a list box with tab stops shows them.
class TabbedRowsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// Places the stops after the widest text of each field of @p rows.
    void fitStops(const QStringList& rows, const QFont& font);
    const QList<qreal>& stops() const { return stops_; }

    /// Where each field of @p text starts when drawn in @p font, from the
    /// start of the text.
    QList<qreal> fieldStarts(const QString& text, const QFont& font) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    /// Lays @p text out on one line with the stops.
    void layOut(QTextLayout& layout) const;

    QList<qreal> stops_;
};

} // namespace ostrovik::tools
