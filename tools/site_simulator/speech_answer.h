#pragma once

// What the speech service answers to a request target: MP3 audio for a
// well-formed request, a short text error with status 400 otherwise.

#include <string>

namespace mz::sim {

struct SpeechAnswer {
    int status = 200;
    std::string contentType;
    std::string body;
};

// target: the request target as sent ("/V2/Http.svc/Speak?..."), still escaped.
SpeechAnswer speechAnswer(const std::string& target, const std::string& appId);

} // namespace mz::sim
