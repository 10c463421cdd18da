// Fuel quantity: eleven tank gauges and four group totals on one dial design.
// Panels name the gauges in the order of this list.
#include <array>
#include <iterator>
#include <utility>

#include "tank_gauges.h"
#include "total_gauges.h"

namespace tankgauges {
namespace {

template <size_t... Row>
constexpr std::array<GAUGEHDR*, sizeof...(Row) + 5> gauge_list(std::index_sequence<Row...>) {
  return {&TankDial<Row>::header...,
          &FuelDial<AircraftTotal>::header,
          &FuelDial<CenterTotal>::header,
          &FuelDial<SideTotal<kLeftSide>>::header,
          &FuelDial<SideTotal<kRightSide>>::header,
          nullptr};
}

constinit const auto gauges = gauge_list(std::make_index_sequence<std::size(kTanks)>{});
static_assert(gauges.size() == kGauges + 1);

// The only module that registers the lighting variable up front, and keeps its identifier.
void GAUGE_CALL register_lighting() {
  frame::lighting_identifier = frame::host().register_named_variable(frame::kLightingVariable);
}

}  // namespace
}  // namespace tankgauges

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage =
    frame::linkage(tankgauges::gauges.data(), tankgauges::register_lighting);
}
