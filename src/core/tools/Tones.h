#pragma once

#include <cstdint>
#include <vector>

#include "settings/SettingsStore.h"

namespace pictra {

inline constexpr int kToneSampleRate = 22050;
inline constexpr double kErrorTone = 220.0;
inline constexpr double kCompletionTone = 440.0;
inline constexpr double kHighSignal = 880.0;

// Mono 16-bit sine PCM at 22050 samples per second; amplitude volume × 32.
std::vector<std::int16_t> synthesizeTone(double frequency, int durationMs, int volume);

// Plays PCM without holding up the caller; silent where there is no sound device.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(std::vector<std::int16_t> samples) = 0;
};

// The program's signal tones, with length and volume from the settings.
class Tones {
public:
    Tones(const SettingsStore& store, Sound& sound) : m_store(store), m_sound(sound) {}

    void tone(double frequency);
    // 440, 528 and 660 Hz, as before every information box.
    void chime();
    void errorTone() { tone(kErrorTone); }
    void completionTone() { tone(kCompletionTone); }

    // "Ton abschalten".
    void setMuted(bool muted) { m_muted = muted; }
    bool muted() const { return m_muted; }

private:
    void playSequence(std::initializer_list<double> frequencies);

    const SettingsStore& m_store;
    Sound& m_sound;
    bool m_muted = false;
};

}  // namespace pictra
