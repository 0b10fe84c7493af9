// Sample files of a store already in memory, at a quarter, half and all of
// the full store (1,500,000 / 3,000,000 / 6,000,000 cycles), real time
// throughout (threads and I/O are involved):
// - .txt formatting into memory with 1 and 2 threads against snprintf of the
//   same texts (the C routine the formatter replaces);
// - the .txt Save As, written and flushed, against the floor: a plain write
//   of the same bytes (formatted beforehand) with the same fsync;
// - the .bin Save As and the auto-save against a plain write + fsync of the
//   same 96,000,000 bytes;
// - Load From through the window's real handler (TMainForm, offscreen: the
//   store, the table, the statistics and the chart refreshed as it loads,
//   then the event loop's painting) against reading the same file into
//   memory; the files stay in the page cache for every repetition.
// Files go to $TRELVAN_BENCH_DIR (default /tmp/trelvan-bench) and are removed
// at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "acquisition/conversion.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/linked/linked_device_library.h"
#include "files/auto_saver.h"
#include "files/sample_formats.h"
#include "files/sample_load.h"
#include "files/sample_save.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

// The benchmark's folder, removed with everything in it at exit.
const std::filesystem::path& Folder() {
  static const struct Holder {
    Holder() {
      const char* dir = std::getenv("TRELVAN_BENCH_DIR");
      path = std::filesystem::path(dir && *dir ? dir : "/tmp/trelvan-bench") / "files";
      std::filesystem::create_directories(path);
    }
    ~Holder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
  } holder;
  return holder.path;
}

void SizeArgs(benchmark::internal::Benchmark* b) {
  b->ArgName("cycles");
  for (int64_t n : {StoreCapacity / 4, StoreCapacity / 2, StoreCapacity}) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}

uint32_t Cycles(const benchmark::State& bench) { return static_cast<uint32_t>(bench.range(0)); }

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

class StringSink : public ByteSink {
 public:
  bool Put(const char* data, std::size_t size) override {
    text.append(data, size);
    return true;
  }
  std::string text;
};

// The text of the first `cycles` rows, formatted once.
const std::string& TextOf(uint32_t cycles) {
  static std::map<uint32_t, std::string> texts;
  auto [it, added] = texts.try_emplace(cycles);
  if (added) {
    StringSink sink;
    sink.text.reserve(std::size_t{cycles} * TextLineMaxChars);
    WriteTextRows(FullState().store, cycles, sink);
    it->second = std::move(sink.text);
  }
  return it->second;
}

// Writes `size` bytes in one write, flushes, closes: the floor of every save.
void PlainWriteAndFlush(const std::string& path, const void* data, std::size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  benchmark::DoNotOptimize(::write(fd, data, size));
  ::fsync(fd);
  ::close(fd);
}

// --- .txt formatting into memory -------------------------------------------

void BM_TextFormat(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  auto sink = std::make_unique<MemorySink>();
  for (auto _ : bench) WriteTextRows(state.store, StoreCapacity, *sink, static_cast<unsigned>(bench.range(0)));
  bench.SetBytesProcessed(static_cast<int64_t>(sink->bytes));
}
BENCHMARK(BM_TextFormat)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

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

// --- .txt Save As on the disk ----------------------------------------------

