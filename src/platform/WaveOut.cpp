#include "platform/WaveOut.hpp"

namespace ostrovik::platform {

bool isPlayableFormat(const WaveFormat& f)
{
    return f.formatTag == kWaveFormatPcm && f.bitsPerSample == 8 && (f.channels == 1 || f.channels == 2) &&
           f.samplesPerSec >= 1000 && f.samplesPerSec <= 192000 && f.blockAlign == f.channels &&
           f.avgBytesPerSec == f.samplesPerSec * f.blockAlign && f.extraSize == 0;
}

} // namespace ostrovik::platform
