#include <gtest/gtest.h>

#include <set>

#include "explorer/converters/Converters.h"

using namespace pictra::converters;

namespace {
using Args = std::vector<std::string>;
}

TEST(Converters, ArgumentVectorsNeverOverwriteAndMp3InputOnlyForMp3) {
    const std::set<std::string> taken{"/m/lied.mp3", "/m/lied(2).mp3", "/m/ton.wav"};
    const auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
    const struct {
        ProgramCall call;
        std::string program;
        Args arguments;
        std::string output;
    } cases[] = {
        {toMp3("/m/ton.wav", "-h -V 0", exists), "lame", {"-h", "-V", "0", "/m/ton.wav", "/m/ton.mp3"}, "/m/ton.mp3"},
        {toMp3("/m/lied.mp3", " -b  128 ", exists), "lame", {"--mp3input", "-b", "128", "/m/lied.mp3", "/m/lied(3).mp3"}, "/m/lied(3).mp3"},
        {toMp3("/m/LIED.MP3", "", exists), "lame", {"--mp3input", "/m/LIED.MP3", "/m/LIED.mp3"}, "/m/LIED.mp3"},
        {mp3ToWav("/m/lied.mp3", exists), "lame", {"--decode", "/m/lied.mp3", "/m/lied.wav"}, "/m/lied.wav"},
        {mp3ToWav("/m/ton.mp3", exists), "lame", {"--decode", "/m/ton.mp3", "/m/ton(2).wav"}, "/m/ton(2).wav"},
        {wavToOgg("/m/ton.wav", exists), "oggenc", {"-o", "/m/ton.ogg", "/m/ton.wav"}, "/m/ton.ogg"},
        {packExecutable("/m/prog"), "upx", {"--best", "/m/prog"}, ""},
        {cutPiece("/m/lied.mp3", "0:00:30.000", "0:01:45.500", exists), "ffmpeg",
         {"-nostdin", "-hide_banner", "-loglevel", "error", "-ss", "0:00:30.000", "-to", "0:01:45.500", "-i",
          "/m/lied.mp3", "-c", "copy", "-n", "/m/lied_stueck.mp3"},
         "/m/lied_stueck.mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call.program, c.program);
        EXPECT_EQ(c.call.arguments, c.arguments);
        EXPECT_EQ(c.call.output, c.output);
    }
}

TEST(Converters, TimesAsTyped) {
    const std::pair<std::string, std::optional<long long>> cases[] = {
        {"30", 30000},        {"1:45", 105000},      {"1:45,5", 105500}, {"0:01:45.25", 105250},
        {"2:00:00", 7200000}, {" 7 ", 7000},         {"1:60", std::nullopt}, {"", std::nullopt},
        {"abc", std::nullopt}, {"1:2:3:4", std::nullopt}, {"1.2345", std::nullopt}, {"-5", std::nullopt},
    };
    for (const auto& [text, millis] : cases) EXPECT_EQ(parseTime(text), millis) << text;
    EXPECT_EQ(ffmpegTime(105500), "0:01:45.500");
    EXPECT_EQ(ffmpegTime(7200000), "2:00:00.000");
}

TEST(Converters, NotFoundNamesTheProgramAndItsPackage) {
    EXPECT_EQ(notFoundText("/opt/pictra/lame", "lame"),
              "Nicht gefunden:/opt/pictra/lame\rDas Programm \"lame\" (Debian-Paket lame) muss im Ordner des Programms "
              "stehen oder installiert sein.");
    EXPECT_EQ(notFoundText("/opt/pictra/upx", "upx"),
              "Nicht gefunden:/opt/pictra/upx\rDas Programm \"upx\" (nicht in Debian 12 enthalten, von upx.github.io) "
              "muss im Ordner des Programms stehen oder installiert sein.");
}
