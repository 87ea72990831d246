#include "tools/qt/TSetupAssemblerForm.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "tools/qt/AsmOptions.hpp"
#include "tools/qt/TAssemblerForm.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/Settings.hpp"
#include "ui/kit/CentreOnOwner.hpp"

namespace ostrovik::tools {

namespace {
constexpr std::string_view kSection = "AssemblerOptions";
}

TSetupAssemblerForm::TSetupAssemblerForm(TAssemblerForm& workbench)
    : QWidget(&workbench, Qt::Tool), workbench_(workbench)
{
    setObjectName(QStringLiteral("SetupAssemblerForm"));
    setWindowTitle(QStringLiteral("SetupAssembler"));
    resize(kClientWidth, kClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Path"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Highliting"));

    Label1 = new QLabel(QStringLiteral("Path other compiler"), TabSheet1);
    Edit1 = new QLineEdit(TabSheet1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2 = new QLabel(QStringLiteral("Path for save LVT and LST file"), TabSheet1);
    Edit2 = new QLineEdit(TabSheet1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Button2 = new QPushButton(QStringLiteral("..."), TabSheet1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedWidth(32);
    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(Label1);
    page->addWidget(Edit1);
    page->addSpacing(8);
    page->addWidget(Label2);
    auto* row = new QHBoxLayout;
    row->addWidget(Edit2);
    row->addWidget(Button2);
    page->addLayout(row);
    page->addStretch();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(QStringLiteral("Cancel"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TSetupAssemblerForm::fillFromIni()
{
    Edit1->setText(ui::ReadIni(kSection, "AssPath"));
    Edit2->setText(ui::ReadIni(kSection, "LVTPath"));
}

void TSetupAssemblerForm::ShowFromWorkbench()
{
    const QWidget* owner = parentWidget();
    if (owner && !isVisible())
        ui::CentreOnOwner(*this, *owner);
    show();
    raise();
    activateWindow();
    fillFromIni();
}

void TSetupAssemblerForm::Button1Click()
{
    Edit2->setText(NormalisedLvtPath(Edit2->text()));
    ui::WriteIni(kSection, "AssPath", Edit1->text(), this);
    ui::WriteIni(kSection, "LVTPath", Edit2->text(), this);
    workbench_.setLVTPath(Edit2->text());
    hide();
}

void TSetupAssemblerForm::Button2Click()
{
    if (const std::optional<QString> folder = ui::dialogs().chooseFolder(this, QString(), QStringLiteral("/")))
        Edit2->setText(*folder);
}

void TSetupAssemblerForm::Button3Click()
{
    fillFromIni();
    hide();
}

} // namespace ostrovik::tools
