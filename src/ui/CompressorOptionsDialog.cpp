#include "ui/CompressorOptionsDialog.hpp"

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace ostrovik::ui {

bool editCompressorOptions(QWidget* parent, const QString& title, std::vector<files::avi::CompressorOption>& options)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CompressorOptionsDialog"));
    dialog.setWindowTitle(title);
    auto* form = new QWidget;
    auto* rows = new QFormLayout(form);
    std::vector<std::function<std::string()>> readers;
    for (const files::avi::CompressorOption& o : options) {
        const QString value = QString::fromStdString(o.value);
        QWidget* field = nullptr;
        if (o.isFlag) {
            auto* box = new QCheckBox;
            box->setChecked(value == QLatin1String("1") || value == QLatin1String("true"));
            readers.emplace_back([box] { return std::string(box->isChecked() ? "1" : "0"); });
            field = box;
        } else if (!o.choices.empty()) {
            auto* list = new QComboBox;
            list->setEditable(true);
            for (const std::string& c : o.choices)
                list->addItem(QString::fromStdString(c));
            list->setEditText(value);
            readers.emplace_back([list] { return list->currentText().toStdString(); });
            field = list;
        } else {
            auto* line = new QLineEdit(value);
            readers.emplace_back([line] { return line->text().toStdString(); });
            field = line;
        }
        field->setToolTip(QString::fromStdString(o.help));
        rows->addRow(QString::fromStdString(o.name), field);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    dialog.resize(420, 360);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i].value = readers[i]();
    return true;
}

} // namespace ostrovik::ui
