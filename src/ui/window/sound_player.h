// The two sounds oto/koma.wav and oto/msg.wav, played asynchronously. A
// missing file or a machine without an audio output plays nothing.
#pragma once

#include <QString>
#include <memory>

#include "aik/ui.h"

class QSoundEffect;

namespace nusari {

class SoundPlayer {
  public:
    explicit SoundPlayer(const QString& programFolder);
    ~SoundPlayer();
    void play(Sound kind);

  private:
    QString folder_;
    std::unique_ptr<QSoundEffect> piece_;
    std::unique_ptr<QSoundEffect> message_;
};

}  // namespace nusari
