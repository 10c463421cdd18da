#include "module_art.h"

#include <algorithm>

#include "modfile/dib.h"
#include "modfile/module_file.h"

namespace host {

namespace {
// Panel lights at night: a warm glow on what is lit, little left of the rest.
constexpr double kLitTint[3] = {1.0, 0.78, 0.52};
constexpr double kDarkTint[3] = {0.10, 0.10, 0.13};

cairo_surface_t* make_surface(int width, int height, const std::vector<uint32_t>& rgb, const double* tint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = rgb[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFFu;
      if (pixel == 0) {  // pure black is see-through
        row[x] = 0;
        continue;
      }
      uint32_t channels[3] = {(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF};
      if (tint) {
        for (int c = 0; c < 3; ++c) channels[c] = uint32_t(std::clamp(channels[c] * tint[c], 0.0, 255.0));
      }
      row[x] = 0xFF000000u | channels[0] << 16 | channels[1] << 8 | channels[2];
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}
}  // namespace

std::shared_ptr<ModuleArt> ModuleArt::load(const std::string& module_path) {
  auto art = std::make_shared<ModuleArt>();
  const modfile::ModuleFile file = modfile::read_module_file(module_path);
  for (const modfile::Resource& resource : file.resources) {
    if (!resource.type.is_number() || resource.type.number() != 2 || !resource.name.is_number()) continue;
    const modfile::Image image = modfile::decode_dib(resource.data);
    art->add(resource.name.number(), image.width, image.height, image.rgb);
  }
  return art;
}

void ModuleArt::add(uint32_t id, int width, int height, const std::vector<uint32_t>& rgb) {
  if (width <= 0 || height <= 0 || rgb.size() != size_t(width) * size_t(height)) return;
  Picture picture{width, height, {}};
  picture.looks[int(Look::Day)] = make_surface(width, height, rgb, nullptr);
  picture.looks[int(Look::NightLit)] = make_surface(width, height, rgb, kLitTint);
  picture.looks[int(Look::NightDark)] = make_surface(width, height, rgb, kDarkTint);
  if (auto old = pictures_.find(id); old != pictures_.end()) {
    for (cairo_surface_t* s : old->second.looks) cairo_surface_destroy(s);
  }
  pictures_[id] = picture;
}

ModuleArt::~ModuleArt() {
  for (auto& [id, picture] : pictures_) {
    for (cairo_surface_t* s : picture.looks) cairo_surface_destroy(s);
  }
}

const ModuleArt::Picture* ModuleArt::find(uint32_t id) const {
  auto found = pictures_.find(id);
  return found == pictures_.end() ? nullptr : &found->second;
}

cairo_surface_t* ModuleArt::surface(uint32_t id, Look look) const {
  const Picture* picture = find(id);
  return picture ? picture->looks[int(look)] : nullptr;
}

}  // namespace host
