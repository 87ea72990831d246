#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/NewFile.hpp"
#include "files/avi/AviCodecs.hpp"
#include "files/avi/AviError.hpp"

namespace ostrovik::files::avi {

class AviFile;
struct AviFileFormat;

/// Pixel formats of the class library's bitmaps.
enum class PixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

/// Bits per pixel of @p format; 0 for the device format and custom ones.
int bitsPerPixelOf(PixelFormat format);

/// A frame handed to the writer: top-down rows of blue, green, red bytes
/// (24 bits) or blue, green, red and an unused byte (32 bits).
struct AviFrame {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    int stride = 0; ///< bytes from one row to the next
    const std::uint8_t* bits = nullptr;
};

/// The codec's configuration dialog, shown by configureCompressor: edits the
/// encoder's own options in place and answers whether they were accepted.
class CompressorDialog {
public:
    virtual ~CompressorDialog() = default;
    virtual bool configure(const std::string& title, std::vector<CompressorOption>& options) = 0;
};

/// Turns a sequence of frames into an AVI video file: one video stream,
/// compressed on the fly by an installed encoder, or first written
/// uncompressed into a work file that saveAviFile compresses into the final
/// file. Every failure is thrown as an AviError with the text for the user.
///
/// A recording never replaces a file: initVideo creates its files new, and
/// where a name is taken both the file and its work file take the next
/// free number ("_2", "_3" …), filename and tempFileName then naming them.
class AviWriter {
public:
    /// Progress while frames are written and while the file is saved;
    /// setting abort stops the work.
    using ProgressHandler = std::function<void(AviWriter& writer, std::int32_t frameCount, bool& abort)>;

    /// Frames default to a tenth of the screen's size.
    AviWriter(int screenWidth, int screenHeight);
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Properties.
    std::int32_t height;
    std::int32_t width;
    /// Display time of one frame in milliseconds: 1000 / frameTime frames per second.
    std::int32_t frameTime = 1000;
    /// Stretch each frame over width × height, or centre it at its own size on black.
    bool stretch = true;
    std::string filename;
    /// Without onTheFly the frames go here first; by default a file in the
    /// system's temporary folder.
    std::string tempFileName;
    bool onTheFly = true;
    ProgressHandler onProgress;

    PixelFormat pixelFormat() const { return pixelFormat_; }
    /// Accepts 1, 4, 8, 24 and 32 bits per pixel.
    void setPixelFormat(PixelFormat format);
    const std::string& wavFileName() const { return wavFileName_; }
    /// Empty, or a name with the .wav extension.
    void setWavFileName(const std::string& name);

    // Operations.
    void initVideo();
    void addFrame(const AviFrame& frame);
    void finalizeVideo();
    void saveAviFile();
    /// Chooses the codec by the first four characters of @p fourCc; empty
    /// means no compression.
    void setCompressor(std::string_view fourCc);
    void setQuality(std::int32_t value) { quality = value; }
    /// "No Compression", then one "fourCc name" line per usable encoder.
    void listCompressors(std::vector<std::string>& list) const;
    /// Shows the chosen codec's options in @p parent, if it has any.
    void configureCompressor(CompressorDialog& parent);

    // State.
    std::int32_t frameCount = 0;
    std::string compressorFourCC;
    std::int32_t quality = 5000;
    bool aborted = false;
    bool videoInitialized = false;
    bool finalized = false;
    /// Wave files to add, with their start times; this system adds none.
    std::vector<std::pair<std::string, std::int32_t>> waveFiles;
    /// Options chosen in the codec's configuration dialog.
    std::map<std::string, std::string> chosenCompressorOptions;

private:
    AviFileFormat frameFormat() const;
    void setUpStreamFormat();
    void progress();
    void recompress();
    /// Closes the file being written; the library's result of the close.
    int releaseFile();
    /// The file the frames go into: the output, or the work file.
    const std::string& writtenFileName() const;
    /// Removes the work file and an output file still unwritten.
    void dropCreatedFiles();

    PixelFormat pixelFormat_ = PixelFormat::pf24bit;
    std::string wavFileName_;
    Compressor compressor_;
    std::unique_ptr<AviFile> file_;
    /// The work file this writer created, removed once done with.
    NewFile workFile_;
    /// The output of a recording through the work file, created at its
    /// start so that its name stays ours, and written by the save.
    NewFile reservedOutput_;
    std::vector<std::uint8_t> work_;
    /// A frame could not be written (and that has been said).
    bool writeFailed_ = false;
};

} // namespace ostrovik::files::avi
