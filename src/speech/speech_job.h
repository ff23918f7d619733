#pragma once

#include "text/text.h"

#include <QString>

namespace mz {

// What one press of "朗读" needs once the text has been read from the window:
// plain values, so the slow part can take a copy to a worker thread.
struct SpeechJob {
    Text text;    // untrimmed, as it stood in the box
    Text address; // the speech request; empty when the speech is made on this machine
    QString path; // the cache file
};

} // namespace mz
