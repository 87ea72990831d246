#include "ui/DesktopServices.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "platform/Cp1251.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/LineEnds.hpp"

namespace ostrovik::ui {

std::optional<std::string> DesktopClipboard::text()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    const QString text = clipboard->text();
    if (text.isNull())
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4())
        bytes.push_back(static_cast<char>(platform::unicodeToCp1251(c).value_or('?')));
    return platform::crLfLineEnds(bytes);
}

std::string firstDroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    // The address carries the name's bytes percent-encoded; read as text,
    // as QUrl::toLocalFile reads them, a name that is not UTF-8 would lose
    // its bytes. A host is kept as toLocalFile keeps it.
    const QUrl& url = urls.first();
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!url.host().isEmpty())
        path.prepend("//" + url.host(QUrl::FullyEncoded).toLatin1());
    // No file's name holds a zero byte; the system would read a shorter one.
    if (path.contains('\0'))
        return {};
    return path.toStdString();
}

namespace {

class ActiveLayout final : public machine::KeyboardLayout {
public:
    std::string activeLayoutName() const override { return platform::activeKeyboardLayout().name(); }
    void activateLayout(std::string_view name) override { platform::activeKeyboardLayout().load(name); }
};

} // namespace

machine::KeyboardLayout& desktopKeyboardLayout()
{
    static ActiveLayout layout;
    return layout;
}

} // namespace ostrovik::ui
