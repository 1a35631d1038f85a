#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The Extras items that hand a file to an outside converter: what each program is
// called with. Always an argument vector, never a shell line built from names.
namespace pictra::converters {

struct ProgramCall {
    std::string program;  // the name looked for in the program folder, then on PATH
    std::vector<std::string> arguments;
    std::string output;  // the file the call writes (empty: the file itself is changed)
};

// `wanted`, or when a file of that name exists (`exists`), the name with "(2)",
// "(3)", … before the extension: a converter never overwrites a file.
std::string freeName(const std::string& wanted, const std::function<bool(const std::string&)>& exists);

// Blank-separated parameters as typed.
std::vector<std::string> splitParameters(const std::string& parameters);

// "WAV oder MP3 nach MP3": lame with the parameters; "--mp3input" only for an MP3
// source (lame refuses a WAV read as MP3).
ProgramCall toMp3(const std::string& source, const std::string& parameters,
                  const std::function<bool(const std::string&)>& exists);
// "MP3 nach WAV": lame --decode.
ProgramCall mp3ToWav(const std::string& source, const std::function<bool(const std::string&)>& exists);
// "wav to ogg": oggenc.
ProgramCall wavToOgg(const std::string& source, const std::function<bool(const std::string&)>& exists);
// "UPX (Ultimate Packer for Executabel)": upx --best on the file itself.
ProgramCall packExecutable(const std::string& path);
// "Stück aus Musikdatei  heraustrennen": ffmpeg copies the part between the times without re-encoding.
ProgramCall cutPiece(const std::string& source, const std::string& start, const std::string& end,
                     const std::function<bool(const std::string&)>& exists);

// A time as typed: seconds, minutes:seconds or hours:minutes:seconds, seconds with
// up to three decimals after "." or ","; nullopt for anything else. Milliseconds.
std::optional<long long> parseTime(const std::string& text);
// Milliseconds as ffmpeg takes them: "h:mm:ss.mmm".
std::string ffmpegTime(long long milliseconds);

// "Nicht gefunden:" + path + "\r" + the sentence naming the program and its package.
std::string notFoundText(const std::string& path, const std::string& program);

// The output name for a converted file: the source's name with the new extension.
std::string withExtension(const std::string& path, const std::string& extension);

}  // namespace pictra::converters
