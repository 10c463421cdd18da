#include "palette.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace artgen {
namespace {

// The darkest colour an opaque pixel may have.
constexpr Rgb kDarkestOpaque{1, 1, 1};

// Colours used by at least this many pixels are kept exactly before any are merged.
constexpr int kExactColourMinimum = 24;

// Merged colours closer than this (squared distance) to a chosen one add nothing.
constexpr int kMergeDistance = 12;

std::uint32_t key_of(Rgb c) { return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b; }

Rgb rgb_of(std::uint32_t key) {
    return {static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
            static_cast<std::uint8_t>(key)};
}

int distance2(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

std::uint8_t over_matte(std::uint32_t premultiplied, int shift, std::uint8_t matte) {
    const int alpha = static_cast<int>(premultiplied >> 24);
    const int channel = static_cast<int>((premultiplied >> shift) & 0xff);
    return static_cast<std::uint8_t>(std::min(255, channel + (matte * (255 - alpha) + 127) / 255));
}

class PaletteBuilder {
public:
    explicit PaletteBuilder(std::size_t size) : size_(size) { colours_.push_back(kSeeThrough); }

    bool full() const { return colours_.size() >= size_; }

    void add(Rgb colour, int min_distance2 = 1) {
        if (full()) return;
        if (colour == kSeeThrough) colour = kDarkestOpaque;
        for (std::size_t i = 1; i < colours_.size(); ++i)
            if (distance2(colours_[i], colour) < min_distance2) return;
        colours_.push_back(colour);
    }

    std::vector<Rgb> finish() {
        // Spare entries: a grey ramp, never black, so every entry is a usable colour.
        for (std::size_t i = 1; colours_.size() < size_; ++i) {
            const auto level = static_cast<std::uint8_t>(1 + 254 * i / size_);
            colours_.push_back({level, level, level});
        }
        return colours_;
    }

private:
    std::size_t size_;
    std::vector<Rgb> colours_;
};

std::vector<Rgb> choose_palette(const std::vector<Rgb>& opaque, std::size_t size, std::span<const Rgb> keep) {
    PaletteBuilder builder(size);
    for (const Rgb colour : keep) builder.add(colour);

    std::map<std::uint32_t, int> exact;
    for (const Rgb colour : opaque) ++exact[key_of(colour)];
    std::vector<std::pair<std::uint32_t, int>> by_use(exact.begin(), exact.end());
    std::stable_sort(by_use.begin(), by_use.end(), [](const auto& a, const auto& b) { return a.second > b.second; });

    if (by_use.size() < size) {
        for (const auto& [key, count] : by_use) builder.add(rgb_of(key));
        return builder.finish();
    }

    for (std::size_t i = 0; i < by_use.size() && i < size / 2; ++i)
        if (by_use[i].second >= kExactColourMinimum) builder.add(rgb_of(by_use[i].first));

    // Then the most used regions of colour space (8 levels a channel), each as its mean.
    struct Bucket {
        long r = 0, g = 0, b = 0, count = 0;
    };
    std::map<std::uint32_t, Bucket> buckets;
    for (const auto& [key, count] : exact) {
        const Rgb c = rgb_of(key);
        Bucket& bucket = buckets[key_of({static_cast<std::uint8_t>(c.r >> 3), static_cast<std::uint8_t>(c.g >> 3),
                                         static_cast<std::uint8_t>(c.b >> 3)})];
        bucket.r += long{c.r} * count;
        bucket.g += long{c.g} * count;
        bucket.b += long{c.b} * count;
        bucket.count += count;
    }
    std::vector<Bucket> ranked;
    for (const auto& entry : buckets) ranked.push_back(entry.second);
    std::stable_sort(ranked.begin(), ranked.end(), [](const Bucket& a, const Bucket& b) { return a.count > b.count; });
    for (const Bucket& bucket : ranked) {
        if (builder.full()) break;
        const auto mean = [&](long sum) { return static_cast<std::uint8_t>((sum + bucket.count / 2) / bucket.count); };
        builder.add({mean(bucket.r), mean(bucket.g), mean(bucket.b)}, kMergeDistance);
    }
    return builder.finish();
}

std::uint8_t nearest(const std::vector<Rgb>& palette, Rgb colour) {
    std::size_t best = 1;
    int best_distance = distance2(palette[1], colour);
    for (std::size_t i = 2; i < palette.size(); ++i) {
        const int d = distance2(palette[i], colour);
        if (d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

IndexedImage quantise(const QuantiseRequest& request) {
    const std::size_t count = static_cast<std::size_t>(request.width) * request.height;
    if ((request.bits_per_pixel != 8 && request.bits_per_pixel != 4) || request.width <= 0 || request.height <= 0 ||
        request.argb.size() != count)
        throw std::invalid_argument("quantise: inconsistent picture");

    std::vector<Rgb> composed(count);
    std::vector<bool> covered(count);
    std::vector<Rgb> opaque;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = request.argb[i];
        covered[i] = (pixel >> 24) >= 128;
        if (!covered[i]) continue;
        composed[i] = {over_matte(pixel, 16, request.matte.r), over_matte(pixel, 8, request.matte.g),
                       over_matte(pixel, 0, request.matte.b)};
        opaque.push_back(composed[i]);
    }

    IndexedImage image;
    image.width = request.width;
    image.height = request.height;
    image.bits_per_pixel = request.bits_per_pixel;
    image.palette = choose_palette(opaque, std::size_t{1} << request.bits_per_pixel, request.keep);
    image.pixels.assign(count, 0);
    std::unordered_map<std::uint32_t, std::uint8_t> chosen;
    for (std::size_t i = 0; i < count; ++i) {
        if (!covered[i]) continue;
        const std::uint32_t key = key_of(composed[i]);
        auto [it, inserted] = chosen.try_emplace(key, 0);
        if (inserted) it->second = nearest(image.palette, composed[i]);
        image.pixels[i] = it->second;
    }
    return image;
}

}  // namespace artgen