void BM_TextSave(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  AcquisitionHooks hooks;
  const std::string path = (Folder() / "text.txt").string();
  for (auto _ : bench) {
    if (!SaveSamples(state.store, Cycles(bench), SampleFormat::Text, path, SystemFileWriter(), hooks))
      bench.SkipWithError("save failed");
    bench.PauseTiming();
    std::filesystem::remove(path);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_TextSave)->Apply(SizeArgs)->Iterations(1);

void BM_TextPlainWrite(benchmark::State& bench) {
  const std::string& text = TextOf(Cycles(bench));
  const std::string path = (Folder() / "plain.txt").string();
  for (auto _ : bench) {
    PlainWriteAndFlush(path, text.data(), text.size());
    bench.PauseTiming();
    std::filesystem::remove(path);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_TextPlainWrite)->Apply(SizeArgs)->Iterations(1);

// --- .bin Save As and auto-save ---------------------------------------------

void BM_BinPlainWrite(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  const std::string path = (Folder() / "plain.bin").string();
  for (auto _ : bench) {
    PlainWriteAndFlush(path, state.store.rawRow(0), std::size_t{StoreCapacity} * CycleBytes);
    bench.PauseTiming();
    std::filesystem::remove(path);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_BinPlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_BinSave(benchmark::State& bench) {
  AcquisitionState& state = FullState();
  AcquisitionHooks hooks;
  const std::string path = (Folder() / "save.bin").string();
  for (auto _ : bench) {
    if (!SaveSamples(state.store, StoreCapacity, SampleFormat::Bin, path, SystemFileWriter(), hooks))
      bench.SkipWithError("save failed");
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
  const std::string folder = Folder().string() + "/";
  for (auto _ : bench) {
    if (!saver.Save(state, hooks, folder, [] { return std::string("2024-3-5 9-07-02"); },
                    AutoSaver::Clock::now())) {
      bench.SkipWithError("auto-save failed");
    }
    bench.PauseTiming();
    state.store.cycleCount = StoreCapacity;
    std::filesystem::remove(Folder() / "2024-3-5 9-07-02.bin");
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_AutoSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// --- Load From --------------------------------------------------------------

// A .bin file of the first `cycles` rows, written once, read once so that it
// is in the page cache, kept until the end.
const std::string& BinFileOf(uint32_t cycles) {
  static std::map<uint32_t, std::string> files;
  auto [it, added] = files.try_emplace(cycles);
  if (added) {
    it->second = (Folder() / ("load-" + std::to_string(cycles) + ".bin")).string();
    PlainWriteAndFlush(it->second, FullState().store.rawRow(0), std::size_t{cycles} * CycleBytes);
  }
  return it->second;
}

// Baseline: the file read into memory in one read.
void BM_LoadPlainRead(benchmark::State& bench) {
  const std::string& path = BinFileOf(Cycles(bench));
  const std::size_t size = std::size_t{Cycles(bench)} * CycleBytes;
  auto buffer = std::make_unique<char[]>(size);
  std::memset(buffer.get(), 0, size);
  for (auto _ : bench) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (::read(fd, buffer.get(), size) != static_cast<ssize_t>(size)) bench.SkipWithError("short read");
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
  }
}
BENCHMARK(BM_LoadPlainRead)->Apply(SizeArgs);

// Load From as the user does it: Button27 in the window, the file chosen in
// the dialog, until the store holds the file's cycles and the window is
// painted. The store is emptied by the handler itself (after its question).
void BM_LoadFromWindow(benchmark::State& bench) {
  OffscreenApp();
  const uint32_t cycles = Cycles(bench);
  const std::string& path = BinFileOf(cycles);
  {
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) bench.SkipWithError("the window was not shown");
    QCoreApplication::processEvents();
    const auto load = [&] {
      dialogs.confirmAnswers.push_back(true);  // "This operation will clear all the previous sample data!!!"
      dialogs.openAnswers.push_back({QString::fromStdString(path), 0});
      form.Button27Click();
      // Until the load has ended (its last lines logged, its thread done
      // with the store), not only until the rows are in.
      for (int spins = 0; (form.files().Busy() || form.acq.store.cycleCount < cycles) && spins < 100'000; ++spins)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
      QCoreApplication::processEvents();  // the queued chart redraw and the painting
      return form.acq.store.cycleCount == cycles;
    };
    load();  // the store's pages touched once, as the baseline's buffer is
    for (auto _ : bench) {
      if (!load()) {
        bench.SkipWithError("not loaded whole");
        break;
      }
    }
    form.close();
  }
}
BENCHMARK(BM_LoadFromWindow)->Apply(SizeArgs);

}  // namespace
}  // namespace trelvan
