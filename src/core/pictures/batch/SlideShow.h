#pragma once

#include <string>
#include <vector>

// "Schnelldurchlauf ab ausgewähltem Bild" (with or without repetition).
namespace pictra::pictures::batch {

class SlideShowPort {
public:
    virtual ~SlideShowPort() = default;
    virtual void show(const std::string& path) = 0;
    // Keeps the windows alive for the pause; false once the show was stopped.
    virtual bool pause(long long milliseconds) = 0;
};

// Shows every picture file from `start` to the end of the list, then, with
// `repeat`, again from the first line until stopped. Returns the number shown.
long long slideShow(const std::vector<std::string>& paths, std::size_t start, bool repeat, long long pause,
                    SlideShowPort& port);

}  // namespace pictra::pictures::batch
