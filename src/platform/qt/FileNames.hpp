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
/// so that FileNameBytes gives it back (shown, it is a replacement mark).
QString FileNameText(QByteArrayView bytes);
inline QString FileNameText(const std::string& bytes)
{
    return FileNameText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

/// The bytes of a file name's text: UTF-8, with the surrogates that
/// FileNameText made turned back into their bytes.
QByteArray FileNameBytes(const QString& text);
inline std::string FileNamePath(const QString& text)
{
    return FileNameBytes(text).toStdString();
}

/// The folder that holds the running executable, as the file system names
/// it (no separator at the end); empty when it cannot be found.
std::string ExecutableFolder();

} // namespace ostrovik::platform
