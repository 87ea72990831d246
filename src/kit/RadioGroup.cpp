#include "kit/RadioGroup.hpp"

#include <algorithm>

#include <QButtonGroup>
#include <QRadioButton>

namespace ostrovik::kit {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(columns, 1))
{
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        buttons_.append(button);
    }
    layoutButtons();
    // Told once the new button is checked; a move to none is told by setItemIndex.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, count() - 1);
    if (index < 0) {
        const bool wasChosen = itemIndex() >= 0;
        // An exclusive group never lets its last checked button go by itself.
        group_->setExclusive(false);
        for (QRadioButton* b : buttons_)
            b->setChecked(false);
        group_->setExclusive(true);
        if (wasChosen)
            emit itemIndexChanged(-1);
        return;
    }
    buttons_[index]->setChecked(true);
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

// Items fill the columns top to bottom, the rows sharing the height below the caption.
void RadioGroup::layoutButtons()
{
    if (buttons_.isEmpty())
        return;
    const int rows = (count() + columns_ - 1) / columns_;
    const int top = 14;
    const int inner = width() - 8;
    const int rowHeight = std::max((height() - top - 4) / rows, 1);
    for (int i = 0; i < count(); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        buttons_[i]->setGeometry(4 + column * inner / columns_, top + row * rowHeight, inner / columns_,
                                 rowHeight);
    }
}

} // namespace ostrovik::kit
