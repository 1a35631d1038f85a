#pragma once

#include <functional>
#include <string>
#include <vector>

// Outside programs run for a result (converters): found in the program folder
// first, then on PATH, started with an argument vector, never blocking the window.
namespace pictra::platform {

// `programFolder`/`name` when it is an executable file there, else the one on PATH; empty when neither.
std::string findOutsideProgram(const std::string& name, const std::string& programFolder);

struct OutsideRun {
    bool started = false;
    bool cancelled = false;  // ended by the user; the program was killed
    int exitCode = -1;
    std::string errors;  // the end of what it wrote to its error output (a flood is cut to its end)
};

// Runs the program in `folder` while `keepGoing` is asked between short waits (the
// cancel window steps there); false from it kills the program.
OutsideRun runOutsideProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder, const std::function<bool()>& keepGoing);

}  // namespace pictra::platform
