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
    // `dataFolder` holds oto/.
    explicit SoundPlayer(const QString& dataFolder);
    ~SoundPlayer();
    void play(Sound kind);

  private:
    QString folder_;
    std::unique_ptr<QSoundEffect> piece_;
    std::unique_ptr<QSoundEffect> message_;
};

}  // namespace nusari
