#include "speech/media_audio_player.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace mz {

struct MediaAudioPlayer::Device {
    QAudioOutput output; // declared first: the player goes before its output
    QMediaPlayer player;

    explicit Device(const QString& path) {
        player.setAudioOutput(&output);
        player.setSource(QUrl::fromLocalFile(path));
    }
};

MediaAudioPlayer::MediaAudioPlayer() = default;

MediaAudioPlayer::~MediaAudioPlayer() = default;

bool MediaAudioPlayer::close(const Text& alias) {
    auto device = devices_.find(alias);
    if (device == devices_.end())
        return false;
    device->second->player.stop();
    devices_.erase(device);
    return true;
}

bool MediaAudioPlayer::open(const QString& path, const Text& alias) {
    if (devices_.count(alias) > 0 || !QFileInfo(path).isFile())
        return false;
    auto device = std::make_unique<Device>(path);
    if (device->player.error() != QMediaPlayer::NoError)
        return false;
    devices_.emplace(alias, std::move(device));
    return true;
}

bool MediaAudioPlayer::play(const Text& alias) {
    auto device = devices_.find(alias);
    if (device == devices_.end())
        return false;
    QMediaPlayer& player = device->second->player;
    player.play();
    return player.error() == QMediaPlayer::NoError;
}

} // namespace mz
