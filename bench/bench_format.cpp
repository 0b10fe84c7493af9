// Fixed-point texts: the fast formatter against snprintf of the same values,
// per value and per text-file line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "files/sample_formats.h"
#include "format/fixed_format.h"

namespace {

using trelvan::AppendFixed6;

// Every code of the +/-10 V range as volts, in a scattered order.
const std::vector<double>& Values() {
  static const std::vector<double> values = [] {
    std::vector<double> v;
    for (int i = 0; i < 65536; ++i) {
      const int code = static_cast<int16_t>((i * 40503) & 0xFFFF);
      v.push_back(static_cast<float>(code) * 10.0f / 32768.0f);
    }
    return v;
  }();
  return values;
}

const std::vector<float>& FloatValues() {
  static const std::vector<float> values(Values().begin(), Values().end());
  return values;
}

void BM_Fixed6_Fast(benchmark::State& state) {
  const auto& values = Values();
  char buffer[trelvan::FixedMaxChars];
  size_t i = 0;
  for (auto _ : state) {
    char* end = AppendFixed6(buffer, values[i++ & 0xFFFF]);
    benchmark::DoNotOptimize(end);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Fixed6_Fast);

void BM_Fixed6_Snprintf(benchmark::State& state) {
  const auto& values = Values();
  char buffer[trelvan::FixedMaxChars];
  size_t i = 0;
  for (auto _ : state) {
    int n = std::snprintf(buffer, sizeof buffer, "% 2.6f", values[i++ & 0xFFFF]);
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Fixed6_Snprintf);

// "% 2.6f" of a float, the way the .txt lines use it.
void BM_Fixed6Float_Fast(benchmark::State& state) {
  const auto& values = FloatValues();
  char buffer[trelvan::FixedMaxChars];
  size_t i = 0;
  for (auto _ : state) {
    char* end = trelvan::AppendFixed6Float(buffer, values[i++ & 0xFFFF]);
    benchmark::DoNotOptimize(end);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Fixed6Float_Fast);

// One line of the text file: "L%08d,   " and eight "% 2.6f,   " fields, by
// the routine the .txt writer uses.
void BM_TextFileLine_Fast(benchmark::State& state) {
  const auto& values = FloatValues();
  char line[trelvan::TextLineMaxChars];
  uint32_t row = 0;
  for (auto _ : state) {
    char* out = trelvan::AppendTextLine(line, row + 1, &values[(row * 8) & 0xFFFF]);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
    ++row;
  }
}
BENCHMARK(BM_TextFileLine_Fast);

void BM_TextFileLine_Snprintf(benchmark::State& state) {
  const auto& values = Values();
  char line[16 + 8 * (trelvan::FixedMaxChars + 4) + 2];
  uint32_t row = 0;
  for (auto _ : state) {
    const double* v = &values[(row * 8) & 0xFFFF];
    int n = std::snprintf(line, sizeof line,
                          "L%08d,   % 2.6f,   % 2.6f,   % 2.6f,   % 2.6f,   % 2.6f,   % 2.6f,   "
                          "% 2.6f,   % 2.6f,   \r\n",
                          static_cast<int>(row + 1), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
    ++row;
  }
}
BENCHMARK(BM_TextFileLine_Snprintf);

}  // namespace
