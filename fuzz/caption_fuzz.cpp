// libFuzzer target: any bytes as a caption file (lines split, each parsed, the
// drawing plan made) and as the texts written into pictures. Nothing may crash,
// and a line written by the dialog must read back as written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/captions/Captions.h"
#include "pictures/captions/TextOnPicture.h"

using namespace pictra::pictures::captions;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CaptionStyle defaults{12, 0x000000, 0xFFFFFF};
    const std::vector<std::string> lines = splitCaptionLines(bytes);
    for (const std::string& line : lines) {
        const CaptionLine parsed = parseCaptionLine(line, defaults);
        if (parsed.style.size < 0 || parsed.style.size > 255 || parsed.style.font > 0xFFFFFF ||
            parsed.style.background > 0xFFFFFF || parsed.text.size() > line.size()) {
            __builtin_trap();
        }
        // What "Schliessen" writes comes back unchanged.
        if (!parsed.text.empty()) {
            const CaptionLine again = parseCaptionLine(formatCaptionLine(parsed.style, parsed.text), defaults);
            if (!(again == parsed)) __builtin_trap();
        }
    }
    const int height = size > 0 ? data[0] * 40 : 0;
    const int offset = size > 1 ? data[1] - 128 : 0;
    for (const PlacedCaption& placed : captionPlan(lines, defaults, offset, offset, height)) {
        if (placed.y >= height || placed.text.empty()) __builtin_trap();
    }
    (void)captionFileBytes(lines, defaults);
    std::vector<std::string> history = historyLines(bytes);
    (void)addToHistory(history, lines.empty() ? std::string() : lines.front().substr(0, 20));
    if (historyLines(historyFileBytes(history)) != history) __builtin_trap();
    (void)pictureNameForCaption(bytes.substr(0, 16), lines);
    std::vector<int> widths;
    for (std::size_t i = 2; i < size && widths.size() < 64; ++i) widths.push_back(data[i]);
    (void)slantPositions(widths, 0, 0, offset * 97);
    (void)threeDPositions(widths.size(), 0, 0, offset);
    return 0;
}
