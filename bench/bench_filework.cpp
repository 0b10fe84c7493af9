// File work off the window's thread, measured where the user pays for it:
// - the real window on the simulated module's real clock at the 1 us period
//   for 60 s, auto-saving to a medium that takes 3 s per file, with a .txt
//   Save As of a full store in the middle: the longest time the window's
//   event loop is held (gaps of a 10 ms precise timer, the longest and the
//   99th percentile), the cycles the module dropped, and the process's CPU;
// - the .txt Save As of a full store (pipelined formatting, early write-back)
//   against its floor: a plain write + flush of the same 714 MB;
// - Load From of a 96,000,000-byte file through the window's handler, views
//   included, against reading the file into memory.
// Wall time throughout: threads and I/O are involved.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "acquisition/conversion.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/linked/linked_device_library.h"
#include "files/safe_write.h"
#include "files/sample_formats.h"
#include "kavrel_sim.h"
#include "offscreen_app.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace trelvan;

// A slow medium for the auto-saves: the bytes are taken (not kept, so the
// run needs no disk) and each .bin file's flush takes 3 s.
class SlowMedium : public PosixFileWriter {
 public:
  int64_t Write(int, const void*, std::size_t size) override { return static_cast<int64_t>(size); }
  int Sync(int fd) override {
    if (IsBin(fd)) std::this_thread::sleep_for(std::chrono::seconds(3));
    return 0;
  }
  int CreateNew(const std::string& path, int* fd) override {
    const int error = PosixFileWriter::CreateNew(path, fd);
    std::lock_guard lock(mutex_);
    if (error == 0 && path.find(".bin") != std::string::npos) binFds_.insert(*fd);
    return error;
  }
  int Close(int fd) override {
    {
      std::lock_guard lock(mutex_);
      binFds_.erase(fd);
    }
    return PosixFileWriter::Close(fd);
  }

 private:
  bool IsBin(int fd) {
    std::lock_guard lock(mutex_);
    return binFds_.count(fd) > 0;
  }
  std::mutex mutex_;  // the auto-save writer and Save As use it at once
  std::set<int> binFds_;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_WindowHeldAt1usWithASlowDisk(benchmark::State& s) {
  OffscreenApp();
  const int runMs = static_cast<int>(s.range(0)) * 1000;
  for (auto _ : s) {
    KavrelSim_Reset();  // the real clock
    QTemporaryDir dir;
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    SlowMedium medium;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.files().SetFileWriter(medium);
    form.Edit45->setText(dir.path() + "/");
    form.show();
    form.Button7Click();
    form.Edit1->setText("1");
    form.ComboBox6->setCurrentIndex(0);  // microseconds
    form.Button2Click();

    std::vector<double> gaps;
    QElapsedTimer clock;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(10);
    qint64 last = 0;
    QObject::connect(&beat, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      gaps.push_back((now - last) / 1e6);
      last = now;
    });
    QEventLoop loop;
    QTimer::singleShot(runMs / 2, &form, [&] {
      dialogs.saveAnswers.push_back({dir.path() + "/mid.txt", 1});
      form.Button4Click();
    });
    QTimer::singleShot(runMs, &loop, &QEventLoop::quit);
    const double cpu0 = CpuSeconds();
    clock.start();
    form.Button1Click();  // Start
    beat.start();
    loop.exec();
    beat.stop();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpu0;
    const uint64_t dropped = KavrelSim_DroppedCycles();
    const uint32_t cycles = form.acq.adcConfig.trigCnt;
    form.Button1Click();  // Stop
    dialogs.chooseAnswers.push_back(2);  // discard whatever could not be written at closing
    QElapsedTimer closing;
    closing.start();
    form.close();
    while (form.isVisible() && closing.elapsed() < 60'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    std::sort(gaps.begin(), gaps.end());
    s.counters["held_max_ms"] = gaps.empty() ? 0 : gaps.back();
    s.counters["held_p99_ms"] = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    s.counters["dropped"] = static_cast<double>(dropped);
    s.counters["cycles"] = cycles;
    s.counters["auto_saves"] = cycles / double(StoreCapacity);
    s.counters["cpu_percent"] = 100.0 * cpu / wall;
  }
  KavrelSim_Reset();
}
BENCHMARK(BM_WindowHeldAt1usWithASlowDisk)->Arg(60)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// The baseline: the same 10 ms precise timer in the event loop of the same
// window, shown and idle, over the same machine's scheduling.
void BM_IdleWindowTimerGaps(benchmark::State& s) {
  OffscreenApp();
  for (auto _ : s) {
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.show();
    std::vector<double> gaps;
    QElapsedTimer clock;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(10);
    qint64 last = 0;
    QObject::connect(&beat, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      gaps.push_back((now - last) / 1e6);
      last = now;
    });
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(s.range(0)) * 1000, &loop, &QEventLoop::quit);
    clock.start();
    beat.start();
    loop.exec();
    std::sort(gaps.begin(), gaps.end());
    s.counters["held_max_ms"] = gaps.empty() ? 0 : gaps.back();
    s.counters["held_p99_ms"] = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    form.close();
  }
}
BENCHMARK(BM_IdleWindowTimerGaps)->Arg(20)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// A full store of the simulated module's signals.
SampleStore& FullStore() {
  static AcquisitionState* state = [] {
    auto* s = new AcquisitionState(StoreCapacity);
    s->fullScaleVolts = 10.0f;
    s->channelFactor.fill(1.0f);
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    const uint8_t index = Kavrel_OpenDevice();
    AdcConfig config{};
    Kavrel_ADCGetConfig(index, &config);
    config.modeBits = 0x10;  // +/-10 V, microseconds
    config.trigBits = 0x01;  // Period
    config.wPeriod = 1;
    Kavrel_ADCSetConfig(index, &config);
    Kavrel_ADCStart(index);
    auto buffer = std::make_unique<uint8_t[]>(ReadBufferBytes);
    while (!s->store.full()) {
      KavrelSim_AdvanceClock(1'600'000);
      uint32_t got = 0;
      Kavrel_ReadFIFO(index, buffer.get(), ReadBufferBytes, &got);
      StoreCycles(*s, buffer.get(), std::min(got / CycleBytes, s->store.room()));
    }
    Kavrel_CloseDevice(index);
    KavrelSim_Reset();
    return s;
  }();
  return state->store;
}

