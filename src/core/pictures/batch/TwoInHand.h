#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <optional>
#include <vector>

// Picture files worked two at a time (one per core) while the window thread keeps
// the cancel window alive; what becomes of each file is told in list order.
namespace pictra::pictures::batch {

template <class Outcome>
struct TwoInHandSteps {
    // On the window thread before a file is handed out: its outcome when nothing is to be
    // made (a refusal), else nullopt.
    std::function<std::optional<Outcome>(std::size_t)> settled;
    // On a worker thread: the file made.
    std::function<Outcome(std::size_t)> make;
    // On the window thread while file i is awaited, at least once per file: true stops
    // (no further file is handed out; the files in hand finish and are told).
    std::function<bool(std::size_t)> poll;
    // On the window thread, in list order.
    std::function<void(std::size_t, Outcome)> done;
};

// Returns true when a poll stopped the run.
template <class Outcome>
bool runTwoInHand(std::size_t count, const TwoInHandSteps<Outcome>& steps) {
    std::vector<std::optional<Outcome>> settled(count);
    std::vector<std::future<Outcome>> jobs(count);
    std::size_t launched = 0;
    int running = 0;
    bool stopped = false;
    auto launchMore = [&] {
        while (launched < count && running < 2 && !stopped) {
            settled[launched] = steps.settled(launched);
            if (!settled[launched]) {
                const std::size_t i = launched;
                jobs[i] = std::async(std::launch::async, [&steps, i] { return steps.make(i); });
                ++running;
            }
            ++launched;
        }
    };
    auto poll = [&](std::size_t i) {
        if (!stopped && steps.poll(i))
            stopped = true;
    };
    launchMore();
    for (std::size_t i = 0; i < launched; ++i) {
        Outcome outcome;
        if (settled[i]) {
            outcome = std::move(*settled[i]);
            settled[i].reset();
            poll(i);
        } else {
            bool stepped = false;
            // The window stays alive while the file is made; a click lets the files in hand finish.
            while (jobs[i].wait_for(std::chrono::milliseconds(stepped ? 30 : 0)) != std::future_status::ready) {
                stepped = true;
                poll(i);
            }
            if (!stepped)
                poll(i);
            outcome = jobs[i].get();
            --running;
        }
        steps.done(i, std::move(outcome));
        launchMore();
    }
    return stopped;
}

}  // namespace pictra::pictures::batch
