#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/Tones.h"

namespace pictra::platform {

// Plays tones through ALSA's default device on a worker thread, one after the
// other, so the window never waits for a tone. Without a device the tones are
// dropped silently.
class AlsaSound : public Sound {
public:
    AlsaSound();
    ~AlsaSound() override;
    AlsaSound(const AlsaSound&) = delete;
    AlsaSound& operator=(const AlsaSound&) = delete;

    void play(std::vector<std::int16_t> samples) override;

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::vector<std::int16_t>> m_queue;
    bool m_stop = false;
    std::atomic<bool> m_stopping{false};
    std::thread m_worker;
};

}  // namespace pictra::platform
