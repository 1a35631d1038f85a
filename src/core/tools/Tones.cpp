#include "Tones.h"

#include <cmath>
#include <numbers>

#include "settings/SettingsForm.h"

namespace pictra {

std::vector<std::int16_t> synthesizeTone(double frequency, int durationMs, int volume) {
    if (durationMs <= 0) return {};
    const auto count = static_cast<size_t>(static_cast<long long>(kToneSampleRate) * durationMs / 1000);
    std::vector<std::int16_t> samples(count, 0);
    if (volume <= 0) return samples;
    const double amplitude = volume * 32.0;
    const double step = 2.0 * std::numbers::pi * frequency / kToneSampleRate;
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(step * static_cast<double>(i))));
    }
    return samples;
}

void Tones::tone(double frequency) { playSequence({frequency}); }

void Tones::chime() { playSequence({440.0, 528.0, 660.0}); }

void Tones::playSequence(std::initializer_list<double> frequencies) {
    const int volume = toneVolume(m_store);
    if (m_muted || volume == 0) return;
    const int ms = toneDurationMs(m_store);
    std::vector<std::int16_t> all;
    for (double f : frequencies) {
        auto part = synthesizeTone(f, ms, volume);
        all.insert(all.end(), part.begin(), part.end());
    }
    if (!all.empty()) m_sound.play(std::move(all));
}

}  // namespace pictra
