#include "speech_answer.h"

#include "query_string.h"
#include "silent_mp3.h"

#include <algorithm>

namespace mz::sim {

SpeechAnswer speechAnswer(const std::string& target, const std::string& appId) {
    auto query = parseQuery(target);
    const std::string& text = query["text"];
    std::string error;
    if (query["appid"] != appId)
        error = "ArgumentException: Invalid appId";
    else if (query["language"] != "zh-CN")
        error = "ArgumentException: Language name is not supported";
    else if (query["format"] != "audio/mp3")
        error = "ArgumentException: Invalid format";
    else if (text.empty())
        error = "ArgumentException: Text is empty";
    if (!error.empty())
        return {400, "text/plain", error};
    // About the length of reading it: a few characters per 26 ms frame.
    const int frames = std::clamp(static_cast<int>(text.size() / 3), 8, 2000);
    return {200, "audio/mpeg", silentMp3(frames)};
}

} // namespace mz::sim
