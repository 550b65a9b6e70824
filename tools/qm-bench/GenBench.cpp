// The level generator: each (grade, seed) made and proven, as the game will ask for them.
#include <algorithm>
#include <string>
#include <vector>

#include "game/gen/Generator.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

namespace qm::bench {

void MeasureGenerator(const Options& options, Report& report) {
  gen::GeneratorWords words;
  std::string error;
  if (!gen::LoadGeneratorWords(".", words, &error)) {
    report.notes.push_back("generate: " + error + ", nothing measured");
    return;
  }
  std::vector<double> all;
  std::string perGrade;
  int failed = 0, candidates = 0;
  for (int grade = gen::kFirstGrade; grade <= gen::kLastGrade; ++grade) {
    std::vector<double> times;
    for (int seed = 1; seed <= options.generateSeeds; ++seed) {
      const auto start = WallClock::now();
      gen::GeneratedLevel level = gen::GenerateLevel(grade, static_cast<uint64_t>(seed), words);
      times.push_back(MillisecondsSince(start));
      failed += level.ok ? 0 : 1;
      candidates += level.candidates;
    }
    perGrade += (perGrade.empty() ? "" : ", ") + std::string("grade ") + std::to_string(grade) + " " +
                Fixed(Median(times)) + " ms";
    all.insert(all.end(), times.begin(), times.end());
  }
  const double median = Median(all), worst = *std::max_element(all.begin(), all.end());
  report.Add("generate_ms_median", median, "ms", "<= 3000", median <= 3000);
  report.Add("generate_ms_max", worst, "ms", "<= 10000", worst <= 10000);
  report.notes.push_back("generate_ms: " + std::to_string(all.size()) + " levels (seeds 1.." +
                         std::to_string(options.generateSeeds) + " of every grade, two threads), median " +
                         perGrade + "; " + std::to_string(candidates) + " candidates, " +
                         std::to_string(failed) + " without a level");
}

}  // namespace qm::bench
