// Runs the benchmarks, then sets each figure against its baseline from the
// same run: the goals are ratios, so the machine's own speed cancels out.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // CPU time: the figures stay comparable on a machine that is busy with
    // other work. With repetitions, the median stands for the benchmark.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const std::string name = run.run_name.str();
      if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
        seconds_[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (median) medians_.insert(name);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void print_ratios() const {
    struct Ratio {
      const char* what;
      const char* measured;
      const char* baseline;
      double goal;
    };
    static constexpr Ratio kRatios[] = {
        {"update: demo panel / constant callbacks", "BM_Update_DemoPanel", "BM_Update_ConstantCallbacks", 2.0},
        {"frame: demo panel / plain compositing", "BM_Draw_DemoPanel", "BM_Draw_PlainCompositing", 1.5},
    };
    std::printf("\n%-44s %10s %8s\n", "ratio", "measured", "goal");
    for (const Ratio& r : kRatios) {
      const auto measured = seconds_.find(r.measured), baseline = seconds_.find(r.baseline);
      if (measured == seconds_.end() || baseline == seconds_.end() || baseline->second <= 0) continue;
      const double ratio = measured->second / baseline->second;
      std::printf("%-44s %9.2fx %7.1fx  %s\n", r.what, ratio, r.goal, ratio <= r.goal ? "met" : "NOT MET");
    }
    if (const auto frame = seconds_.find("BM_Draw_DemoPanel"); frame != seconds_.end() && frame->second > 0) {
      std::printf("%-44s %9.0f\n", "demo panel frames per second", 1.0 / frame->second);
    }
    const auto quick = seconds_.find("BM_Picture_QuickPng"), cairo = seconds_.find("BM_Picture_CairoPng");
    if (quick != seconds_.end() && cairo != seconds_.end() && quick->second > 0) {
      std::printf("%-44s %9.1fx\n", "served picture: cairo's PNG / quick PNG", cairo->second / quick->second);
    }
  }

 private:
  std::map<std::string, double> seconds_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_ratios();
  benchmark::Shutdown();
  return 0;
}
