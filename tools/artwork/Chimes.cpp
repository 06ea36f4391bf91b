#include "Chimes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace oplix::artwork {
namespace {

constexpr double kAttack = 0.006;
constexpr double kFadeOut = 0.03;

// Relative loudness of the fundamental and the overtones at 2 and 3 times its frequency.
constexpr double kOvertones[3] = {1.0, 0.28, 0.08};

double ToneAt(const Tone& tone, double t) {
    if (t < 0) {
        return 0;
    }
    const double envelope = t < kAttack ? t / kAttack : std::exp(-(t - kAttack) / tone.decay);
    double wave = 0;
    for (int k = 0; k < 3; ++k) {
        // Higher overtones fade faster, which keeps the tail of each tone soft.
        const double fade = std::exp(-t * k / tone.decay);
        wave +=
            kOvertones[k] * fade * std::sin(2 * std::numbers::pi * tone.frequency * (k + 1) * t);
    }
    return tone.loudness * envelope * wave;
}

void AppendLittleEndian(Bytes& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AppendTag(Bytes& bytes, const char (&tag)[5]) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

}  // namespace

std::vector<std::int16_t> MixTones(const std::vector<Tone>& tones, double duration, double peak) {
    const auto count = static_cast<std::size_t>(duration * kSampleRate);
    std::vector<double> mix(count, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        for (const Tone& tone : tones) {
            mix[i] += ToneAt(tone, t - tone.start);
        }
        const double left = duration - t;
        if (left < kFadeOut) {
            mix[i] *= left / kFadeOut;
        }
    }
    double loudest = 0;
    for (double sample : mix) {
        loudest = std::max(loudest, std::abs(sample));
    }
    const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0;
    std::vector<std::int16_t> samples(count);
    std::transform(mix.begin(), mix.end(), samples.begin(), [scale](double sample) {
        return static_cast<std::int16_t>(std::lround(sample * scale));
    });
    return samples;
}

Bytes EncodeWave(const std::vector<std::int16_t>& samples) {
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    Bytes bytes;
    bytes.reserve(44 + dataSize);
    AppendTag(bytes, "RIFF");
    AppendLittleEndian(bytes, 36 + dataSize, 4);
    AppendTag(bytes, "WAVE");
    AppendTag(bytes, "fmt ");
    AppendLittleEndian(bytes, 16, 4);  // size of the format block
    AppendLittleEndian(bytes, 1, 2);   // PCM
    AppendLittleEndian(bytes, 1, 2);   // one channel
    AppendLittleEndian(bytes, kSampleRate, 4);
    AppendLittleEndian(bytes, kSampleRate * kBytesPerSample, 4);  // bytes a second
    AppendLittleEndian(bytes, kBytesPerSample, 2);                // bytes a frame
    AppendLittleEndian(bytes, 16, 2);                             // bits a sample
    AppendTag(bytes, "data");
    AppendLittleEndian(bytes, dataSize, 4);
    for (std::int16_t sample : samples) {
        AppendLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
    }
    return bytes;
}

// A single quiet tap on a high bell with a fainter echo a fifth above.
std::vector<std::int16_t> MinuteWarningChime() {
    return MixTones({{0.0, 1046.5, 1.0, 0.09}, {0.07, 1568.0, 0.45, 0.08}}, 0.45, 0.35);
}

// A rising C major arpeggio ending on a held high C.
std::vector<std::int16_t> TimeUpChime() {
    return MixTones({{0.00, 523.25, 1.0, 0.30},
                     {0.16, 659.25, 0.9, 0.30},
                     {0.32, 783.99, 0.9, 0.32},
                     {0.48, 1046.50, 1.0, 0.45}},
                    1.6, 0.8);
}

}  // namespace oplix::artwork
