// The demo panel, loaded once for every benchmark, warmed up so that caches
// and the host's vectors have reached their working sizes.
#pragma once

#include <benchmark/benchmark.h>

#include <sstream>

#include "allocation_counter.h"
#include "session.h"

namespace bench {

inline host::Session& demo_panel() {
  static host::Session* session = [] {
    auto* s = new host::Session(GAUGES_DIR);
    std::ostringstream warnings;
    s->load_panel(DEMO_PANEL, true, warnings);
    s->aircraft().go_live();
    s->host().tick(200);
    return s;
  }();
  return *session;
}

// Heap allocations per iteration of the benchmark's timed loop, by who asked.
class AllocationsPerIteration {
 public:
  AllocationsPerIteration() : before_(allocation_counter::counts()) {}
  void report(benchmark::State& state, const char* per) const {
    const allocation_counter::Counts after = allocation_counter::counts();
    const double n = double(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters[std::string("host_allocs_per_") + per] = double(after.host - before_.host) / n;
    state.counters[std::string("module_allocs_per_") + per] = double(after.module - before_.module) / n;
  }

 private:
  allocation_counter::Counts before_;
};

}  // namespace bench
