#include "rendered.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "bmp_writer.h"
#include "modules.h"

namespace artgen::test {
namespace {

// cairo and fontconfig keep their caches until told otherwise; leak checks run at exit.
class DrawingCaches : public ::testing::Environment {
public:
    void TearDown() override { release_drawing_caches(); }
};

[[maybe_unused]] const auto* const kDrawingCaches = ::testing::AddGlobalTestEnvironment(new DrawingCaches);

}  // namespace

const std::vector<RenderedBitmap>& rendered_module(std::string_view module) {
    static std::map<std::string, std::vector<RenderedBitmap>, std::less<>> cache;
    if (const auto found = cache.find(module); found != cache.end()) return found->second;
    const ModuleArt* art = find_module(module);
    if (!art) throw std::runtime_error("no module " + std::string(module));
    std::vector<RenderedBitmap> bitmaps;
    for (const BitmapSpec& spec : art->bitmaps) {
        std::vector<std::uint8_t> bytes = encode_bmp(render(spec));
        BmpFile bmp = read_bmp(bytes);
        bitmaps.push_back({spec.id, std::move(bytes), std::move(bmp)});
    }
    return cache.emplace(std::string(module), std::move(bitmaps)).first->second;
}

const BmpFile& rendered_bitmap(std::string_view module, std::uint16_t id) {
    for (const RenderedBitmap& bitmap : rendered_module(module))
        if (bitmap.id == id) return bitmap.bmp;
    throw std::runtime_error(std::string(module) + " has no bitmap " + std::to_string(id));
}

int count_see_through(const BmpFile& bmp) {
    int count = 0;
    for (const std::uint8_t index : bmp.indices) count += index == 0;
    return count;
}

}  // namespace artgen::test
