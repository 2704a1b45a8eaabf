// The two sounds oto/koma.wav and oto/msg.wav, and the countdown of the
// last seconds of byoyomi (the voice oto/byoyomi/<n>.wav where it is
// present, else a short beep), played asynchronously. A missing file or a
// machine without an audio output plays nothing.
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "aik/ui.h"

class QSoundEffect;
class QTemporaryFile;

namespace nusari {

class SoundPlayer {
  public:
    // `dataFolder` holds oto/.
    explicit SoundPlayer(const QString& dataFolder);
    ~SoundPlayer();
    void play(Sound kind);
    void countdown(int second);

  private:
    QSoundEffect* effectFor(const QString& path);
    QString folder_;
    std::unique_ptr<QSoundEffect> piece_;
    std::unique_ptr<QSoundEffect> message_;
    // The countdown's voices and beep, by file, loaded when first played.
    std::map<QString, std::unique_ptr<QSoundEffect>> countdown_;
    std::unique_ptr<QTemporaryFile> beep_;
};

}  // namespace nusari
