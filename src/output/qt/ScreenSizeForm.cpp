#include "output/qt/ScreenSizeForm.hpp"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <limits>
#include <utility>

namespace ostrovik::output {

namespace {

QSpinBox* makeSizeBox(QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    box->setValue(256);
    return box;
}

} // namespace

ScreenSizeForm::ScreenSizeForm(SetClientSize setClientSize, QWidget* parent)
    : QDialog(parent, Qt::Tool), setClientSize_(std::move(setClientSize))
{
    setWindowTitle(QStringLiteral("SetupScreenSize"));

    widthLabel = new QLabel(QStringLiteral("Ширина"), this);
    heightLabel = new QLabel(QStringLiteral("Высота"), this);
    heightBox = makeSizeBox(this);
    widthBox = makeSizeBox(this);
    okButton = new QPushButton(QStringLiteral("OK"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(heightLabel, 0, 1);
    grid->addWidget(heightBox, 1, 0);
    grid->addWidget(widthBox, 1, 1);
    grid->addWidget(okButton, 2, 0, 1, 2, Qt::AlignHCenter);

    connect(okButton, &QPushButton::clicked, this, &ScreenSizeForm::apply);
}

void ScreenSizeForm::apply()
{
    // Crossed on purpose: the left box, under "Ширина", sets the height.
    if (setClientSize_)
        setClientSize_(widthBox->value(), heightBox->value());
    close();
}

} // namespace ostrovik::output
