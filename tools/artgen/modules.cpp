#include "modules.h"

namespace artgen {

const std::vector<ModuleArt>& all_modules() {
    static const std::vector<ModuleArt> modules{
        {"tankgauges", tankgauges_bitmaps()},
        {"lubepress", lubepress_bitmaps()},
        {"lubetemp", lubetemp_bitmaps()},
        {"headtemp", headtemp_bitmaps()},
        {"boostgauge", boostgauge_bitmaps()},
        {"burnrate", burnrate_bitmaps()},
        {"tachometer", tachometer_bitmaps()},
        {"ignitionkeys", ignitionkeys_bitmaps()},
        {"crankpanel", crankpanel_bitmaps()},
        {"tankvalve", tankvalve_bitmaps()},
        {"switchbank", switchbank_bitmaps()},
    };
    return modules;
}

const ModuleArt* find_module(std::string_view name) {
    for (const ModuleArt& module : all_modules())
        if (module.name == name) return &module;
    return nullptr;
}

}  // namespace artgen
