#include "ui/ScreenShots.hpp"

#include <stdexcept>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "files/NewFile.hpp"
#include "files/ScreenShot.hpp"
#include "files/TimeStamp.hpp"

namespace ostrovik::ui {

std::optional<QByteArray> encodeScreenShot(const output::FrameBitmap& frame, int index)
{
    const std::optional<std::string_view> extension = files::screenShotExtension(index);
    if (!extension)
        return std::nullopt;

    // A view onto the frame's own bytes, which are blue, green, red per pixel.
    const QImage image(frame.bits.data(), output::FrameBitmap::kWidth, output::FrameBitmap::kHeight,
                       output::FrameBitmap::kBytesPerLine, QImage::Format_BGR888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QByteArray format(extension->data(), static_cast<qsizetype>(extension->size()));
    QImageWriter writer(&buffer, format);
    if (index == files::kScreenShotJpeg)
        writer.setQuality(100);
    if (!writer.write(image))
        throw std::runtime_error("Cannot make the screenshot as " + std::string(*extension) + ": " +
                                 writer.errorString().toStdString());
    return bytes;
}

std::optional<std::string> saveScreenShot(const output::FrameBitmap& frame, int index,
                                          const std::string& programDir,
                                          const std::function<std::string()>& stamp)
{
    const std::optional<QByteArray> bytes = encodeScreenShot(frame, index);
    if (!bytes)
        return std::nullopt;
    const std::filesystem::path path = files::screenShotPath(programDir, *files::screenShotExtension(index), stamp());
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->constData());
    return files::writeNewFile(path, std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes->size())),
                               "screenshot");
}

std::optional<std::string> saveScreenShot(const output::FrameBitmap& frame, int index,
                                          const std::string& programDir)
{
    return saveScreenShot(frame, index, programDir, files::fileTimeStampNow);
}

} // namespace ostrovik::ui
