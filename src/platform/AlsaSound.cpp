#include "AlsaSound.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace pictra::platform {

namespace {

// ALSA reports a missing device on stderr; the program has nothing to say about it.
void quietErrorHandler(const char*, int, const char*, int, const char*, ...) {}

// Plays in small pieces so that a long tone (the length may be set to 100 s)
// stops at once when the program ends.
void playOnDefaultDevice(const std::vector<std::int16_t>& samples, const std::atomic<bool>& stop) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) return;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kToneSampleRate, 1,
                           100000) == 0) {
        constexpr snd_pcm_uframes_t kPiece = 1024;
        const std::int16_t* data = samples.data();
        auto left = static_cast<snd_pcm_uframes_t>(samples.size());
        while (left > 0 && !stop) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, std::min(left, kPiece));
            if (n < 0) n = snd_pcm_recover(pcm, static_cast<int>(n), 1);
            if (n < 0) break;
            data += n;
            left -= static_cast<snd_pcm_uframes_t>(n);
        }
        if (stop) {
            snd_pcm_drop(pcm);
        } else {
            snd_pcm_drain(pcm);
        }
    }
    snd_pcm_close(pcm);
}

}  // namespace

AlsaSound::AlsaSound() {
    snd_lib_error_set_handler(quietErrorHandler);
    m_worker = std::thread([this] { run(); });
}

AlsaSound::~AlsaSound() {
    m_stopping = true;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

void AlsaSound::play(std::vector<std::int16_t> samples) {
    {
        std::lock_guard lock(m_mutex);
        // A backlog of tones is noise, not information.
        if (m_queue.size() >= 8) return;
        m_queue.push_back(std::move(samples));
    }
    m_wake.notify_one();
}

void AlsaSound::run() {
    while (true) {
        std::vector<std::int16_t> samples;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop) return;
            samples = std::move(m_queue.front());
            m_queue.pop_front();
        }
        playOnDefaultDevice(samples, m_stopping);
    }
}

}  // namespace pictra::platform
