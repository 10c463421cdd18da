// What one callback of each kind costs, called as the host calls it: a needle
// reading with its lighting check, an icon reading, a click, and a tooltip's
// number; then the host's own handling of a click and of a hover around them.
#include <functional>

#include "demo_panel.h"

namespace {

host::GaugeInstance& placed(const char* handle) {
  host::GaugeInstance* gauge = bench::demo_panel().host().find(handle);
  if (!gauge) throw std::runtime_error(std::string("the demo panel has no ") + handle);
  return *gauge;
}

template <class Record>
Record* first_record(host::GaugeInstance& gauge, const std::function<Record*(const host::ElementView&)>& pick) {
  for (const host::ElementState& element : gauge.elements) {
    if (Record* record = pick(element.view)) return record;
  }
  throw std::runtime_error(gauge.module_name + "!" + gauge.gauge->name + " has no such element");
}

const MOUSERECT* first_mouse(const host::GaugeInstance& gauge, bool (*pick)(const MOUSERECT&)) {
  for (const MOUSERECT* record : gauge.gauge->mouse) {
    if (pick(*record)) return record;
  }
  throw std::runtime_error(gauge.module_name + "!" + gauge.gauge->name + " has no such mouse record");
}

void BM_Callback_NeedleWithLightingCheck(benchmark::State& state) {
  ELEMENT_NEEDLE* needle = first_record<ELEMENT_NEEDLE>(placed("lubepress!oil_pressure"), [](const host::ElementView& v) {
    return v.needle() && v.needle()->update ? v.needle() : nullptr;
  });
  for (auto _ : state) benchmark::DoNotOptimize(needle->update(&needle->header));
}
BENCHMARK(BM_Callback_NeedleWithLightingCheck);

void BM_Callback_Icon(benchmark::State& state) {
  ELEMENT_ICON* icon = nullptr;  // the first icon on the panel that has a callback
  for (const auto& gauge : bench::demo_panel().host().instances()) {
    for (const host::ElementState& element : gauge->elements) {
      if (ELEMENT_ICON* candidate = element.view.icon(); candidate && candidate->update && !icon) icon = candidate;
    }
  }
  if (!icon) throw std::runtime_error("the demo panel has no icon with a callback");
  for (auto _ : state) benchmark::DoNotOptimize(icon->update(&icon->header));
}
BENCHMARK(BM_Callback_Icon);

void BM_Callback_Click(benchmark::State& state) {
  const MOUSERECT* box = first_mouse(placed("switchbank!battery"), [](const MOUSERECT& r) {
    return r.kind == MOUSE_CHILD && r.function.click != nullptr;
  });
  host::PanelHost& host = bench::demo_panel().host();
  const PIXPOINT where{box->x + 1, box->y + 1};
  for (auto _ : state) {
    benchmark::DoNotOptimize(box->function.click(&where, MOUSE_LEFTSINGLE));
    host.clear_events();
  }
}
BENCHMARK(BM_Callback_Click);

void BM_Callback_TooltipNumber(benchmark::State& state) {
  host::GaugeInstance& gauge = placed("tankgauges!Left Main");
  const MOUSERECT* tip = first_mouse(gauge, [](const MOUSERECT& r) {
    return r.kind == MOUSE_TOOLTIP && r.event_or_argument_count > 0 && r.arguments->number_callback;
  });
  auto* source = const_cast<MODULE_VAR*>(&tip->arguments->source);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tip->arguments->number_callback(0.0, 0, nullptr, source, gauge.gauge->header));
  }
}
BENCHMARK(BM_Callback_TooltipNumber);

void BM_Host_Click(benchmark::State& state) {
  host::GaugeInstance& gauge = placed("switchbank!battery");
  host::PanelHost& host = bench::demo_panel().host();
  const bench::AllocationsPerIteration allocations;
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.click(gauge, gauge.width / 2, gauge.height / 2));
    host.clear_events();
  }
  allocations.report(state, "click");
}
BENCHMARK(BM_Host_Click);

void BM_Host_HoverFormattedTooltip(benchmark::State& state) {
  host::GaugeInstance& gauge = placed("tankgauges!Left Main");
  host::PanelHost& host = bench::demo_panel().host();
  const bench::AllocationsPerIteration allocations;
  for (auto _ : state) benchmark::DoNotOptimize(host.hover(gauge, gauge.width / 2, gauge.height / 2).text.size());
  allocations.report(state, "hover");
}
BENCHMARK(BM_Host_HoverFormattedTooltip);

}  // namespace
