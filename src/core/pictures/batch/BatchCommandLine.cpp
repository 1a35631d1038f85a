#include "pictures/batch/BatchCommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>

#include "common/PathNames.h"
#include "pictures/PictureNames.h"

namespace pictra::pictures::batch::cli {

namespace {

namespace fs = std::filesystem;

const char* const kJobNames[] = {"resize", "compress", "grey", "convert", "gallery"};

// Long options without a short letter get codes above the character range.
enum Code : int {
    kPercent = 256,
    kHeight,
    kFit,
    kQuality,
    kTo,
    kFilter,
    kTitle,
    kName,
    kPerRow,
    kBorder,
    kNavigation,
    kPrefix,
    kOverwrite,
    kInPlace,
    kFilesFrom,
    kStrip,
    kStripGps,
    kWithCaption,
    kProgress,
};

struct OptionInfo {
    const char* name;
    int has;  // no_argument, required_argument, optional_argument
    int code;
    unsigned jobs;  // bit per Job
};

constexpr unsigned bit(Job job) { return 1u << static_cast<unsigned>(job); }
constexpr unsigned kFileJobs = bit(Job::Resize) | bit(Job::Compress) | bit(Job::Grey) | bit(Job::Convert);
constexpr unsigned kAllJobs = kFileJobs | bit(Job::Gallery);

const OptionInfo kOptions[] = {
    {"percent", required_argument, kPercent, bit(Job::Resize)},
    {"height", required_argument, kHeight, bit(Job::Resize) | bit(Job::Gallery)},
    {"fit", required_argument, kFit, bit(Job::Resize) | bit(Job::Compress) | bit(Job::Grey)},
    {"quality", required_argument, kQuality,
     bit(Job::Resize) | bit(Job::Compress) | bit(Job::Convert) | bit(Job::Gallery)},
    {"to", required_argument, kTo, bit(Job::Convert)},
    {"filter", required_argument, kFilter, bit(Job::Resize) | bit(Job::Compress) | bit(Job::Grey)},
    {"title", required_argument, kTitle, bit(Job::Gallery)},
    {"name", required_argument, kName, bit(Job::Gallery)},
    {"per-row", required_argument, kPerRow, bit(Job::Gallery)},
    {"border", required_argument, kBorder, bit(Job::Gallery)},
    {"navigation", optional_argument, kNavigation, bit(Job::Gallery)},
    {"output-dir", required_argument, 'o', kFileJobs},
    {"prefix", required_argument, kPrefix, kFileJobs},
    {"update", no_argument, 'u', kFileJobs},
    {"overwrite", no_argument, kOverwrite, kFileJobs},
    {"in-place", no_argument, kInPlace, kFileJobs},
    {"recursive", no_argument, 'r', kFileJobs},
    {"files-from", required_argument, kFilesFrom, kFileJobs},
    {"null", no_argument, '0', kFileJobs},
    {"jobs", required_argument, 'j', kFileJobs},
    {"dry-run", no_argument, 'n', kFileJobs},
    {"strip", no_argument, kStrip, kFileJobs},
    {"strip-gps", no_argument, kStripGps, kFileJobs},
    {"with-caption", no_argument, kWithCaption, kFileJobs},
    {"quiet", no_argument, 'q', kAllJobs},
    {"progress", no_argument, kProgress, kAllJobs},
    {"help", no_argument, 'h', kAllJobs},
    {"version", no_argument, 'V', kAllJobs},
};

// The leading ":" makes a missing value its own answer.
const char* const kShortOptions = ":o:urj:0nqhV";

const OptionInfo* infoFor(int code) {
    for (const auto& info : kOptions) {
        if (info.code == code)
            return &info;
    }
    return nullptr;
}

std::string shownName(const OptionInfo& info) {
    return info.code < 256 ? std::string("-") + static_cast<char>(info.code) + "/--" + info.name
                           : std::string("--") + info.name;
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// A whole decimal number in [low, high]; no sign, no blanks, no trailing text.
bool parseNumber(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = static_cast<int>(value);
    return true;
}

std::string numberError(const std::string& value, const std::string& option, int low, int high) {
    return inQuotes(value) + " ist für " + inQuotes(option) + " keine Zahl von " + std::to_string(low) + " bis " +
           std::to_string(high) + ".";
}

bool parseBox(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return parseNumber(text.substr(0, x), 1, kMaxSide, width) &&
           parseNumber(text.substr(x + 1), 1, kMaxSide, height);
}

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

Parsed usage(std::string message) {
    Parsed p;
    p.what = Parsed::What::Usage;
    p.message = std::move(message);
    return p;
}

// The option's value into the options; "" when fine, else the message.
std::string apply(int code, const std::string& value, bool hasValue, Options& o) {
    const OptionInfo& info = *infoFor(code);
    const std::string name = std::string("--") + info.name;
    int n = 0;
    switch (code) {
    case kPercent:
        if (!parseNumber(value, 1, 1000000, o.percent))
            return numberError(value, name, 1, 1000000);
        return {};
    case kHeight:
        if (!parseNumber(value, 1, kMaxSide, n))
            return numberError(value, name, 1, kMaxSide);
        (o.job == Job::Gallery ? o.smallHeight : o.height) = n;
        return {};
    case kFit:
        if (!parseBox(value, o.fitWidth, o.fitHeight))
            return inQuotes(value) + " ist für " + inQuotes(name) + " keine Größe wie 800x600 (Seiten von 1 bis " +
                   std::to_string(kMaxSide) + ").";
        return {};
    case kQuality:
        if (!parseNumber(value, 1, 100, o.quality))
            return numberError(value, name, 1, 100);
        return {};
    case kTo: {
        std::string to = lowerAscii(value);
        if (to == "jpeg")
            to = "jpg";
        if (to == "tiff")
            to = "tif";
        if (to != "jpg" && to != "png" && to != "gif" && to != "bmp" && to != "tif")
            return inQuotes(value) + " ist für " + inQuotes(name) + " kein Format: jpg, png, gif, bmp oder tif.";
        o.to = to;
        return {};
    }
    case kFilter:
        if (value != "lanczos" && value != "nearest")
            return inQuotes(value) + " ist für " + inQuotes(name) + " kein Filter: lanczos oder nearest.";
        o.nearest = value == "nearest";
        return {};
    case kTitle:
        o.title = value;
        return {};
    case kName:
        if (value.empty() || value.find('/') != std::string::npos)
            return inQuotes(value) + " ist für " + inQuotes(name) + " kein Dateiname (ohne \"/\").";
        o.name = value;
        return {};
    case kPerRow:
        if (!parseNumber(value, 1, 1000, o.perRow))
            return numberError(value, name, 1, 1000);
        return {};
    case kBorder:
        if (!parseNumber(value, 0, 100, o.border))
            return numberError(value, name, 0, 100);
        return {};
    case kNavigation:
        o.navigation = true;
        if (hasValue && !parseNumber(value, 0, kMaxSide, o.navigationHeight))
            return numberError(value, name, 0, kMaxSide);
        return {};
    case 'o':
        if (value.empty())
            return "Der Ausgabeordner von " + inQuotes(name) + " ist leer.";
        o.outputDir = value;
        return {};
    case kPrefix:
        if (value.find('/') != std::string::npos)
            return inQuotes(value) + " ist für " + inQuotes(name) + " kein Namensanfang (ohne \"/\").";
        o.prefix = value;
        o.prefixGiven = true;
        return {};
    case 'u':
        o.update = true;
        return {};
    case kOverwrite:
        o.overwrite = true;
        return {};
    case kInPlace:
        o.inPlace = true;
        return {};
    case 'r':
        o.recursive = true;
        return {};
    case kFilesFrom:
        o.filesFrom = value;
        return {};
    case '0':
        o.nul = true;
        return {};
    case 'j':
        if (!parseNumber(value, 1, 256, o.jobs))
            return numberError(value, name, 1, 256);
        return {};
    case 'n':
        o.dryRun = true;
        return {};
    case kStrip:
        o.strip = true;
        return {};
    case kStripGps:
        o.stripGps = true;
        return {};
    case kWithCaption:
        o.withCaption = true;
        return {};
    case 'q':
        o.quiet = true;
        return {};
    case kProgress:
        o.progress = true;
        return {};
    default:
        return {};
    }
}

// What the options together do not allow.
std::string checkTogether(const Options& o, const std::string& jobName) {
    if (o.job == Job::Resize && (o.percent > 0) + (o.height > 0) + (o.fitWidth > 0) != 1)
        return "resize braucht genau eine der Optionen --percent, --height oder --fit.";
    if (o.job == Job::Convert && o.to.empty())
        return "convert braucht --to jpg, png, gif, bmp oder tif.";
    if (o.job == Job::Convert && o.quality > 0 && o.to != "jpg")
        return "--quality gilt nur für --to jpg.";
    if (o.inPlace && (!o.outputDir.empty() || o.prefixGiven))
        return "--in-place verträgt sich nicht mit --output-dir oder --prefix.";
    if (o.job == Job::Gallery) {
        if (o.inputs.size() != 1)
            return "gallery braucht genau einen Ordner.";
        if (o.border != 1 && o.perRow == 0)
            return "--border gilt nur mit --per-row.";
        return {};
    }
    if (o.inputs.empty() && o.filesFrom.empty())
        return "Keine Datei und kein Ordner für " + jobName + " angegeben.";
    return {};
}

}  // namespace

Parsed parseCommandLine(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return usage("Kein Auftrag angegeben: resize, compress, grey, convert oder gallery.");
    const std::string& first = args[1];
    if (first == "-h" || first == "--help") {
        Parsed p;
        p.what = Parsed::What::Help;
        return p;
    }
    if (first == "-V" || first == "--version") {
        Parsed p;
        p.what = Parsed::What::Version;
        return p;
    }
    Options options;
    bool known = false;
    for (std::size_t j = 0; j < std::size(kJobNames); ++j) {
        if (first == kJobNames[j]) {
            options.job = static_cast<Job>(j);
            known = true;
        }
    }
    if (!known) {
        if (!first.empty() && first[0] == '-')
            return usage("Zuerst den Auftrag angeben: resize, compress, grey, convert oder gallery (vor " +
                         inQuotes(first) + ").");
        return usage("Unbekannter Auftrag " + inQuotes(first) + ": resize, compress, grey, convert oder gallery.");
    }

    // getopt_long permutes and keeps state; it gets copies and is started afresh.
    std::vector<std::string> copies(args.begin() + 1, args.end());
    std::vector<char*> argv;
    for (auto& s : copies) argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<option> longOptions;
    for (const auto& info : kOptions) longOptions.push_back({info.name, info.has, nullptr, info.code});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    const int argc = static_cast<int>(copies.size());
    const std::string jobName = first;
    opterr = 0;
    optind = 0;
    int longIndex = -1;
    std::string problem;
    while (problem.empty()) {
        longIndex = -1;
        const int code = getopt_long(argc, argv.data(), kShortOptions, longOptions.data(), &longIndex);
        if (code == -1)
            break;
        const std::string seen = optind - 1 < argc && optind >= 1 ? copies[static_cast<std::size_t>(optind - 1)] : "";
        if (code == '?') {
            const OptionInfo* withValue = seen.rfind("--", 0) == 0 && seen.find('=') != std::string::npos
                                              ? infoFor(optopt)
                                              : nullptr;
            if (withValue)
                problem = "Die Option " + inQuotes(shownName(*withValue)) + " nimmt keinen Wert.";
            else if (optopt != 0 && optopt < 256 && !(seen.size() > 1 && seen[0] == '-' && seen[1] == '-'))
                problem = "Unbekannte Option " + inQuotes(std::string("-") + static_cast<char>(optopt)) + ".";
            else
                problem = "Unbekannte Option " + inQuotes(seen.substr(0, seen.find('='))) + ".";
            break;
        }
        if (code == ':') {
            const OptionInfo* info = infoFor(optopt);
            problem = "Die Option " + inQuotes(info ? shownName(*info) : seen) + " braucht einen Wert.";
            break;
        }
        const OptionInfo* info = infoFor(code);
        if (!info)
            break;
        if ((info->jobs & bit(options.job)) == 0) {
            problem = "Die Option " + inQuotes(shownName(*info)) + " gehört nicht zum Auftrag " + inQuotes(jobName) + ".";
            break;
        }
        if (code == 'h') {
            Parsed p;
            p.what = Parsed::What::Help;
            return p;
        }
        if (code == 'V') {
            Parsed p;
            p.what = Parsed::What::Version;
            return p;
        }
        problem = apply(code, optarg ? std::string(optarg) : std::string(), optarg != nullptr, options);
    }
    if (!problem.empty())
        return usage(problem);
    // getopt_long has moved the names behind the options.
    for (int i = optind; i < argc; ++i) options.inputs.emplace_back(argv[static_cast<std::size_t>(i)]);
    problem = checkTogether(options, jobName);
    if (!problem.empty())
        return usage(problem);
    Parsed p;
    p.what = Parsed::What::Run;
    p.options = std::move(options);
    return p;
}

std::string usageText(const std::string& message) {
    return "pictra-batch: " + message + "\n\"pictra-batch --help\" zeigt, wie es geht.\n";
}

std::string versionText(const std::string& version) { return "pictra-batch " + version + "\n"; }

std::string helpText() {
    return "Aufruf: pictra-batch AUFTRAG [OPTIONEN] DATEI|ORDNER…\n"
           "Bearbeitet viele Bilder auf einmal, genau wie die Bilder-Befehle im Explorer von Pictra.\n"
           "Fotos von Telefonen (.heic, .heif, .webp) werden auch gelesen (verkleinert als JPEG).\n"
           "Ohne --output-dir entsteht jedes Ergebnis als \"_\" + Name neben dem Original;\n"
           "vorhandene Ergebnisse bleiben unberührt (gemeldet, Rückgabewert 1).\n"
           "\n"
           "Aufträge:\n"
           "  resize    (--percent N | --height N | --fit BxH)  verkleinern (oder vergrößern)\n"
           "  compress  [--quality N] [--fit BxH]             als JPEG komprimieren (Vorgabe 50)\n"
           "  grey      [--fit BxH]                           in Graustufen als JPEG\n"
           "  convert   --to jpg|png|gif|bmp|tif [--quality N]  in ein anderes Format\n"
           "  gallery   ORDNER [--title T] [--name N] [--height 200] [--quality 65]\n"
           "            [--per-row N [--border N]] [--navigation[=HÖHE]]\n"
           "            Bildergalerie: kleine Bilder \"zz_…\", Übersicht N.html, mit --navigation\n"
           "            eine Seite je Bild (Überschrift: Bildtext aus \".jp0\" oder der Bildname)\n"
           "\n"
           "Bildgröße:\n"
           "      --percent=N        Breite und Höhe in Prozent (1 bis 1000000)\n"
           "      --height=N         alle Bilder in dieser Höhe\n"
           "      --fit=BxH          in B × H Bildpunkte einpassen, nie vergrößern\n"
           "      --filter=F         lanczos (Vorgabe, glättet) oder nearest (wie das Bildfenster)\n"
           "      --quality=N        JPEG-Qualität 1 bis 100\n"
           "      --strip            keine Metadaten (EXIF) in die Ergebnisse übernehmen\n"
           "      --strip-gps        nur die GPS-Daten (wo das Foto entstand) weglassen\n"
           "      --with-caption     den Bildtext aus der \".jp0\"-Datei ins Ergebnis schreiben\n"
           "\n"
           "Dateien:\n"
           "  -o, --output-dir=ORDNER  Ergebnisse mit gleichem Namen dorthin\n"
           "      --prefix=TEXT      Namensanfang der Ergebnisse (Vorgabe \"_\" neben dem Original)\n"
           "  -u, --update           nur, wo das Ergebnis fehlt oder älter als das Original ist\n"
           "      --overwrite        vorhandene Ergebnisse ersetzen\n"
           "      --in-place         die Originale ersetzen (erst wenn das neue Bild fertig ist)\n"
           "  -r, --recursive        auch die Unterordner (nie die eigenen Ergebnisse)\n"
           "      --files-from=DATEI  Namen zeilenweise aus DATEI (\"-\": Standardeingabe)\n"
           "  -0, --null             Namen mit NUL getrennt, lesen wie ausgeben\n"
           "  -j, --jobs=N           so viele Bilder gleichzeitig (Vorgabe: Prozessorkerne)\n"
           "  -n, --dry-run          nur zeigen, was entstünde; nichts schreiben\n"
           "\n"
           "Ausgabe:\n"
           "  -q, --quiet            keine Zusammenfassung\n"
           "      --progress         Fortschritt auch, wenn stderr kein Terminal ist\n"
           "  -h, --help             diese Hilfe\n"
           "  -V, --version          Version\n"
           "\n"
           "Auf der Standardausgabe steht nur der Pfad jeder geschriebenen Datei, eine je Zeile;\n"
           "Meldungen gehen als \"pictra-batch: PFAD: Meldung\" auf die Fehlerausgabe.\n"
           "Rückgabewert: 0 alles erledigt, 1 mindestens ein Bild nicht, 2 falscher Aufruf,\n"
           "130/143 abgebrochen (laufende Bilder fertig, keine halben Dateien).\n"
           "\n"
           "Beispiele:\n"
           "  pictra-batch resize --percent 50 urlaub/*.jpg\n"
           "  pictra-batch resize --fit 800x800 --quality 85 -o klein/ -r fotos/\n"
           "  pictra-batch compress --quality 70 -u fotos/\n"
           "  pictra-batch convert --to png bild.bmp\n"
           "  pictra-batch convert --to jpg --strip-gps handy/*.heic\n"
           "  find . -name '*.jpg' -print0 | pictra-batch grey -0 --files-from=- -o grau/\n"
           "  pictra-batch gallery ausflug/ --title \"Ausflug 2026\" --navigation=700\n";
}

std::string targetFor(const Options& options, const std::string& source) {
    const std::string name = pathnames::fileNamePart(source);
    std::string base = name.substr(0, name.size() - pathnames::extensionOf(name).size());
    std::string result = name;
    // Phone photos are read but never written in their own format: smaller ones become JPEGs.
    if (options.job == Job::Compress || options.job == Job::Grey || isReadOnlyPicture(name))
        result = base + ".jpg";
    else if (options.job == Job::Convert)
        result = base + "." + options.to;
    const std::string sourceFolder = pathnames::folderOf(source);
    if (options.inPlace)
        return sourceFolder.empty() ? result : (sourceFolder == "/" ? "/" : sourceFolder + "/") + result;
    std::string prefix = options.prefixGiven ? options.prefix : (options.outputDir.empty() ? "_" : "");
    std::string folder = options.outputDir.empty() ? sourceFolder : options.outputDir;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder.empty() ? prefix + result : (folder == "/" ? "/" : folder + "/") + prefix + result;
}

std::vector<std::string> splitNames(const std::string& bytes, bool nul) {
    std::vector<std::string> names;
    const char end = nul ? '\0' : '\n';
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find(end, start);
        if (stop == std::string::npos)
            stop = bytes.size();
        std::string name = bytes.substr(start, stop - start);
        if (!nul && !name.empty() && name.back() == '\r')
            name.pop_back();
        if (!name.empty())
            names.push_back(std::move(name));
        start = stop + 1;
    }
    return names;
}

namespace {

bool isWorkable(const std::string& name) {
    return isPictureFile(name) && pathnames::lowerExtension(name) != ".jp0";
}

fs::path canonicalOf(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();  // "/a/" and "/a" are one folder
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(path.empty() ? "." : path), ec);
    return ec ? fs::path(path) : p;
}

// A folder's pictures in byte order, subfolders after the files when recursive.
void walk(const fs::path& folder, const Options& options, const fs::path& outputFolder, std::vector<std::string>& out,
          std::vector<std::pair<std::string, std::string>>& problems) {
    std::vector<std::string> files;
    std::vector<fs::path> folders;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        problems.emplace_back(folder.string(), "Der Ordner kann nicht gelesen werden.");
        return;
    }
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        const auto status = it->symlink_status(typeError);
        if (fs::is_directory(status)) {
            if (options.recursive)
                folders.push_back(it->path());
        } else if (fs::is_regular_file(it->status(typeError)) && isWorkable(it->path().filename().string())) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    out.insert(out.end(), files.begin(), files.end());
    for (const auto& sub : folders) {
        if (!outputFolder.empty() && canonicalOf(sub.string()) == outputFolder)
            continue;
        walk(sub, options, outputFolder, out, problems);
    }
}

