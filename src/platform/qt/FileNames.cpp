#include "platform/qt/FileNames.hpp"

#include <QCoreApplication>

#include "platform/Utf8.hpp"

#include <unistd.h>

namespace ostrovik::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

} // namespace

QString fileNameText(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const std::string_view s(bytes.data(), static_cast<std::size_t>(bytes.size()));
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> cp = nextCodePoint(s, i);
        if (!cp) {
            // Only the first byte is given up on; the next may start a sequence.
            text.append(QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(s[start]))));
            i = start + 1;
        } else if (*cp >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(*cp)));
            text.append(QChar(QChar::lowSurrogate(*cp)));
        } else {
            text.append(QChar(static_cast<char16_t>(*cp)));
        }
    }
    return text;
}

QByteArray fileNameBytes(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += static_cast<char>(c - kEscapeBase);
        } else if (QChar::isSurrogate(c)) {
            appendUtf8(out, 0xFFFD); // half a pair that came from elsewhere
        } else {
            appendUtf8(out, c);
        }
    }
    return QByteArray::fromStdString(out);
}

std::string executableFolder()
{
    // The kernel's link names the executable by its own bytes.
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n > 0 && static_cast<std::size_t>(n) < path.size()) {
        path.resize(static_cast<std::size_t>(n));
        const auto slash = path.rfind('/');
        if (slash != std::string::npos)
            return slash == 0 ? std::string("/") : path.substr(0, slash);
    }
    return fileNamePath(QCoreApplication::applicationDirPath());
}

} // namespace ostrovik::platform