std::string BenchFolder() {
  static QTemporaryDir dir(QDir::currentPath() + "/trelvan-bench-XXXXXX");
  return dir.path().toStdString() + "/";
}

// The .txt text of the full store, made once: the baseline writes these very
// bytes (a disk or its host may compress, so other bytes would not do).
const std::string& TextOfFullStore() {
  static const std::string text = [] {
    struct StringSink : ByteSink {
      std::string text;
      bool Put(const char* data, std::size_t size) override { return text.append(data, size), true; }
    } sink;
    WriteTextRows(FullStore(), StoreCapacity, sink);
    return std::move(sink.text);
  }();
  return text;
}

uint64_t TextBytes() { return TextOfFullStore().size(); }

void BM_TxtSaveAsFullStore(benchmark::State& s) {
  const SampleStore& store = FullStore();
  const std::string path = BenchFolder() + "full.txt";
  for (auto _ : s) {
    const WriteOutcome outcome = WriteFileSafely(SystemFileWriter(), path, NameRule::Replace, [&](FileSink& sink) {
      return WriteTextRows(store.voltsRow(0), StoreCapacity, sink, 0, {});
    });
    if (!outcome.ok) s.SkipWithError(outcome.reason.c_str());
    s.PauseTiming();
    ::unlink(path.c_str());
    s.ResumeTiming();
  }
  s.SetBytesProcessed(static_cast<int64_t>(s.iterations() * TextBytes()));
}
BENCHMARK(BM_TxtSaveAsFullStore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor: the same bytes, written in 16 MiB pieces and flushed.
void BM_PlainWriteAndFlushOfTheTxtBytes(benchmark::State& s) {
  const std::string& text = TextOfFullStore();
  const uint64_t bytes = text.size();
  const std::size_t piece = 16 << 20;
  const std::string path = BenchFolder() + "plain.txt";
  for (auto _ : s) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    for (uint64_t done = 0; done < bytes;) {
      const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(piece, bytes - done));
      if (::write(fd, text.data() + done, n) != static_cast<ssize_t>(n)) s.SkipWithError("write failed");
      done += n;
    }
    ::fsync(fd);
    ::close(fd);
    s.PauseTiming();
    ::unlink(path.c_str());
    s.ResumeTiming();
  }
  s.SetBytesProcessed(static_cast<int64_t>(s.iterations() * bytes));
}
BENCHMARK(BM_PlainWriteAndFlushOfTheTxtBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A 96,000,000-byte sample file, in the page cache.
std::string SampleFile() {
  static const std::string path = [] {
    const std::string p = BenchFolder() + "full.bin";
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const auto* bytes = reinterpret_cast<const char*>(FullStore().rawRow(0));
    if (::write(fd, bytes, std::size_t{StoreCapacity} * CycleBytes) < 0) std::abort();
    ::close(fd);
    return p;
  }();
  return path;
}

void BM_LoadFromThroughTheWindow(benchmark::State& s) {
  OffscreenApp();
  const std::string path = SampleFile();
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  TMainForm form(device, dialogs);
  form.FormCreate();
  form.show();
  // The store's memory is touched once before timing, as the read's own
  // buffer is (and as it is after a first run or load).
  std::memset(form.acq.store.rawRow(0), 0, std::size_t{StoreCapacity} * CycleBytes);
  std::memset(form.acq.store.voltsRow(0), 0, std::size_t{StoreCapacity} * Channels * sizeof(float));
  for (auto _ : s) {
    s.PauseTiming();
    form.Button9Click();  // an empty store: no question
    QCoreApplication::processEvents();
    dialogs.openAnswers.push_back({QString::fromStdString(path), 0});
    s.ResumeTiming();
    form.Button27Click();
    while (form.files().Busy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QCoreApplication::processEvents();  // the last views' redraw
    if (form.acq.store.cycleCount != StoreCapacity) s.SkipWithError("not loaded whole");
  }
  form.close();
}
BENCHMARK(BM_LoadFromThroughTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The floor: the file read into memory in the loader's pieces.
void BM_ReadTheSampleFile(benchmark::State& s) {
  const std::string path = SampleFile();
  std::vector<char> memory(std::size_t{StoreCapacity} * CycleBytes);
  for (auto _ : s) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    for (;;) {
      const ssize_t n = ::read(fd, memory.data() + done, std::min<std::size_t>(1'600'000, memory.size() - done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(memory.data());
    if (done != memory.size()) s.SkipWithError("not read whole");
  }
}
BENCHMARK(BM_ReadTheSampleFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