bool newerOrSame(const std::string& target, const std::string& source) {
    std::error_code a;
    std::error_code b;
    const auto t = fs::last_write_time(target, a);
    const auto s = fs::last_write_time(source, b);
    return !a && !b && t >= s;
}

}  // namespace

Plan makePlan(const Options& options, const std::vector<std::string>& names) {
    Plan plan;
    const fs::path outputFolder = options.outputDir.empty() ? fs::path() : canonicalOf(options.outputDir);
    std::vector<std::string> sources;
    for (const auto& name : names) {
        if (name.find('\n') != std::string::npos && !options.nul) {
            plan.problems.emplace_back(name, "Der Name enthält einen Zeilenumbruch; solche Namen nur mit -0.");
            continue;
        }
        std::error_code ec;
        const auto status = fs::status(name, ec);
        if (ec || !fs::exists(status)) {
            plan.problems.emplace_back(name, "Datei nicht gefunden.");
        } else if (fs::is_directory(status)) {
            if (!outputFolder.empty() && !options.prefixGiven && canonicalOf(name) == outputFolder) {
                plan.usageError = "Der Ausgabeordner " + inQuotes(options.outputDir) +
                                  " ist ein Eingabeordner; ohne --prefix würden die Originale ersetzt.";
                return plan;
            }
            walk(fs::path(name), options, outputFolder, sources, plan.problems);
        } else if (!fs::is_regular_file(status)) {
            plan.problems.emplace_back(name, "Keine gewöhnliche Datei (Gerät, FIFO oder Socket).");
        } else if (!isWorkable(pathnames::fileNamePart(name))) {
            plan.problems.emplace_back(
                name, "Keine Bilddatei (Endung .jpg, .png, .gif, .bmp, .tif, .ico, .wmf, .heic, .heif oder .webp).");
        } else {
            sources.push_back(name);
        }
    }
    if (!outputFolder.empty() && !options.prefixGiven) {
        for (const auto& s : sources) {
            if (canonicalOf(pathnames::folderOf(s)) == outputFolder) {
                plan.usageError = "Der Ausgabeordner " + inQuotes(options.outputDir) + " enthält die Eingabe " +
                                  inQuotes(s) + "; ohne --prefix würden die Originale ersetzt.";
                return plan;
            }
        }
    }
    if (!options.inPlace) {
        // A result of this very job (from an earlier run, or matched by the same glob) is no input of its own.
        std::set<fs::path> results;
        for (const auto& s : sources) results.insert(canonicalOf(targetFor(options, s)));
        std::vector<std::string> originals;
        for (const auto& s : sources) {
            if (results.count(canonicalOf(s)) == 0)
                originals.push_back(s);
        }
        sources = std::move(originals);
    }
    std::set<fs::path> inputs;
    for (const auto& s : sources) inputs.insert(canonicalOf(s));
    std::map<fs::path, std::string> owners;  // target, first source
    std::set<fs::path> seenSources;
    for (const auto& source : sources) {
        const fs::path canonicalSource = canonicalOf(source);
        if (!seenSources.insert(canonicalSource).second)
            continue;  // named twice, or found again by a walk
        PlannedFile file;
        file.source = source;
        file.target = targetFor(options, source);
        const fs::path canonicalTarget = canonicalOf(file.target);
        const std::string shown = pathnames::fileNamePart(file.target);
        const bool replacesItself = options.inPlace && canonicalTarget == canonicalSource;
        if (!replacesItself && inputs.count(canonicalTarget) != 0) {
            file.state = PlannedFile::State::LeftOut;
            file.message = inQuotes(file.target) + " wird nicht geschrieben, denn diese Datei ist selbst Eingabe.";
        } else if (const auto owner = owners.find(canonicalTarget); owner != owners.end()) {
            file.state = PlannedFile::State::LeftOut;
            file.message = inQuotes(shown) + " wird nicht geschrieben, denn " + inQuotes(owner->second) +
                           " ergibt denselben Namen.";
        } else {
            owners.emplace(canonicalTarget, source);
            std::error_code ec;
            if (!replacesItself && fs::exists(fs::symlink_status(file.target, ec))) {
                if (options.update && newerOrSame(file.target, source)) {
                    file.state = PlannedFile::State::UpToDate;
                } else if (!options.overwrite && !options.update) {
                    file.state = PlannedFile::State::LeftOut;
                    file.message = inQuotes(file.target) + " besteht schon (ersetzen mit --overwrite, -u ersetzt nur "
                                                         "ältere).";
                }
            }
        }
        plan.files.push_back(std::move(file));
    }
    return plan;
}

