#include "pictures/editing/Composing.h"

#include <algorithm>
#include <cstdlib>

#include "pictures/editing/Colours.h"
#include "pictures/editing/Cuts.h"

namespace pictra::pictures::editing {

Color32 rasterOperation(int number, Color32 d, Color32 s, Color32 p) {
    constexpr Color32 kRgb = 0x00FFFFFFu;
    Color32 r = d;
    switch (number) {
        case 1: r = d | s; break;
        case 2: r = d | ~s; break;
        case 3: r = d & s; break;
        case 4: r = d ^ s; break;
        case 5: r = ~d; break;
        case 6: r = p & s; break;
        case 7: r = ~s; break;
        case 8: r = ~(d | s); break;
        case 9: r = p; break;
        case 10: r = d ^ p; break;
        case 11: r = d | p | ~s; break;
        case 12: r = s; break;
        case 13: r = s & ~d; break;
        case 14: r = 0; break;
        case 15: r = kRgb; break;
        default: break;
    }
    return (r & kRgb) | 0xFF000000u;
}

void tile(Bitmap32& picture, const Bitmap32& tilePicture, int number, Color32 brush) {
    if (picture.empty() || tilePicture.empty()) return;
    const int tw = tilePicture.width();
    const int th = tilePicture.height();
    for (int row = 0; row <= picture.height() / th; ++row) {
        for (int column = 0; column <= picture.width() / tw; ++column) {
            const int x0 = column * tw;
            const int y0 = row * th;
            const int w = std::min(tw, picture.width() - x0);
            const int h = std::min(th, picture.height() - y0);
            for (int y = 0; y < h; ++y) {
                Color32* target = picture.row(y0 + y) + x0;
                const Color32* source = tilePicture.row(y);
                for (int x = 0; x < w; ++x) target[x] = rasterOperation(number, target[x], source[x], brush);
            }
        }
    }
}

void pastePart(Bitmap32& picture, const Bitmap32& part, int x, int y, PartPaste how) {
    if (part.empty()) return;
    const Color32 transparent = part.pixel(0, part.height() - 1) & 0x00FFFFFFu;
    for (int i = std::max(0, -y); i < part.height() && y + i < picture.height(); ++i) {
        const Color32* source = part.row(i);
        Color32* target = picture.row(y + i);
        for (int j = std::max(0, -x); j < part.width() && x + j < picture.width(); ++j) {
            const Color32 s = source[j] & 0x00FFFFFFu;
            Color32& d = target[x + j];
            switch (how) {
                case PartPaste::Transparent:
                    if (s != transparent) d = s | 0xFF000000u;
                    break;
                case PartPaste::Average:
                    d = rgb((redOf(s) + redOf(d)) / 2, (greenOf(s) + greenOf(d)) / 2, (blueOf(s) + blueOf(d)) / 2);
                    break;
                case PartPaste::NotBlackened: {
                    const int value = blueOf(s) * 65536 + greenOf(s) * 256 + redOf(s);
                    if (value > 6) d = s | 0xFF000000u;
                    break;
                }
            }
        }
    }
}

void blackenWhite(Bitmap32& part) {
    for (int y = 0; y < part.height(); ++y) {
        Color32* row = part.row(y);
        for (int x = 0; x < part.width(); ++x) {
            if (redOf(row[x]) >= 250 && greenOf(row[x]) >= 250 && blueOf(row[x]) >= 250) row[x] = kBlack;
        }
    }
}

int softWeight(int j, int i, int c, int d, const SoftEdges& e) {
    double w = e.top > 0 && i < e.top ? 1000.0 * i / e.top : 1000.0;
    if (e.bottom > 0 && i >= d - e.bottom - 1) w = w * (d - 1 - i) / e.bottom;
    if (e.left > 0 && j < e.left) w = w * j / e.left;
    if (e.right > 0 && j >= c - e.right - 1) w = w * (c - 1 - j) / e.right;
    return static_cast<int>(w);
}

void softPaste(Bitmap32& picture, const Bitmap32& part, int x0, int y0, const SoftEdges& edges) {
    if (part.empty()) return;
    const int c = part.width();
    const int d = part.height();
    const int needW = std::max(picture.width(), x0 + c);
    const int needH = std::max(picture.height(), y0 + d);
    if (needW > picture.width() || needH > picture.height()) {
        Bitmap32 larger(needW, needH);
        larger.clear(kWhite);
        draw(larger, 0, 0, picture);
        picture = std::move(larger);
    }
    for (int i = d - 1; i >= 0; --i) {
        const int y = y0 + i;
        if (y < 0 || y >= picture.height()) continue;
        for (int j = 0; j < c; ++j) {
            const int x = x0 + j;
            if (x < 0 || x >= picture.width()) continue;
            const int w = softWeight(j, i, c, d, edges);
            if (w <= 0) continue;
            const Color32 fresh = part.pixel(j, i);
            if (w > 1000) {
                picture.row(y)[x] = fresh | 0xFF000000u;
                continue;
            }
            const Color32 old = picture.pixel(x, y);
            auto mix = [w](int n, int o) { return (w * n + (1000 - w) * o) / 1000; };
            picture.row(y)[x] = rgb(mix(redOf(fresh), redOf(old)), mix(greenOf(fresh), greenOf(old)),
                                    mix(blueOf(fresh), blueOf(old)));
        }
    }
}

void traceColour(Bitmap32& field, const Bitmap32& picture, Color32 sample, int tolerance) {
    const int w = std::min(field.width(), picture.width());
    const int h = std::min(field.height(), picture.height());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color32 p = picture.pixel(x, y);
            if (std::abs(redOf(p) - redOf(sample)) < tolerance && std::abs(greenOf(p) - greenOf(sample)) < tolerance &&
                std::abs(blueOf(p) - blueOf(sample)) < tolerance) {
                field.row(y)[x] = sample | 0xFF000000u;
            }
        }
    }
}

std::size_t EditHistory::bytes() const {
    std::size_t total = 0;
    for (const Bitmap32& b : m_pictures) {
        total += static_cast<std::size_t>(b.width()) * static_cast<std::size_t>(b.height()) * 4;
    }
    return total;
}

bool EditHistory::remember(const Bitmap32& picture) {
    const std::size_t size = static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()) * 4;
    if (size > m_maxBytes) return false;
    while (!m_pictures.empty() && (m_pictures.size() >= m_steps || bytes() + size > m_maxBytes)) {
        m_pictures.pop_front();
    }
    m_pictures.push_back(picture);
    return true;
}

bool EditHistory::undo(Bitmap32& picture) {
    if (m_pictures.empty()) return false;
    picture = std::move(m_pictures.back());
    m_pictures.pop_back();
    return true;
}

}  // namespace pictra::pictures::editing
