#pragma once

#include <string>
#include <vector>

#include "pictures/batch/PictureBatch.h"

// pictra-batch: the command line of the batch picture jobs (resize, compress, grey,
// convert, gallery). Option names are English as in every Linux tool, the texts
// for people German. Parsing and planning touch nothing, so a plan can be shown
// (--dry-run) or refused before a single file is written.
namespace pictra::pictures::batch::cli {

enum class Job { Resize, Compress, Grey, Convert, Gallery };

// Exit codes scripts can rely on.
inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;
inline constexpr int kExitTerminated = 143;

struct Options {
    Job job = Job::Resize;
    // resize: exactly one of these
    int percent = 0;
    int height = 0;
    int fitWidth = 0;  // resize: the box; compress and grey: the working size the expert window fits into
    int fitHeight = 0;
    int quality = 0;     // 0: the job's default
    std::string to;      // convert: "jpg", "png", "gif", "bmp", "tif"
    bool nearest = false;  // --filter nearest: the window's dropped rows instead of Lanczos

    // gallery
    std::string title;  // UTF-8; empty: the wizard's default heading
    std::string name;   // the overview's file name without ".html"
    int smallHeight = 200;
    int perRow = 0;  // > 0: labelled tables of that many pictures
    int border = 1;
    bool navigation = false;
    int navigationHeight = 0;

    // every file job
    std::string outputDir;
    std::string prefix;
    bool prefixGiven = false;
    bool update = false;
    bool overwrite = false;
    bool inPlace = false;
    bool recursive = false;
    std::string filesFrom;
    bool nul = false;
    int jobs = 0;  // 0: one per core
    bool dryRun = false;
    bool strip = false;
    bool stripGps = false;     // only where the photo was taken
    bool withCaption = false;  // the ".jp0" caption burnt into the result
    bool quiet = false;
    bool progress = false;

    std::vector<std::string> inputs;  // the names after the options
};

struct Parsed {
    enum class What { Run, Help, Version, Usage };
    What what = What::Usage;
    Options options;
    std::string message;  // Usage: what was wrong, German, without the program name
};

// `args` as main receives them, args[0] the program name. Uses getopt_long: --opt=value
// and --opt value, bundled short options, "--" ends the options.
Parsed parseCommandLine(const std::vector<std::string>& args);

// "pictra-batch: " + message + the hint to --help, as written to stderr for a wrong invocation.
std::string usageText(const std::string& message);
// The German --help text with examples.
std::string helpText();
std::string versionText(const std::string& version);

// What becomes of one input.
struct PlannedFile {
    enum class State {
        Make,      // written
        UpToDate,  // -u: the result is newer than its original
        LeftOut,   // not written: see message
    };
    std::string source;
    std::string target;
    State state = State::Make;
    std::string message;  // LeftOut: why, German
};

struct Plan {
    std::vector<PlannedFile> files;  // in input order
    // Inputs that are no pictures to work on ("path", "reason"), in input order.
    std::vector<std::pair<std::string, std::string>> problems;
    std::string usageError;  // a refused invocation: nothing may be touched
};

// The inputs: files as named, a folder's pictures (with recursive its subfolders' too,
// never the output folder nor the results of this very job), names in byte order.
// Results, existing files, -u, --overwrite and --in-place decide each file's state.
Plan makePlan(const Options& options, const std::vector<std::string>& names);

// The name a source's result gets.
std::string targetFor(const Options& options, const std::string& source);

// The names of a --files-from file: one per line, or NUL-separated with -0.
std::vector<std::string> splitNames(const std::string& bytes, bool nul);

// The request the explorer's command would run with these settings.
Request requestFor(const Options& options);


// The progress line on a terminal and the closing line.
std::string progressLine(std::size_t done, std::size_t total, const std::string& name, long long secondsLeft);
std::string summaryLine(std::size_t written, std::size_t upToDate, std::size_t failed, bool interrupted);

}  // namespace pictra::pictures::batch::cli
