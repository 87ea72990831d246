#include "ui/TapeOpenDialog.hpp"

namespace ostrovik::ui {

const QString& TapeOpenDialog::title()
{
    static const QString title = QStringLiteral("Открыть файл образа ПК-RAZAV");
    return title;
}

const QString& TapeOpenDialog::filter()
{
    static const QString filter = QStringLiteral("*.lv*;*.sav (*.lv* *.sav)");
    return filter;
}

const QString& TapeOpenDialog::defaultSuffix()
{
    static const QString suffix = QStringLiteral("lvt");
    return suffix;
}

} // namespace ostrovik::ui
