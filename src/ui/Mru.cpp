#include "ui/Mru.hpp"
#include "platform/qt/FileNames.hpp"

#include <string>

#include <QAction>
#include <QFile>
#include <QMenu>

#include "platform/IniFile.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::ui {

using kit::configFilePath;
using kit::reportUnableToWrite;

namespace {

// The section name is plain ASCII, the same in both encodings.
const std::string kSection(settings::kMruList);

} // namespace

QList<QAction*> readMruList(QMenu& fileMenu, MruFiles& files)
{
    QList<QAction*> added;
    while (fileMenu.actions().size() > kFixedFileMenuItems) {
        QAction* item = fileMenu.actions().at(kFixedFileMenuItems);
        fileMenu.removeAction(item);
        // Later: the item may be the one whose click is running now.
        item->deleteLater();
    }
    platform::IniDocument document;
    // An unreadable file reads as an empty list, as a missing one does.
    (void)platform::IniFile(configFilePath()).load(document);
    for (int i = 1; i <= static_cast<int>(files.size()); ++i) {
        const std::string value = document.get(kSection, std::to_string(i)).value_or(std::string());
        if (value.empty())
            break;
        const QString path = platform::fileNameText(value);
        files[static_cast<std::size_t>(i - 1)] = path;
        added.append(appendMruMenuItem(fileMenu, path, i));
    }
    return added;
}

QAction* appendMruMenuItem(QMenu& fileMenu, const QString& fileName, int position)
{
    // "&" would turn the next letter into an accelerator; show the path as it is.
    QString caption = fileName;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    auto* item = new QAction(caption, &fileMenu);
    item->setObjectName(QStringLiteral("MruItem%1").arg(position));
    item->setStatusTip(fileName);
    item->setToolTip(fileName);
    item->setData(position);
    fileMenu.addAction(item);
    return item;
}

bool saveMruList(const MruFiles& files, QWidget* parent)
{
    const platform::IniFile file(configFilePath());
    platform::IniDocument document;
    platform::IniStatus status = file.load(document);
    for (std::size_t i = 0; status && i < files.size(); ++i)
        status = document.set(kSection, std::to_string(i + 1), platform::fileNamePath(files[i]));
    if (status)
        status = file.save(document);
    if (!status)
        reportUnableToWrite(parent, status.message);
    return static_cast<bool>(status);
}

void pushMruFile(MruFiles& files, const QString& fileName)
{
    for (std::size_t i = files.size() - 1; i > 0; --i)
        files[i] = files[i - 1];
    files[0] = fileName;
}

QString mruItemPath(const QAction& item)
{
    return item.statusTip();
}

} // namespace ostrovik::ui
