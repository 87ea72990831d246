#include "output/qt/SetupScreenSizeForm.hpp"

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

TSetupScreenSizeForm::TSetupScreenSizeForm(SetClientSize setClientSize, QWidget* parent)
    : QDialog(parent, Qt::Tool), setClientSize_(std::move(setClientSize))
{
    setWindowTitle(QStringLiteral("SetupScreenSize"));

    Label1 = new QLabel(QStringLiteral("Ширина"), this);
    Label2 = new QLabel(QStringLiteral("Высота"), this);
    SpinEdit1 = makeSizeBox(this);
    SpinEdit2 = makeSizeBox(this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(SpinEdit1, 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(Button1, 2, 0, 1, 2, Qt::AlignHCenter);

    connect(Button1, &QPushButton::clicked, this, &TSetupScreenSizeForm::Button1Click);
}

void TSetupScreenSizeForm::Button1Click()
{
    // Crossed on purpose: the left box, under "Ширина", sets the height.
    if (setClientSize_)
        setClientSize_(SpinEdit2->value(), SpinEdit1->value());
    close();
}

} // namespace ostrovik::output
