#include "help_texts.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace host {
namespace {

// One row per identifier, sorted. 0x32f1 serves both generator switches.
constexpr std::array kHelpTexts = {
    HelpText{0x303e, "Structural de-ice switch"},
    HelpText{0x30a1, "Engine 1 manifold pressure"},
    HelpText{0x30a2, "Engine 2 manifold pressure"},
    HelpText{0x30a3, "Engine 3 manifold pressure"},
    HelpText{0x30a4, "Engine 4 manifold pressure"},
    HelpText{0x30c1, "Engine 1 fuel flow"},
    HelpText{0x30c2, "Engine 2 fuel flow"},
    HelpText{0x30c3, "Engine 3 fuel flow"},
    HelpText{0x30c4, "Engine 4 fuel flow"},
    HelpText{0x30d1, "Engine 1 cylinder head temperature"},
    HelpText{0x30d2, "Engine 2 cylinder head temperature"},
    HelpText{0x30f1, "Engine 1 oil temperature"},
    HelpText{0x30f2, "Engine 2 oil temperature"},
    HelpText{0x3101, "Engine 1 oil pressure"},
    HelpText{0x3102, "Engine 2 oil pressure"},
    HelpText{0x31bd, "Pitot heat switch"},
    HelpText{0x31f9, "Left fuel valve"},
    HelpText{0x31fa, "Right fuel valve"},
    HelpText{0x3211, "Engine 1 RPM"},
    HelpText{0x3212, "Engine 2 RPM"},
    HelpText{0x3213, "Engine 3 RPM"},
    HelpText{0x3214, "Engine 4 RPM"},
    HelpText{0x3255, "Tail wheel lock"},
    HelpText{0x3268, "Engine 1 fuel selector"},
    HelpText{0x3269, "Engine 2 fuel selector"},
    HelpText{0x326a, "Engine 3 fuel selector"},
    HelpText{0x326b, "Engine 4 fuel selector"},
    HelpText{0x32a0, "Engine 1 magnetos"},
    HelpText{0x32a1, "Engine 2 magnetos"},
    HelpText{0x32a2, "Engine 3 magnetos"},
    HelpText{0x32a3, "Engine 4 magnetos"},
    HelpText{0x32b1, "Engine 1 starter"},
    HelpText{0x32b2, "Engine 2 starter"},
    HelpText{0x32b3, "Engine 3 starter"},
    HelpText{0x32b4, "Engine 4 starter"},
    HelpText{0x32e0, "Master battery switch"},
    HelpText{0x32e9, "Left fuel pump"},
    HelpText{0x32ea, "Right fuel pump"},
    HelpText{0x32f1, "Generator switch"},
    HelpText{0x3300, "Wing lights switch"},
    HelpText{0x3301, "Navigation lights switch"},
    HelpText{0x3302, "Landing lights switch"},
    HelpText{0x3304, "Panel lights switch"},
    HelpText{0x3305, "Strobe lights switch"},
    HelpText{0x3306, "Taxi lights switch"},
    HelpText{0x3307, "Beacon lights switch"},
    HelpText{0x3310, "Propeller de-ice switch"},
    HelpText{0x3311, "Avionics master switch"},
    HelpText{0x3343, "Carburettor heat"},
    HelpText{0x33e2, "Recognition lights switch"},
    HelpText{0xac80, "Standby vacuum switch"},
};

constexpr bool by_id(const HelpText& a, const HelpText& b) { return a.id < b.id; }
static_assert(std::ranges::adjacent_find(kHelpTexts, [](const HelpText& a, const HelpText& b) {
                return !by_id(a, b);
              }) == kHelpTexts.end(),
              "help texts must be sorted by identifier, each identifier once");

}  // namespace

std::span<const HelpText> help_text_table() { return kHelpTexts; }

std::string help_text(uint32_t id) {
  const auto found = std::lower_bound(kHelpTexts.begin(), kHelpTexts.end(), HelpText{id, {}}, by_id);
  if (found != kHelpTexts.end() && found->id == id) return std::string(found->text);
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "Help text 0x%04x", static_cast<unsigned>(id));
  return fallback;
}

}  // namespace host
