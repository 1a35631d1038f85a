// The explorer's batch picture commands and the gallery's small pictures as whole
// processes, for batch_peer.sh:
//   batch_tool height H [smooth] files…   "_" copies of height H
//   batch_tool gallery H folder           the gallery's small pictures and pages
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "pictures/batch/GalleryCommand.h"
#include "pictures/batch/PictureBatch.h"
#include "platform/pictures/BatchPictureFiles.h"
#include "platform/pictures/GalleryPictureFiles.h"

using namespace pictra;
namespace batch = pictra::pictures::batch;

namespace {

// Nobody to ask: every question says no, lists are confirmed, the cancel window is never clicked.
class Silent : public bench::QuietDialogs {
public:
    void showText(const std::string&, const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool confirmText(const std::string&, const std::string&, const std::string&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: batch_tool height H [smooth] files… | gallery H folder\n");
        return 2;
    }
    const std::string command = argv[1];
    const int height = std::atoi(argv[2]);
    Silent dialogs;
    if (command == "gallery") {
        platform::pictures::GalleryPictureFiles files;
        batch::GalleryRequest request;
        request.folder = argv[3];
        request.smallHeight = height;
        request.date = "11.12.2026";
        return batch::makeGallery(request, files, dialogs).overviewPath.empty() ? 1 : 0;
    }
    int first = 3;
    batch::Request request;
    request.height = height;
    if (std::string(argv[3]) == "smooth") {
        request.smooth = true;
        ++first;
    }
    std::vector<std::string> paths(argv + first, argv + argc);
    platform::pictures::BatchPictureFiles files;
    batch::Context context{files, dialogs, [](const std::string&) { return std::string(); }};
    const batch::Report report = batch::run(batch::planItems(batch::Kind::Resize, paths), request, context);
    for (const auto& failure : report.failures) std::fprintf(stderr, "%s\n", failure.c_str());
    return report.failures.empty() ? 0 : 1;
}
