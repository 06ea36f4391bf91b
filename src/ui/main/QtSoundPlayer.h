#pragma once

#include <QObject>
#include <array>

#include "testing/SoundPlayer.h"

class QSoundEffect;

namespace oplix::ui {

// Plays the program's wave resources without waiting. A new sound cuts the one playing. With
// no audio output, or without the sound's resource, it stays silent.
class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject* parent = nullptr);

    // Looks for an audio output and loads both sounds. The program calls it once the main
    // window is on screen, so that the audio system's start does not delay the window; Play
    // calls it when it has not run yet.
    void Load();

    void Play(Sound sound) override;
    // False when there is no audio output: every sound is then skipped.
    bool HasOutput() const { return hasOutput_; }

private:
    QSoundEffect* EffectFor(Sound sound);

    bool loaded_ = false;
    bool hasOutput_ = false;
    std::array<QSoundEffect*, 2> effects_{};  // loaded at the start when there is an output
};

}  // namespace oplix::ui
