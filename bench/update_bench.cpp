// One full update of the demo panel against the same loop over the same
// elements whose callbacks only return a constant: what the modules' own work
// and the host's handling of it add to the bare cycle.
#include <cstring>
#include <memory>
#include <vector>

#include "demo_panel.h"

namespace {

int32_t GAUGE_CALL constant_routine() { return 0; }
void GAUGE_CALL constant_message(GAUGEHDR*, int32_t, uint32_t) {}
double GAUGE_CALL constant_reading(ELEMENT_HEADER*) { return 1.0; }

// A copy of a placed gauge whose records call the constant callbacks above.
struct ConstantGauge {
  GAUGEHDR header;
  std::vector<std::unique_ptr<char[]>> records;
  host::GaugeView view;
  host::GaugeInstance instance;

  explicit ConstantGauge(const host::GaugeInstance& real) : header(*real.gauge->header) {
    header.update = constant_routine;
    if (header.gauge_callback) header.gauge_callback = constant_message;
    view = {&header, real.gauge->name, {}, real.gauge->mouse};
    instance = real;
    for (size_t i = 0; i < real.elements.size(); ++i) {
      const ELEMENT_HEADER* element = real.elements[i].view.header;
      const size_t size = element->kind == ELEMENT_KIND_NEEDLE ? sizeof(ELEMENT_NEEDLE)
                          : element->kind == ELEMENT_KIND_ICON ? sizeof(ELEMENT_ICON)
                                                               : sizeof(ELEMENT_STATIC_IMAGE);
      records.push_back(std::make_unique<char[]>(size));
      std::memcpy(records.back().get(), element, size);
      host::ElementView copy{reinterpret_cast<ELEMENT_HEADER*>(records.back().get()), real.elements[i].view.depth};
      if (ELEMENT_NEEDLE* needle = copy.needle(); needle && needle->update) needle->update = constant_reading;
      if (ELEMENT_ICON* icon = copy.icon(); icon && icon->update) icon->update = constant_reading;
      view.chain.push_back(copy);
      instance.elements[i].view = copy;
    }
    instance.gauge = &view;
  }
};

void BM_Update_DemoPanel(benchmark::State& state) {
  host::PanelHost& host = bench::demo_panel().host();
  const bench::AllocationsPerIteration allocations;
  for (auto _ : state) host.tick();
  allocations.report(state, "update");
  state.counters["gauges"] = double(host.instances().size());
}
BENCHMARK(BM_Update_DemoPanel);

void BM_Update_ConstantCallbacks(benchmark::State& state) {
  host::Session& session = bench::demo_panel();
  std::vector<std::unique_ptr<ConstantGauge>> gauges;
  for (const auto& real : session.host().instances()) gauges.push_back(std::make_unique<ConstantGauge>(*real));
  for (auto _ : state) {
    session.aircraft().on_tick();
    for (auto& gauge : gauges) session.host().update(gauge->instance);
  }
}
BENCHMARK(BM_Update_ConstantCallbacks);

}  // namespace
