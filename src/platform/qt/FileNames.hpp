#pragma once

#include <string>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// File names as the file system holds them: bytes, usually UTF-8 but not
/// always. The windows show names as text; these conversions let such text
/// carry any byte sequence there and back unchanged.
namespace ostrovik::platform {

/// The text of a file name. Valid UTF-8 reads as itself; each byte that is
/// not part of a valid sequence becomes the lone low surrogate U+DC00 + byte,
/// so that fileNameBytes gives it back (shown, it is a replacement mark).
QString fileNameText(QByteArrayView bytes);
inline QString fileNameText(const std::string& bytes)
{
    return fileNameText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

/// The bytes of a file name's text: UTF-8, with the surrogates that
/// fileNameText made turned back into their bytes.
QByteArray fileNameBytes(const QString& text);
inline std::string fileNamePath(const QString& text)
{
    return fileNameBytes(text).toStdString();
}

/// The folder that holds the running executable, as the file system names
/// it (no separator at the end); empty when it cannot be found.
std::string executableFolder();

} // namespace ostrovik::platform
