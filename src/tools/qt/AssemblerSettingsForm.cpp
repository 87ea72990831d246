#include "tools/qt/AssemblerSettingsForm.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "tools/qt/AsmOptions.hpp"
#include "tools/qt/AssemblerWorkbench.hpp"
#include "kit/Dialogs.hpp"
#include "kit/Settings.hpp"
#include "kit/CentreOnOwner.hpp"

namespace ostrovik::tools {

namespace {
constexpr std::string_view kSection = "AssemblerOptions";
}

AssemblerSettingsForm::AssemblerSettingsForm(AssemblerWorkbench& workbench)
    : QWidget(&workbench, Qt::Tool), workbench_(workbench)
{
    setObjectName(QStringLiteral("settingsWindow_"));
    setWindowTitle(QStringLiteral("SetupAssembler"));
    resize(kClientWidth, kClientHeight);

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pathTab = new QWidget;
    pathTab->setObjectName(QStringLiteral("pathTab"));
    highlightingTab = new QWidget;
    highlightingTab->setObjectName(QStringLiteral("highlightingTab"));
    pages->addTab(pathTab, QStringLiteral("Path"));
    pages->addTab(highlightingTab, QStringLiteral("Highliting"));

    compilerLabel = new QLabel(QStringLiteral("Path other compiler"), pathTab);
    compilerEdit = new QLineEdit(pathTab);
    compilerEdit->setObjectName(QStringLiteral("compilerEdit"));
    outputLabel = new QLabel(QStringLiteral("Path for save LVT and LST file"), pathTab);
    outputEdit = new QLineEdit(pathTab);
    outputEdit->setObjectName(QStringLiteral("outputEdit"));
    browseButton = new QPushButton(QStringLiteral("..."), pathTab);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setFixedWidth(32);
    auto* page = new QVBoxLayout(pathTab);
    page->addWidget(compilerLabel);
    page->addWidget(compilerEdit);
    page->addSpacing(8);
    page->addWidget(outputLabel);
    auto* row = new QHBoxLayout;
    row->addWidget(outputEdit);
    row->addWidget(browseButton);
    page->addLayout(row);
    page->addStretch();

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(bottom);

    connect(okButton, &QPushButton::clicked, this, [this] { accept(); });
    connect(browseButton, &QPushButton::clicked, this, [this] { browseOutputFolder(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
}

void AssemblerSettingsForm::fillFromSettings()
{
    compilerEdit->setText(kit::readIni(kSection, "AssPath"));
    outputEdit->setText(kit::readIni(kSection, "LVTPath"));
}

void AssemblerSettingsForm::showFromWorkbench()
{
    const QWidget* owner = parentWidget();
    if (owner && !isVisible())
        kit::centreOnOwner(*this, *owner);
    show();
    raise();
    activateWindow();
    fillFromSettings();
}

void AssemblerSettingsForm::accept()
{
    outputEdit->setText(normalisedLvtPath(outputEdit->text()));
    kit::writeIni(kSection, "AssPath", compilerEdit->text(), this);
    kit::writeIni(kSection, "LVTPath", outputEdit->text(), this);
    workbench_.setLVTPath(outputEdit->text());
    hide();
}

void AssemblerSettingsForm::browseOutputFolder()
{
    if (const std::optional<QString> folder = kit::dialogs().chooseFolder(this, QString(), QStringLiteral("/")))
        outputEdit->setText(*folder);
}

void AssemblerSettingsForm::cancel()
{
    fillFromSettings();
    hide();
}

} // namespace ostrovik::tools
