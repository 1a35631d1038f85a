#include "PictureJob.h"

#include "PictureCodecs.h"

#include <atomic>
#include <thread>

namespace pictra::platform::pictures {

namespace {

std::atomic<int> g_running{0};

}  // namespace

struct PictureJob::State {
    std::atomic<bool> done{false};
    std::atomic<bool> abandoned{false};
    LoadedPicture picture;
    std::exception_ptr failure;
};

PictureJob::PictureJob(std::function<LoadedPicture()> work) : m_state(std::make_shared<State>()) {
    ++g_running;
    // The thread holds the state itself, so that it may outlive every handle.
    std::thread([state = m_state, work = std::move(work)] {
        setDecodeAbandonFlag(&state->abandoned);
        try {
            state->picture = work();
        } catch (...) {
            state->failure = std::current_exception();
        }
        setDecodeAbandonFlag(nullptr);
        state->done.store(true, std::memory_order_release);
        --g_running;
    }).detach();
}

PictureJob::~PictureJob() { abandon(); }

void PictureJob::abandon() { m_state->abandoned.store(true, std::memory_order_relaxed); }

bool PictureJob::ready() const { return m_state->done.load(std::memory_order_acquire); }

const LoadedPicture& PictureJob::result() const {
    if (m_state->failure) std::rethrow_exception(m_state->failure);
    return m_state->picture;
}

LoadedPicture PictureJob::takeResult() {
    if (m_state->failure) std::rethrow_exception(m_state->failure);
    LoadedPicture out = std::move(m_state->picture);
    m_state->picture = LoadedPicture{};
    return out;
}

int PictureJob::running() { return g_running.load(); }

}  // namespace pictra::platform::pictures
