#include "pictures/batch/SlideShow.h"

#include "common/PathNames.h"
#include "pictures/PictureNames.h"

namespace pictra::pictures::batch {

long long slideShow(const std::vector<std::string>& paths, std::size_t start, bool repeat, long long pause,
                    SlideShowPort& port) {
    long long shown = 0;
    bool anyPicture = false;
    for (const auto& path : paths) anyPicture = anyPicture || isPictureFile(pathnames::fileNamePart(path));
    if (pause <= 0)
        return 0;  // a pause of 0 is the stopped show
    do {
        for (std::size_t i = start; i < paths.size(); ++i) {
            if (!isPictureFile(pathnames::fileNamePart(paths[i])))
                continue;
            port.show(paths[i]);
            ++shown;
            if (!port.pause(pause))
                return shown;
        }
        start = 0;
    } while (repeat && anyPicture);  // a list without pictures never loops
    return shown;
}

}  // namespace pictra::pictures::batch