Request requestFor(const Options& options) {
    Request request;
    request.smooth = !options.nearest;
    request.withCaption = options.withCaption;
    switch (options.job) {
    case Job::Resize:
        request.kind = Kind::Resize;
        request.percent = options.percent;
        request.height = options.height;
        request.fitWidth = options.fitWidth;
        request.fitHeight = options.fitHeight;
        break;
    case Job::Compress:
        request.kind = Kind::Compress;
        request.quality = options.quality > 0 ? options.quality : 50;
        request.workWidth = options.fitWidth;
        request.workHeight = options.fitHeight;
        break;
    case Job::Grey:
        request.kind = Kind::Grey;
        request.workWidth = options.fitWidth;
        request.workHeight = options.fitHeight;
        break;
    case Job::Convert:
        // Unchanged pixels: a JPEG through the compressing encoder at the quality asked
        // (the picture window's 91 otherwise), other formats by their extension.
        request.kind = options.to == "jpg" ? Kind::Compress : Kind::Resize;
        request.percent = 100;
        request.quality = options.to == "jpg" ? (options.quality > 0 ? options.quality : 91) : 0;
        break;
    case Job::Gallery:
        break;
    }
    return request;
}

std::string progressLine(std::size_t done, std::size_t total, const std::string& name, long long secondsLeft) {
    std::string line = std::to_string(done) + "/" + std::to_string(total) + "  " + name;
    if (secondsLeft >= 0) {
        const long long m = secondsLeft / 60;
        const long long s = secondsLeft % 60;
        line += "  noch " + std::to_string(m) + ":" + (s < 10 ? "0" : "") + std::to_string(s) + " min";
    }
    return line;
}

std::string summaryLine(std::size_t written, std::size_t upToDate, std::size_t failed, bool interrupted) {
    auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string line = count(written, "Bild geschrieben", "Bilder geschrieben");
    if (upToDate > 0)
        line += ", " + count(upToDate, "schon aktuell", "schon aktuell");
    if (failed > 0)
        line += ", " + count(failed, "nicht geschrieben", "nicht geschrieben");
    if (interrupted)
        line += ", abgebrochen";
    return line + ".";
}

}  // namespace pictra::pictures::batch::cli
