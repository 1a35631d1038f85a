#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "PictureFiles.h"

namespace pictra::platform::pictures {

// A picture decoded on a thread of its own. Nobody ever waits for that thread:
// a job no longer wanted (the user stepped on, the program ends) is told so when
// its last handle goes, its decoder stops between rows, and the result is dropped.
class PictureJob {
public:
    explicit PictureJob(std::function<LoadedPicture()> work);
    // The last handle gone, the decoder stops between row bands.
    ~PictureJob();
    PictureJob(const PictureJob&) = delete;
    PictureJob& operator=(const PictureJob&) = delete;
    // Nobody wants the picture any longer: the decoder stops at its next row band.
    void abandon();

    bool ready() const;
    // The decoded picture, or the decoder's exception thrown again; only once ready().
    const LoadedPicture& result() const;
    // The same moved out, so that a huge picture never lives twice; the job keeps an empty one.
    LoadedPicture takeResult();
    // Decoder threads still running in the process (the program's end skips them).
    static int running();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace pictra::platform::pictures
