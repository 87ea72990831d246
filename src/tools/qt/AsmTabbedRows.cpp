#include "tools/qt/AsmTabbedRows.hpp"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace ostrovik::tools {

namespace {

/// A closing tab moves nothing into view: it is left out of the layout.
QString withoutClosingTabs(QString text)
{
    while (text.endsWith(QLatin1Char('\t')))
        text.chop(1);
    return text;
}

} // namespace

void TabbedRowsDelegate::fitStops(const QStringList& rows, const QFont& font)
{
    const QFontMetricsF metrics(font);
    QList<qreal> widest;
    for (const QString& row : rows) {
        const QStringList fields = withoutClosingTabs(row).split(QLatin1Char('\t'));
        // The last field ends the row; only the ones before a tab need a stop.
        for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
            if (widest.size() <= i)
                widest.append(0);
            widest[i] = std::max(widest[i], metrics.horizontalAdvance(fields[i]));
        }
    }
    const qreal gap = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    stops_.clear();
    qreal at = 0;
    for (const qreal width : widest) {
        at += width + gap;
        stops_.append(at);
    }
}

void TabbedRowsDelegate::layOut(QTextLayout& layout) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    QList<QTextOption::Tab> tabs;
    for (const qreal stop : stops_)
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    option.setTabs(tabs);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setNumColumns(static_cast<int>(layout.text().size()));
    layout.endLayout();
}

QList<qreal> TabbedRowsDelegate::fieldStarts(const QString& text, const QFont& font) const
{
    QTextLayout layout(withoutClosingTabs(text), font);
    layOut(layout);
    QList<qreal> starts{0};
    const QTextLine line = layout.lineAt(0);
    for (qsizetype i = 0; i < layout.text().size(); ++i)
        if (layout.text()[i] == QLatin1Char('\t'))
            starts.append(line.cursorToX(static_cast<int>(i + 1)));
    return starts;
}

void TabbedRowsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const QString text = withoutClosingTabs(opt.text);
    // The style draws the row's background, selection and focus; the text
    // is ours, with the stops.
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    QTextLayout layout(text, opt.font);
    layOut(layout);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setClipRect(textRect);
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const qreal top = textRect.top() + (textRect.height() - layout.lineAt(0).height()) / 2;
    layout.draw(painter, QPointF(textRect.left() + margin, top));
    painter->restore();
}

QSize TabbedRowsDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QTextLayout layout(withoutClosingTabs(opt.text), opt.font);
    layOut(layout);
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    return {static_cast<int>(std::ceil(layout.lineAt(0).naturalTextWidth())) + 2 * margin + 2, base.height()};
}

} // namespace ostrovik::tools
