#include "speech/speech_service.h"

#include "net/http_request.h"
#include "speech/offline_speech.h"
#include "speech/play_audio_file.h"
#include "speech/random_alias.h"
#include "speech/speech_cache.h"
#include "text/url_encoding.h"

#include <QFile>

namespace mz {
namespace {

// Only the head is read: enough to tell audio from an empty file or an error
// page that an earlier version of the cache may have kept. Such a file counts
// as missing, so the text is fetched again and the file replaced.
bool hasUsableCacheFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(16);
    return isAudioData(std::string_view(head.constData(), static_cast<size_t>(head.size())));
}

} // namespace

SpeechService::SpeechService(Text speechBase, Text appId, QString cacheFolder, AudioPlayer& player)
    : speechBase_(std::move(speechBase)), appId_(std::move(appId)),
      cacheFolder_(std::move(cacheFolder)), player_(player) {}

Text SpeechService::requestAddress(const Text& text) const {
    return speechBase_ + "/V2/Http.svc/Speak?language=zh-CN&appid=" + appId_ +
           "&text=" + percentEncode(text, false, true) + "&format=audio/mp3&options=MaxQuality";
}

std::optional<SpeechJob> SpeechService::prepare(const Text& text) const {
    if (trim(text).empty())
        return std::nullopt;
    SpeechJob job;
    job.path = speechCachePath(cacheFolder_, text, isOffline() ? wavExtension : mp3Extension);
    if (job.path.isEmpty())
        return std::nullopt;
    job.text = text;
    if (!isOffline())
        job.address = requestAddress(text);
    return job;
}

bool SpeechService::fill(const SpeechJob& job) {
    if (hasUsableCacheFile(job.path))
        return true;
    const Bytes audio = job.address.empty() ? synthesizeWav(job.text) : httpRequestEx(job.address);
    return writeSpeechCache(job.path, audio);
}

bool SpeechService::play(const SpeechJob& job) {
    return hasUsableCacheFile(job.path) && playAudioFile(player_, job.path, randomAlias());
}

void SpeechService::speakText(const Text& text) {
    const std::optional<SpeechJob> job = prepare(text);
    if (!job)
        return;
    fill(*job);
    play(*job);
}

void SpeechService::speakText(const Text& text, const BackgroundRunner& runInBackground) {
    std::optional<SpeechJob> job = prepare(text);
    if (!job)
        return;
    if (hasUsableCacheFile(job->path)) {
        play(*job);
        return;
    }
    auto shared = std::make_shared<const SpeechJob>(std::move(*job));
    runInBackground([shared] { fill(*shared); }, [this, shared] { play(*shared); });
}

} // namespace mz
