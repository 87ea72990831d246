#pragma once

#include "platform/WaveOut.hpp"

namespace ostrovik::output::sound {

/// A PostCall that runs each call on the GUI thread as a queued call, in the
/// order posted. The application object must outlive every user.
platform::PostCall postToGuiThread();

} // namespace ostrovik::output::sound
