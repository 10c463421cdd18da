// A module's bitmaps, read from its own file once and kept as cairo surfaces
// in the three looks the renderer needs: day, lit at night, and dark at night.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

enum class Look { Day, NightLit, NightDark };

class ModuleArt {
 public:
  struct Picture {
    int width = 0, height = 0;
    cairo_surface_t* looks[3] = {};
  };

  // Reads and converts every bitmap resource of the module file.
  static std::shared_ptr<ModuleArt> load(const std::string& module_path);
  // From pixels already decoded (0x00RRGGBB, top-down), for tests and tools.
  void add(uint32_t id, int width, int height, const std::vector<uint32_t>& rgb);

  ModuleArt() = default;
  ~ModuleArt();
  ModuleArt(const ModuleArt&) = delete;
  ModuleArt& operator=(const ModuleArt&) = delete;

  const Picture* find(uint32_t id) const;
  cairo_surface_t* surface(uint32_t id, Look look) const;

 private:
  std::map<uint32_t, Picture> pictures_;
};

}  // namespace host
