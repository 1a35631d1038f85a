#pragma once

namespace pictra::ui {

// Start-up of the whole program; returns the exit code.
int runApplication(int argc, char** argv);

}  // namespace pictra::ui
