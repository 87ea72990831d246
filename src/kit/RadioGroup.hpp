#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace ostrovik::kit {

/// A framed group of radio buttons laid out in columns, chosen by item index:
/// -1 when none is chosen. Setting an index outside -1 … count-1 keeps it in
/// that range. itemIndexChanged tells of every new index.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int index) const { return buttons_.value(index); }

signals:
    void itemIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();

    QButtonGroup* group_;
    QList<QRadioButton*> buttons_;
    int columns_;
};

} // namespace ostrovik::kit
