#include "ui/window/sound_player.h"

#include <QAudioDevice>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>

#include <cmath>

namespace nusari {

namespace {

// A 120 ms tone of 880 Hz as a 16-bit mono WAV file.
QByteArray beepWave() {
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate * 120 / 1000;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto tag = [&out](const char* four) { out.writeRawData(four, 4); };
    tag("RIFF");
    out << quint32(36 + kSamples * 2);
    tag("WAVE");
    tag("fmt ");
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kRate) << quint32(kRate * 2) << quint16(2)
        << quint16(16);
    tag("data");
    out << quint32(kSamples * 2);
    for (int i = 0; i < kSamples; ++i) {
        const double fade = std::min(1.0, (kSamples - i) / 400.0);
        out << qint16(std::lround(9000 * fade * std::sin(2 * M_PI * 880 * i / kRate)));
    }
    return data;
}

}  // namespace

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

namespace nusari {

QSoundEffect* SoundPlayer::effectFor(const QString& path) {
    std::unique_ptr<QSoundEffect>& effect = countdown_[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path));
    }
    return effect.get();
}

void SoundPlayer::countdown(int second) {
    if (QMediaDevices::defaultAudioOutput().isNull()) return;
    const QString voice = folder_ + QStringLiteral("/oto/byoyomi/%1.wav").arg(second);
    if (QFileInfo::exists(voice)) {
        effectFor(voice)->play();
        return;
    }
    if (!beep_) {
        beep_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/nusari-beep-XXXXXX.wav"));
        if (!beep_->open() || beep_->write(beepWave()) < 0 || !beep_->flush()) return;
    }
    effectFor(beep_->fileName())->play();
}

}  // namespace nusari
