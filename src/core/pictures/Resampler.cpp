#include "Resampler.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace pictra::pictures {

namespace {

constexpr float kPi = 3.14159265358979323846f;

float nearestKernel(float x) { return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f; }
float linearKernel(float x) {
    x = std::fabs(x);
    return x < 1.0f ? 1.0f - x : 0.0f;
}
float cosineKernel(float x) { return std::fabs(x) < 1.0f ? (std::cos(kPi * x) + 1.0f) / 2.0f : 0.0f; }
float splineKernel(float x) {
    x = std::fabs(x);
    if (x < 1.0f) return 0.5f * x * x * x - x * x + 2.0f / 3.0f;
    if (x < 2.0f) {
        const float t = 2.0f - x;
        return t * t * t / 6.0f;
    }
    return 0.0f;
}
float sinc(float x) {
    if (x == 0.0f) return 1.0f;
    const float px = kPi * x;
    return std::sin(px) / px;
}
float lanczosKernel(float x) { return std::fabs(x) < 3.0f ? sinc(x) * sinc(x / 3.0f) : 0.0f; }
float mitchellKernel(float x) {
    x = std::fabs(x);
    const float x2 = x * x;
    const float x3 = x2 * x;
    if (x < 1.0f) return (7.0f * x3 - 12.0f * x2 + 16.0f / 3.0f) / 6.0f;
    if (x < 2.0f) return (-7.0f / 3.0f * x3 + 12.0f * x2 - 20.0f * x + 32.0f / 3.0f) / 6.0f;
    return 0.0f;
}

int roundEven(float v) { return static_cast<int>(std::nearbyint(v)); }

std::atomic<int> g_threads{static_cast<int>(std::max(1u, std::min(2u, std::thread::hardware_concurrency())))};

// Runs body(first, last) over [0, count) split into one block per thread; with a
// gate, in order on this thread, as the source rows arrive.
template <typename Body>
void parallelRows(int count, long long workPerRow, const RowGate* gate, Body body) {
    const int threads = gate ? 1 : std::min(g_threads.load(), count);
    if (threads <= 1 || static_cast<long long>(count) * workPerRow < 200000) {
        body(0, count);
        return;
    }
    std::vector<std::thread> workers;
    const int block = (count + threads - 1) / threads;
    for (int t = 1; t < threads; ++t) {
        const int first = t * block;
        const int last = std::min(count, first + block);
        if (first < last) workers.emplace_back([=] { body(first, last); });
    }
    body(0, std::min(count, block));
    for (auto& w : workers) w.join();
}

struct Writer {
    const Bitmap32& source;
    DrawMode mode;
    void operator()(Color32 value, Color32& target) const {
        if (mode == DrawMode::Opaque) {
            target = value;
        } else {
            source.writeByDrawMode(value, target);
        }
    }
};

void blockTransfer(Bitmap32& destination, const Rect& clip, const Rect& dstRect, const Bitmap32& source,
                   const Rect& srcRect, const Writer& write) {
    for (int y = clip.top; y < clip.bottom; ++y) {
        const Color32* from = source.row(y - dstRect.top + srcRect.top) + (clip.left - dstRect.left + srcRect.left);
        Color32* to = destination.row(y) + clip.left;
        if (write.mode == DrawMode::Opaque) {
            std::copy(from, from + clip.width(), to);
        } else {
            for (int i = 0; i < clip.width(); ++i) write(from[i], to[i]);
        }
    }
}

void nearestStretch(Bitmap32& destination, const Rect& clip, const Rect& dstRect, const Bitmap32& source,
                    const Rect& srcRect, const Writer& write) {
    const float scaleX = static_cast<float>(srcRect.width()) / static_cast<float>(dstRect.width());
    const float scaleY = static_cast<float>(srcRect.height()) / static_cast<float>(dstRect.height());
    std::vector<int> columns(static_cast<std::size_t>(clip.width()));
    for (int i = 0; i < clip.width(); ++i) {
        columns[static_cast<std::size_t>(i)] =
            dstRect.width() == 1
                ? (srcRect.left + srcRect.right - 1) / 2
                : static_cast<int>(std::trunc(static_cast<float>(i + clip.left - dstRect.left) * scaleX +
                                              static_cast<float>(srcRect.left)));
    }
    int previous = -1;
    for (int j = 0; j < clip.height(); ++j) {
        const int sy = dstRect.height() == 1
                           ? (srcRect.top + srcRect.bottom - 1) / 2
                           : static_cast<int>(std::trunc(static_cast<float>(j + clip.top - dstRect.top) * scaleY +
                                                         static_cast<float>(srcRect.top)));
        Color32* to = destination.row(clip.top + j) + clip.left;
        if (j > 0 && sy == previous) {
            const Color32* above = destination.row(clip.top + j - 1) + clip.left;
            std::copy(above, above + clip.width(), to);
            continue;
        }
        previous = sy;
        const Color32* from = source.row(sy);
        for (int i = 0; i < clip.width(); ++i) write(from[columns[static_cast<std::size_t>(i)]], to[i]);
    }
}

// Vertical sums of the needed source columns for one destination row, then the
// horizontal sums per destination pixel, in integers.
void resample(Bitmap32& destination, const Rect& clip, const Rect& dstRect, const Bitmap32& source,
              const Rect& srcRect, StretchFilter filter, const Writer& write, const RowGate* gate) {
    const MappingTable horizontal = buildMappingTable(srcRect.left, srcRect.right, dstRect.left, dstRect.right,
                                                      clip.left, clip.right, filter);
    const MappingTable vertical = buildMappingTable(srcRect.top, srcRect.bottom, dstRect.top, dstRect.bottom,
                                                    clip.top, clip.bottom, filter);
    int first = srcRect.right;
    int last = srcRect.left - 1;
    for (const auto& entries : horizontal) {
        for (const auto& e : entries) {
            first = std::min(first, e.position);
            last = std::max(last, e.position);
        }
    }
    if (last < first) return;
    const bool clamped = filter == StretchFilter::Lanczos || filter == StretchFilter::Mitchell;
    const std::size_t span = static_cast<std::size_t>(last - first + 1) * 4;
    const long long taps = vertical.empty() ? 1 : static_cast<long long>(vertical[0].size());
    parallelRows(clip.height(), static_cast<long long>(span) * taps, gate, [&](int from, int to) {
        std::vector<std::int32_t> sums(span);
        for (int j = from; j < to; ++j) {
            if (gate) {
                int needed = 0;
                for (const auto& v : vertical[static_cast<std::size_t>(j)]) needed = std::max(needed, v.position + 1);
                gate->waitFor(needed);
            }
            std::fill(sums.begin(), sums.end(), 0);
            for (const auto& v : vertical[static_cast<std::size_t>(j)]) {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.row(v.position) + first);
                const std::int32_t w = v.weight;
                std::int32_t* s = sums.data();
                for (std::size_t i = 0; i < span; ++i) s[i] += w * bytes[i];
            }
            Color32* out = destination.row(clip.top + j) + clip.left;
            for (int i = 0; i < clip.width(); ++i) {
                std::int32_t acc[4] = {0, 0, 0, 0};
                for (const auto& h : horizontal[static_cast<std::size_t>(i)]) {
                    const std::int32_t* s = sums.data() + static_cast<std::size_t>(h.position - first) * 4;
                    for (int c = 0; c < 4; ++c) acc[c] += h.weight * s[c];
                }
                Color32 value = 0;
                for (int c = 0; c < 4; ++c) {
                    std::int32_t channel = clamped ? std::clamp(acc[c], 0, 255 * 65536) >> 16 : (acc[c] >> 16) & 0xFF;
                    value |= static_cast<Color32>(channel) << (8 * c);
                }
                write(value, out[i]);
            }
        }
    });
}

