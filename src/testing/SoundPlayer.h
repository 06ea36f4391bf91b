#pragma once

#include <string_view>

namespace oplix {

// The program's own wave sounds.
enum class Sound {
    LastMinutes,  // after each of the last three minutes before the limit
    TimeUp,       // at the limit
};

// The name of the sound's wave resource.
constexpr std::string_view SoundResourceName(Sound sound) {
    return sound == Sound::TimeUp ? "Final" : "Ruch";
}

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Never waits; a new sound cuts the one playing.
    virtual void Play(Sound sound) = 0;
};

}  // namespace oplix
