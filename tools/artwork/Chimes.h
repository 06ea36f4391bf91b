#pragma once

#include <cstdint>
#include <vector>

#include "storage/Bytes.h"

namespace oplix::artwork {

inline constexpr int kSampleRate = 22050;

// One struck tone: a sine with two overtones that rises within a few milliseconds and then
// dies away exponentially, like a small bell.
struct Tone {
    double start = 0;      // seconds
    double frequency = 0;  // hertz
    double loudness = 0;   // 0..1 of full scale before the whole sound is levelled
    double decay = 0;      // seconds for the tone to fall to 1/e
};

// The tones mixed into `duration` seconds of 16-bit samples at kSampleRate, levelled so that
// the loudest sample reaches `peak` (0..1) of full scale, with a short fade at the end.
std::vector<std::int16_t> MixTones(const std::vector<Tone>& tones, double duration, double peak);

// A RIFF WAVE file: PCM, 16 bits, one channel, kSampleRate.
Bytes EncodeWave(const std::vector<std::int16_t>& samples);

// The soft chime of the last minutes and the clear chime of the time limit.
std::vector<std::int16_t> MinuteWarningChime();
std::vector<std::int16_t> TimeUpChime();

}  // namespace oplix::artwork
