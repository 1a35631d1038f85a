#include "explorer/converters/Converters.h"

#include <charconv>

#include "common/PathNames.h"
#include "common/Text.h"

namespace pictra::converters {

namespace {

struct Package {
    const char* program;
    const char* package;
};

// Where each program comes from on Debian (upx is not packaged in Debian 12).
constexpr Package kPackages[] = {{"lame", "Debian-Paket lame"},
                                 {"oggenc", "Debian-Paket vorbis-tools"},
                                 {"ffmpeg", "Debian-Paket ffmpeg"},
                                 {"upx", "nicht in Debian 12 enthalten, von upx.github.io"}};

std::optional<long long> number(std::string_view digits) {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string withExtension(const std::string& path, const std::string& extension) {
    const std::string ext = pathnames::extensionOf(path);
    return path.substr(0, path.size() - ext.size()) + extension;
}

std::string freeName(const std::string& wanted, const std::function<bool(const std::string&)>& exists) {
    if (!exists(wanted)) return wanted;
    const std::string ext = pathnames::extensionOf(wanted);
    const std::string stem = wanted.substr(0, wanted.size() - ext.size());
    for (int i = 2;; ++i) {
        const std::string candidate = stem + "(" + std::to_string(i) + ")" + ext;
        if (!exists(candidate)) return candidate;
    }
}

std::vector<std::string> splitParameters(const std::string& parameters) {
    std::vector<std::string> out;
    std::string current;
    for (char c : parameters) {
        if (c == ' ' || c == '\t') {
            if (!current.empty()) out.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) out.push_back(current);
    return out;
}

ProgramCall toMp3(const std::string& source, const std::string& parameters,
                  const std::function<bool(const std::string&)>& exists) {
    ProgramCall call{"lame", {}, {}};
    if (pathnames::lowerExtension(source) == ".mp3") call.arguments.push_back("--mp3input");
    for (const auto& p : splitParameters(parameters)) call.arguments.push_back(p);
    // An MP3 made from an MP3 must not take its source's name.
    call.output = freeName(withExtension(source, ".mp3"), exists);
    call.arguments.push_back(source);
    call.arguments.push_back(call.output);
    return call;
}

ProgramCall mp3ToWav(const std::string& source, const std::function<bool(const std::string&)>& exists) {
    ProgramCall call{"lame", {"--decode"}, freeName(withExtension(source, ".wav"), exists)};
    call.arguments.push_back(source);
    call.arguments.push_back(call.output);
    return call;
}

ProgramCall wavToOgg(const std::string& source, const std::function<bool(const std::string&)>& exists) {
    ProgramCall call{"oggenc", {}, freeName(withExtension(source, ".ogg"), exists)};
    call.arguments = {"-o", call.output, source};
    return call;
}

ProgramCall packExecutable(const std::string& path) { return {"upx", {"--best", path}, {}}; }

ProgramCall cutPiece(const std::string& source, const std::string& start, const std::string& end,
                     const std::function<bool(const std::string&)>& exists) {
    const std::string ext = pathnames::extensionOf(source);
    ProgramCall call{"ffmpeg", {}, freeName(withExtension(source, "_stueck" + ext), exists)};
    // -nostdin: a program started without a terminal must never wait for a key.
    call.arguments = {"-nostdin", "-hide_banner", "-loglevel", "error", "-ss", start, "-to", end,
                      "-i", source, "-c", "copy", "-n", call.output};
    return call;
}

std::optional<long long> parseTime(const std::string& typed) {
    const std::string text = text::trim(typed);
    if (text.empty()) return std::nullopt;
    std::string whole = text;
    long long millis = 0;
    const auto point = text.find_first_of(".,");
    if (point != std::string::npos) {
        std::string fraction = text.substr(point + 1);
        if (fraction.empty() || fraction.size() > 3) return std::nullopt;
        while (fraction.size() < 3) fraction += '0';
        const auto value = number(fraction);
        if (!value) return std::nullopt;
        millis = *value;
        whole = text.substr(0, point);
    }
    std::vector<long long> parts;
    std::size_t from = 0;
    for (;;) {
        const auto colon = whole.find(':', from);
        const auto value = number(std::string_view(whole).substr(from, colon == std::string::npos ? std::string::npos : colon - from));
        if (!value) return std::nullopt;
        parts.push_back(*value);
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    if (parts.size() > 3) return std::nullopt;
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (parts[i] >= 60) return std::nullopt;
    long long seconds = 0;
    for (long long part : parts) seconds = seconds * 60 + part;
    return seconds * 1000 + millis;
}

std::string ffmpegTime(long long milliseconds) {
    const long long seconds = milliseconds / 1000;
    auto two = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    std::string ms = std::to_string(milliseconds % 1000);
    ms.insert(0, 3 - ms.size(), '0');
    return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60) + "." + ms;
}

std::string notFoundText(const std::string& path, const std::string& program) {
    std::string package = "Debian-Paket " + program;
    for (const auto& known : kPackages)
        if (program == known.program) package = known.package;
    return "Nicht gefunden:" + path + "\r" + "Das Programm \"" + program + "\" (" + package +
           ") muss im Ordner des Programms stehen oder installiert sein.";
}

}  // namespace pictra::converters
