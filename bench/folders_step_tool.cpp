// Stepping through large photos in "Bilddateien umordnen" (`Form10umb2`), timed by folders_step_peer.sh:
//   folders_step_tool make DIR N   N photos of 6000 x 4000 pixels (24 megapixels, JPEG quality 90)
//   folders_step_tool step DIR     opens the window on DIR, then presses Down once per picture, each time
//                                  as soon as the picture before it is painted: a held key that repeats faster
//                                  than pictures can be decoded, so the decodes ahead never get a head start.
//                                  Prints the milliseconds from each press to its picture painted, then the
//                                  median and the slowest.
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/folders/RenameReorderWindow.h"
#include "platform/pictures/PictureCodecs.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

using namespace pictra;

namespace {

class Mute : public Sound {
public:
    void play(std::vector<std::int16_t>) override {}
};

// Something like a photo for the encoder: soft colour ramps, a fine texture and sensor noise,
// so that the file has the size of a camera's (about 8 MB) rather than of a flat test card.
int make(const std::string& folder, int count) {
    const int width = 6000, height = 4000;
    pictures::Bitmap32 bitmap(width, height);
    unsigned seed = 4711;
    for (int n = 1; n <= count; ++n) {
        for (int y = 0; y < height; ++y) {
            pictures::Color32* row = bitmap.row(y);
            for (int x = 0; x < width; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int noise = static_cast<int>((seed >> 16) % 25) - 12;
                const double wave = 40.0 * std::sin((x + n * 300) * 0.013) * std::cos(y * 0.021 + n);
                auto channel = [&](double base) {
                    return static_cast<std::uint32_t>(std::clamp(static_cast<int>(base + wave) + noise, 0, 255));
                };
                row[x] = 0xFF000000u | channel(60 + 150.0 * x / width) << 16 | channel(90 + 120.0 * y / height) << 8 |
                         channel(200 - 120.0 * (x + y) / (width + height));
            }
        }
        char name[32];
        std::snprintf(name, sizeof name, "/foto%02d.jpg", n);
        std::ofstream(folder + name, std::ios::binary) << platform::pictures::encodeJpeg(bitmap, 90);
    }
    return 0;
}

int step(const std::string& folder, int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SettingsStore store;
    bench::QuietDialogs dialogs;
    Mute mute;
    Tones tones(store, mute);
    explorer::FolderChronicle chronicle;
    CopySession copies;
    ui::ExplorerShared shared{store, dialogs, tones, chronicle, {}, {}, copies, folder + "/papierkorb"};
    auto* window = new ui::RenameReorderWindow(folder, shared, {});
    if (!window->load()) return 1;
    window->show();
    QApplication::processEvents();
    QListWidget* list = window->list();
    list->setCurrentRow(0);
    std::vector<double> steps;
    for (int row = 1; row < list->count(); ++row) {
        const auto start = std::chrono::steady_clock::now();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(list, &down);
        // The picture on the screen, not only in the box: the repaint is part of the step.
        window->repaint();
        const auto end = std::chrono::steady_clock::now();
        if (list->currentRow() != row) return 1;
        steps.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        std::printf("%.1f\n", steps.back());
    }
    window->close();
    delete window;  // its decodes ahead stop here, not in the jump timed next
    // A jump to a picture nobody decoded ahead (a click far down the list) in a window just opened:
    // the decodes ahead for the first picture's neighbours give way to it.
    auto* second = new ui::RenameReorderWindow(folder, shared, {});
    if (!second->load()) return 1;
    second->show();
    second->list()->setCurrentRow(0);
    const auto start = std::chrono::steady_clock::now();
    second->list()->setCurrentRow(second->list()->count() / 2);
    second->repaint();
    const double jump = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    second->close();
    delete second;
    std::sort(steps.begin(), steps.end());
    std::printf("median %.1f ms, slowest %.1f ms over %zu steps; a jump %.1f ms\n", steps[steps.size() / 2],
                steps.back(), steps.size(), jump);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "folders_step_tool make DIR N | step DIR\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "make" && argc == 4) return make(argv[2], std::atoi(argv[3]));
    if (command == "step") return step(argv[2], argc, argv);
    return 2;
}
