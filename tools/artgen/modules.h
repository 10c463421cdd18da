// Every module's bitmaps: one table per module, each row a resource and its drawing.
#pragma once

#include <string_view>
#include <vector>

#include "art.h"

namespace artgen {

struct ModuleArt {
    std::string_view name;
    std::vector<BitmapSpec> bitmaps;
};

const std::vector<ModuleArt>& all_modules();
const ModuleArt* find_module(std::string_view name);

// The tables, one family of modules to a source file.
std::vector<BitmapSpec> tankgauges_bitmaps();
std::vector<BitmapSpec> lubepress_bitmaps();
std::vector<BitmapSpec> lubetemp_bitmaps();
std::vector<BitmapSpec> headtemp_bitmaps();
std::vector<BitmapSpec> boostgauge_bitmaps();
std::vector<BitmapSpec> burnrate_bitmaps();
std::vector<BitmapSpec> tachometer_bitmaps();
std::vector<BitmapSpec> ignitionkeys_bitmaps();
std::vector<BitmapSpec> crankpanel_bitmaps();
std::vector<BitmapSpec> tankvalve_bitmaps();
std::vector<BitmapSpec> switchbank_bitmaps();

}  // namespace artgen
