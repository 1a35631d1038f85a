#include "TextOnPicture.h"

#include <algorithm>

#include "Captions.h"

namespace pictra::pictures::captions {

TextPlace textPlace(int dx, int dy, int pictureHeight, int size) {
    if (dy >= pictureHeight) return {10, pictureHeight - size - 10};
    return {dx, dy};
}

std::vector<std::string> historyLines(std::string_view fileBytes) {
    std::vector<std::string> lines = splitCaptionLines(fileBytes);
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

std::string historyFileBytes(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        out += line;
        out += "\r\n";
    }
    return out;
}

bool addToHistory(std::vector<std::string>& history, const std::string& text) {
    if (text.empty() || std::find(history.begin(), history.end(), text) != history.end()) return false;
    history.push_back(text);
    return true;
}

char32_t symbolCharacter(char32_t c) {
    // The Symbol font's letters in the order A … Z (a … z is the same, lower case):
    // Alpha, Beta, Chi, Delta, Epsilon, Phi, Gamma, Eta, Iota, theta symbol, Kappa,
    // Lambda, Mu, Nu, Omicron, Pi, Theta, Rho, Sigma, Tau, Upsilon, final sigma,
    // Omega, Xi, Psi, Zeta.
    static constexpr char32_t kUpper[26] = {0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399,
                                            0x3D1, 0x39A, 0x39B, 0x39C, 0x39D, 0x39F, 0x3A0, 0x398, 0x3A1,
                                            0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
    static constexpr char32_t kLower[26] = {0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9,
                                            0x3D5, 0x3BA, 0x3BB, 0x3BC, 0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1,
                                            0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};
    if (c >= U'A' && c <= U'Z') return kUpper[c - U'A'];
    if (c >= U'a' && c <= U'z') return kLower[c - U'a'];
    return c;
}

}  // namespace pictra::pictures::captions
