#include "platform/FileNames.hpp"

#include <QCoreApplication>

#include <unistd.h>

namespace ostrovik::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

/// Length of the valid UTF-8 sequence at @p s (0 when there is none) and its
/// code point in @p cp.
int ValidSequence(const unsigned char* s, qsizetype left, char32_t& cp)
{
    const unsigned char b = s[0];
    int length = 0;
    char32_t min = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are no valid UTF-8.
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(QByteArray& out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.append(static_cast<char>(0xC0 | (cp >> 6)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(static_cast<char>(0xE0 | (cp >> 12)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (cp >> 18)));
        out.append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

QString FileNameText(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const int n = ValidSequence(s + i, bytes.size() - i, cp);
        if (n == 0) {
            text.append(QChar(static_cast<char16_t>(kEscapeBase + s[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(cp)));
            text.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            text.append(QChar(static_cast<char16_t>(cp)));
        }
        i += n;
    }
    return text;
}

QByteArray FileNameBytes(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out.append(static_cast<char>(c - kEscapeBase));
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, 0xFFFD); // half a pair that came from elsewhere
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string ExecutableFolder()
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
    return FileNamePath(QCoreApplication::applicationDirPath());
}

} // namespace ostrovik::platform
