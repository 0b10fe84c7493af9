// Sample files on a full store already in memory: the text formatting
// against snprintf, the .bin save and the auto-save against a plain write of
// the same bytes with the same flush, and Load From against a plain read.
// Files go to /tmp and are deleted afterwards.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "acquisition/conversion.h"
#include "files/auto_saver.h"
#include "files/sample_formats.h"
#include "files/sample_load.h"
#include "files/sample_save.h"

namespace trelvan {
namespace {

const std::filesystem::path Folder = "/tmp/trelvan-bench-files";

// The full store, every page touched, with codes of both signs.
AcquisitionState& FullState() {
  static AcquisitionState* state = [] {
    auto* s = new AcquisitionState(StoreCapacity);
    s->fullScaleVolts = 10.0f;
    s->channelFactor.fill(1.0f);
    for (uint32_t r = 0; r < StoreCapacity; ++r) {
      int16_t* raw = s->store.rawRow(r);
      for (int c = 0; c < Channels; ++c) raw[c] = static_cast<int16_t>(r * 2654435761u >> (c + 8));
    }
    StoreLoadedCycles(*s, reinterpret_cast<const uint8_t*>(s->store.rawRow(0)), StoreCapacity);
    std::filesystem::create_directories(Folder);
    return s;
  }();
  return *state;
}

// Copies into a reused buffer, as a file write would take the bytes.
class MemorySink : public ByteSink {
 public:
  bool Put(const char* data, std::size_t size) override {
    for (std::size_t done = 0; done < size;) {
      const std::size_t n = std::min(size - done, sizeof buffer_);
      std::memcpy(buffer_, data + done, n);
      done += n;
    }
    benchmark::DoNotOptimize(buffer_);
    bytes += size;
    return true;
  }
  uint64_t bytes = 0;

 private:
  char buffer_[1 << 20];
};

void BM_TextFormat(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  auto sink = std::make_unique<MemorySink>();
  for (auto _ : bench) WriteTextRows(state.store, StoreCapacity, *sink, static_cast<unsigned>(bench.range(0)));
  bench.SetBytesProcessed(static_cast<int64_t>(sink->bytes));
}
BENCHMARK(BM_TextFormat)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_TextSnprintf(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  auto sink = std::make_unique<MemorySink>();
  auto block = std::make_unique<char[]>(16384 * TextLineMaxChars);
  for (auto _ : bench) {
    for (uint32_t first = 0; first < StoreCapacity; first += 16384) {
      char* out = block.get();
      for (uint32_t r = first; r < std::min(StoreCapacity, first + 16384); ++r) {
        out += std::snprintf(out, TextLineMaxChars, "L%08d,   ", static_cast<int>(r));
        const float* volts = state.store.voltsRow(r);
        for (int c = 0; c < Channels; ++c)
          out += std::snprintf(out, TextLineMaxChars, "% 2.6f,   ", static_cast<double>(volts[c]));
        *out++ = '\r';
        *out++ = '\n';
      }
      sink->Put(block.get(), static_cast<std::size_t>(out - block.get()));
    }
  }
  bench.SetBytesProcessed(static_cast<int64_t>(sink->bytes));
}
BENCHMARK(BM_TextSnprintf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The whole .txt file on the disk, flushed.
void BM_TextFile(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  AcquisitionHooks hooks;
  const std::string path = (Folder / "text.txt").string();
  for (auto _ : bench) SaveSamples(state.store, StoreCapacity, SampleFormat::Text, path, SystemFileWriter(), hooks);
  std::filesystem::remove(path);
}
BENCHMARK(BM_TextFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Baseline: one plain write of the 96,000,000 bytes, then fsync.
void BM_PlainWrite(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  const std::string path = (Folder / "plain.bin").string();
  for (auto _ : bench) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::write(fd, state.store.rawRow(0), std::size_t{StoreCapacity} * CycleBytes));
    ::fsync(fd);
    ::close(fd);
    bench.PauseTiming();
    std::filesystem::remove(path);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_BinSave(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  AcquisitionHooks hooks;
  const std::string path = (Folder / "save.bin").string();
  for (auto _ : bench) {
    SaveSamples(state.store, StoreCapacity, SampleFormat::Bin, path, SystemFileWriter(), hooks);
    bench.PauseTiming();
    std::filesystem::remove(path);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_BinSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_AutoSave(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  AcquisitionHooks hooks;
  AutoSaver saver;
  const std::string folder = Folder.string() + "/";
  for (auto _ : bench) {
    if (!saver.Save(state, hooks, folder, [] { return std::string("2024-3-5 9-07-02"); },
                    AutoSaver::Clock::now())) {
      bench.SkipWithError("auto-save failed");
    }
    bench.PauseTiming();
    state.store.cycleCount = StoreCapacity;
    std::filesystem::remove(Folder / "2024-3-5 9-07-02.bin");
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_AutoSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A 96,000,000-byte file, read once so that it is in the page cache.
const std::string& CachedFile() {
  static const std::string path = [] {
    AcquisitionState& state = FullState();
    const std::string p = (Folder / "load.bin").string();
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::write(fd, state.store.rawRow(0), std::size_t{StoreCapacity} * CycleBytes));
    ::close(fd);
    return p;
  }();
  return path;
}

// Baseline: the file read into memory in one read.
void BM_ReadIntoMemory(benchmark::State& bench) {
  const std::string& path = CachedFile();
  auto buffer = std::make_unique<char[]>(std::size_t{StoreCapacity} * CycleBytes);
  std::memset(buffer.get(), 0, std::size_t{StoreCapacity} * CycleBytes);
  for (auto _ : bench) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(fd, buffer.get(), std::size_t{StoreCapacity} * CycleBytes));
    ::close(fd);
  }
}
BENCHMARK(BM_ReadIntoMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_LoadFrom(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  const std::string& path = CachedFile();
  AcquisitionHooks views;  // left out: every view call does nothing
  for (auto _ : bench) {
    state.store.cycleCount = 0;
    LoadSampleFile(state, views, SystemFileReader(), path);
  }
  if (state.store.cycleCount != StoreCapacity) bench.SkipWithError("not loaded whole");
  std::filesystem::remove(path);
  std::filesystem::remove_all(Folder);
}
BENCHMARK(BM_LoadFrom)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
}  // namespace trelvan
