#pragma once

// Playback devices named by alias, with the command semantics of a media control
// layer: a device is opened on a file under an alias, started by that alias, and
// stays open until it is closed by name. Devices under different aliases play
// side by side.

#include "text/text.h"

#include <QString>

namespace mz {

class AudioPlayer {
  public:
    virtual ~AudioPlayer() = default;

    // Stops and closes the device under alias; false when no device has it.
    virtual bool close(const Text& alias) = 0;
    // Opens the audio file at path under alias; false when the file cannot be
    // opened or the alias is already in use.
    virtual bool open(const QString& path, const Text& alias) = 0;
    // Starts the device under alias; true when playback started.
    virtual bool play(const Text& alias) = 0;
};

} // namespace mz
