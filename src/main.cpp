#include "shell/Application.h"

int main(int argc, char** argv) { return pictra::ui::runApplication(argc, argv); }
