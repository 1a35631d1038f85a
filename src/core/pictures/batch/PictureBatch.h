#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "pictures/Bitmap32.h"

// The explorer's picture commands over many files: smaller copies, compressed
// copies and grey copies, each written beside its original under "_" + name.
// The explorer, the command line and the tests all run this one code.
namespace pictra::pictures::batch {

enum class Kind { Resize, Compress, Grey };

struct Request {
    Kind kind = Kind::Resize;
    int percent = 0;  // Resize: percent of width and height (when height is 0)
    int height = 0;   // Resize: the same height for every picture
    int quality = 0;  // Compress: 1 … 100; 0 the encoder's default
    // Compress and Grey: the picture as the expert window holds it, fitted into this
    // working size as that window fits it (never enlarged).
    int workWidth = 0;
    int workHeight = 0;
    bool smooth = false;  // "Beim Verkleinern glätten": resampled instead of dropped rows
    // Resize into this box instead of percent or height (never enlarged, see sizeInBox).
    int fitWidth = 0;
    int fitHeight = 0;
    // The picture's ".jp0" caption burnt into the result, at the result's size.
    bool withCaption = false;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The largest side a result may have (the JPEG limit, and far beyond any screen).
inline constexpr int kMaxSide = 65500;

// "_" + file name beside the original; compressed and grey copies end in ".jpg".
std::string resultPath(Kind kind, const std::string& path);
// The result's size for a picture of width × height, at least 1 × 1; nullopt when
// a side would pass kMaxSide.
std::optional<Size> resultSize(const Request& request, int width, int height);
// Width × height fitted into the box (never enlarged): the side that reaches the box first
// gets its full length, the other one follows in proportion, rounded down, at least 1.
Size sizeInBox(int width, int height, int boxWidth, int boxHeight);
// The percent offered for halving: 50, or what fits the screen when the picture the
// picture window holds is taller than the screen.
int proposedPercent(int screenHeight, int heldPictureHeight);

// A picture as read for the batch: upright, with its EXIF block (JPEG only).
struct Picture {
    Bitmap32 bitmap;
    std::string exif;
    bool damaged = false;  // its data ended early
    // The upright size of the picture in the file when the bitmap was decoded smaller
    // (a JPEG through its DCT scaling); 0 × 0: the bitmap's own size.
    int fullWidth = 0;
    int fullHeight = 0;
};

// The result's size for the picture's upright full size, or nullopt when the reader
// should decode it whole; lets a reader decode a JPEG no larger than needed.
using SizeHint = std::function<std::optional<Size>(int width, int height)>;

struct Encoding {
    bool jpeg = false;  // false: by the target's extension
    int quality = 0;    // JPEG: 1 … 100, 0 the encoder's default
    bool grey = false;
};

// Reading and writing picture files. Called from two threads at once.
class PictureIo {
public:
    virtual ~PictureIo() = default;
    // Throws std::exception with a German text when the file is no readable picture.
    virtual Picture load(const std::string& path) = 0;
    // The same for a result of the hinted size: the bitmap may be smaller than the
    // picture in the file, never smaller than the hint (fullWidth/fullHeight then set).
    virtual Picture load(const std::string& path, const SizeHint& hint) {
        (void)hint;
        return load(path);
    }
    // Writes the whole file or nothing (an existing file stays intact on failure);
    // the EXIF block is adapted to the new pixels. Throws std::exception with a German text.
    virtual void save(const std::string& path, const Bitmap32& bitmap, const Encoding& how,
                      const std::string& exif) = 0;
    // Draws the caption file of the picture at `picturePath` into `result` as the screen
    // shows it over a picture; nothing when the picture has none.
    virtual void drawCaption(Bitmap32& result, const std::string& picturePath) = 0;
};

struct Context {
    PictureIo& io;
    Dialogs& dialogs;
    // Keeps an existing file in the own bin before it is replaced: "" when kept,
    // else the message why it was not (the file is then left alone).
    std::function<std::string(const std::string&)> keepExisting;
};

// One selected file and what becomes of it.
struct Item {
    std::string source;
    std::string target;
    std::string refusal;  // why nothing is written (the target belongs to another file), else ""
};
// The selected picture files in list order with their targets; a target that is
// itself selected, or the target of an earlier file, is refused.
std::vector<Item> planItems(Kind kind, const std::vector<std::string>& selected);

struct Report {
    std::vector<std::string> written;   // targets, in list order
    std::vector<std::string> failures;  // messages, in list order
    bool stopped = false;
};

// Makes the copies, two files at a time, reporting in list order; the cancel window
// (already open) is polled while each file is made and stops before the next one.
Report run(const std::vector<Item>& items, const Request& request, Context& context);

// What the explorer does after a command.
enum class Outcome { Done, Cancelled, NothingSelected };

// The menu commands with their questions, cancel windows and the one window of
// failures at the end. `resizeByHeight`: "Bilder in gleicher Höhe abspeichern".
Outcome resizeCommand(const std::vector<std::string>& selected, bool byHeight, int percentProposal, Request request,
                      Context& context);
Outcome compressCommand(const std::vector<std::string>& selected, Request request, Context& context);
Outcome greyCommand(const std::vector<std::string>& selected, Request request, Context& context);

// The failures as one window: a message box for a few, a text window for many.
void showFailures(const std::vector<std::string>& failures, Dialogs& dialogs);

}  // namespace pictra::pictures::batch