void checkArguments(const Bitmap32& destination, const Bitmap32& source, const Rect& srcRect) {
    if (source.empty()) throw TransformError("Source bitmap is nil or empty");
    if (destination.empty()) throw TransformError("Destination bitmap is nil or empty");
    if (srcRect.left < 0 || srcRect.top < 0 || srcRect.right > source.width() || srcRect.bottom > source.height() ||
        srcRect.right < srcRect.left || srcRect.bottom < srcRect.top) {
        throw TransformError("Source rectangle is invalid");
    }
}

void stretchTransfer(Bitmap32& destination, const Rect& dstRect, const Bitmap32& source, const Rect& srcRect,
                     StretchFilter filter, DrawMode mode, const RowGate* gate = nullptr) {
    checkArguments(destination, source, srcRect);
    if (srcRect.empty() || dstRect.empty()) return;
    const Rect clip = intersect(dstRect, destination.bounds());
    if (clip.empty()) return;
    const Writer write{source, mode == DrawMode::Custom && !source.onPixelCombine ? DrawMode::Opaque : mode};
    if (gate && (dstRect.width() == srcRect.width() && dstRect.height() == srcRect.height())) gate->waitFor(srcRect.bottom);
    if (gate && filter == StretchFilter::Nearest) gate->waitFor(srcRect.bottom);
    if (dstRect.width() == srcRect.width() && dstRect.height() == srcRect.height()) {
        blockTransfer(destination, clip, dstRect, source, srcRect, write);
    } else if (filter == StretchFilter::Nearest) {
        nearestStretch(destination, clip, dstRect, source, srcRect, write);
    } else {
        resample(destination, clip, dstRect, source, srcRect, filter, write, gate);
    }
    destination.changed();
}

}  // namespace

