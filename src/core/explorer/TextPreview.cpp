#include "TextPreview.h"

#include "common/Codec.h"

namespace pictra::explorer {

namespace {

bool isControl(unsigned char c) { return c < 32 || c == 127; }

}  // namespace

std::vector<PreviewBlock> previewBlocks(const std::string& bytes, size_t blockSize) {
    std::vector<PreviewBlock> blocks;
    for (size_t start = 0; start < bytes.size(); start += blockSize) {
        const std::string chunk = bytes.substr(start, blockSize);
        std::string upper;
        std::string lower;
        size_t upperColumn = 0;
        size_t lowerColumn = 0;
        for (char ch : chunk) {
            const auto c = static_cast<unsigned char>(ch);
            if (isControl(c)) {
                const std::string code = "|#" + std::to_string(c) + "|";
                upper += code;
                upperColumn += code.size();
            } else {
                upper += ch;
                ++upperColumn;
                lower += ch;
                if (++lowerColumn >= 120) {
                    lower += "\r\n";
                    lowerColumn = 0;
                }
            }
            if (c == '\n' || upperColumn >= 80) {
                upper += "\r\n";
                upperColumn = 0;
            }
        }
        blocks.push_back({codec::cp1252ToUtf8(upper), codec::cp1252ToUtf8(lower)});
    }
    return blocks;
}

std::string printableText(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            out += "\r\n";
        } else if (!isControl(c)) {
            out += ch;
        }
    }
    return out;
}

}  // namespace pictra::explorer
