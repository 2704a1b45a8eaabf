#include "ui/window/sound_player.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace nusari {

SoundPlayer::SoundPlayer(const QString& dataFolder) : folder_(dataFolder) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(Sound kind) {
    const bool piece = kind == Sound::Piece;
    if (!piece && kind != Sound::Message) return;
    std::unique_ptr<QSoundEffect>& effect = piece ? piece_ : message_;
    if (!effect) {
        const QString path =
            folder_ + (piece ? QStringLiteral("/oto/koma.wav") : QStringLiteral("/oto/msg.wav"));
        if (!QFileInfo::exists(path) || QMediaDevices::defaultAudioOutput().isNull()) return;
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path));
    }
    effect->play();
}

}  // namespace nusari