KernelInfo kernelOf(StretchFilter filter) {
    switch (filter) {
        case StretchFilter::Nearest: return {1.0f, nearestKernel};
        case StretchFilter::Draft:
        case StretchFilter::Linear: return {1.0f, linearKernel};
        case StretchFilter::Cosine: return {1.0f, cosineKernel};
        case StretchFilter::Spline: return {2.0f, splineKernel};
        case StretchFilter::Lanczos: return {3.0f, lanczosKernel};
        case StretchFilter::Mitchell: return {2.0f, mitchellKernel};
    }
    return {1.0f, nearestKernel};
}

MappingTable buildMappingTable(int srcStart, int srcEnd, int dstStart, int dstEnd, int clipStart, int clipEnd,
                               StretchFilter filter) {
    const int s = srcEnd - srcStart;
    const int d = dstEnd - dstStart;
    clipStart = std::max(clipStart, dstStart);
    clipEnd = std::min(clipEnd, dstEnd);
    if (s <= 0 || d <= 0 || clipEnd <= clipStart) return {};
    MappingTable table(static_cast<std::size_t>(clipEnd - clipStart));
    if (s == 1) {
        for (auto& entries : table) entries.push_back({srcStart, 256});
        return table;
    }
    const KernelInfo kernel = kernelOf(filter);
    const float scale = static_cast<float>(d) / static_cast<float>(s);
    const bool enlarging = scale >= 1.0f;
    const float reach = enlarging ? kernel.radius : kernel.radius / scale;
    for (int i = clipStart - dstStart; i < clipEnd - dstStart; ++i) {
        auto& entries = table[static_cast<std::size_t>(i - (clipStart - dstStart))];
        const float c = (static_cast<float>(i) + 0.5f) / scale + static_cast<float>(srcStart) - 0.5f;
        const int lo = static_cast<int>(std::floor(c - reach));
        const int hi = static_cast<int>(std::ceil(c + reach));
        for (int k = lo; k <= hi; ++k) {
            const float x = c - static_cast<float>(k);
            const int w = enlarging ? roundEven(256.0f * kernel.f(x)) : roundEven(256.0f * scale * kernel.f(x * scale));
            if (w == 0) continue;
            entries.push_back({std::clamp(k, srcStart, srcEnd - 1), w});
        }
        if (entries.empty()) {
            entries.push_back({std::clamp(static_cast<int>(std::floor(c)), srcStart, srcEnd - 1), 256});
            continue;
        }
        int sum = 0;
        for (const auto& e : entries) sum += e.weight;
        entries[(entries.size() - 1) / 2].weight -= sum - 256;
    }
    return table;
}

void stretchDraw(Bitmap32& destination, const Rect& dstRect, const Bitmap32& source, const Rect& srcRect) {
    stretchTransfer(destination, dstRect, source, srcRect, source.stretchFilter, source.drawMode);
}

Bitmap32 resized(const Bitmap32& source, int width, int height, StretchFilter filter, const RowGate* gate) {
    Bitmap32 result(width, height);
    if (!result.empty() && !source.empty()) {
        stretchTransfer(result, result.bounds(), source, source.bounds(), filter, DrawMode::Opaque, gate);
    }
    return result;
}

void setResamplerThreads(int threads) { g_threads = std::max(1, threads); }

}  // namespace pictra::pictures
