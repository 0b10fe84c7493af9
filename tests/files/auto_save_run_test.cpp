// Acquisition runs through several auto-saves with a small store: every
// cycle the program read must end up once, in order, in the auto-saved files
// followed by the store, whatever the auto-save folder does meanwhile.
#include <gtest/gtest.h>

#include <numeric>

#include "acquisition/poll.h"
#include "acquisition/sampling_control.h"
#include "device/log_colours.h"
#include "files/auto_saver.h"
#include "files/file_test_support.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

using testing::FaultyWriter;
using Fault = FaultyWriter::Fault;
using namespace std::chrono_literals;

constexpr uint32_t Capacity = 1000;
constexpr uint32_t CyclesPerRead = 700;

struct RunHooks : testing::RecordingHooks {
  AutoSaver* saver = nullptr;
  AcquisitionState* state = nullptr;
  std::string folder;
  AutoSaver::Clock::time_point now{1000s};
  std::function<std::string()> name;
  int saves = 0;

  bool AutoSave() override {
    return saver->Save(*state, *this, folder, name, now);
  }
};

struct AutoSaveRun : ::testing::Test {
  AutoSaveRun() : state(Capacity) {
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    state.deviceIndex = 0;
    SetRunning(state.adcConfig, true);
    hooks.saver = &saver;
    hooks.state = &state;
    hooks.folder = temp.folder();
    hooks.name = [this] { return "run " + std::to_string(++hooks.saves); };
    saver.SetDeliver(reports.deliver());
  }
  // One tick with one more read waiting in the module's FIFO; then the
  // writer's reports (a fast disk: the write is done before the next tick).
  void Tick() {
    device.fifoChunks.push_back(testing::NumberedCycles(CyclesPerRead, sent));
    sent += CyclesPerRead;
    Timer1Timer(state, device, hooks);
    Written();
  }
  void Written() { ASSERT_TRUE(reports.RunUntil([this] { return !saver.writing(); })); }
  // The cycle numbers in the files (in the order they were created), then the store.
  std::vector<uint32_t> Kept() const {
    std::vector<uint32_t> numbers;
    for (const testing::LogLine& line : hooks.log) {
      if (line.text.rfind("create file ", 0) != 0) continue;
      const std::vector<uint8_t> bytes = testing::ReadAll(temp.file(line.text.substr(12) + ".bin"));
      EXPECT_EQ(bytes.size(), Capacity * 16u) << line.text;
      const auto part = testing::CycleNumbers(bytes.data(), bytes.size() / 16);
      numbers.insert(numbers.end(), part.begin(), part.end());
    }
    const auto stored = testing::CycleNumbers(reinterpret_cast<const uint8_t*>(state.store.rawRow(0)),
                                              state.store.cycleCount);
    numbers.insert(numbers.end(), stored.begin(), stored.end());
    return numbers;
  }
  // Every cycle read so far, once and in order (the module's FIFO holds the rest).
  void ExpectEveryReadCycleKept() const {
    const uint32_t read = state.adcConfig.trigCnt;
    std::vector<uint32_t> expected(read);
    std::iota(expected.begin(), expected.end(), 0u);
    EXPECT_EQ(Kept().size() + state.waitingCycles, read);
    std::vector<uint32_t> kept = Kept();
    const auto waiting = testing::CycleNumbers(state.readBuffer.get() + state.waitingOffset, state.waitingCycles);
    kept.insert(kept.end(), waiting.begin(), waiting.end());
    EXPECT_TRUE(kept == expected);
  }
  int Reads() const { return device.count("ReadFIFO"); }

  testing::TempFolder temp;
  FaultyWriter writer;
  testing::ReportQueue reports;
  AcquisitionState state;
  RunHooks hooks;
  testing::FakeDeviceLibrary device;
  uint32_t sent = 0;
  AutoSaver saver{writer};  // last: its writer thread goes first
};

TEST_F(AutoSaveRun, ThreeAutoSavesKeepEveryCycleInOrder) {
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(hooks.saves, 3);
  EXPECT_EQ(temp.names(), (std::vector<std::string>{"run 1.bin", "run 2.bin", "run 3.bin"}));
  EXPECT_EQ(state.store.cycleCount, 500u);
  ExpectEveryReadCycleKept();
}

TEST_F(AutoSaveRun, NameCollisionsGetNumberedFiles) {
  hooks.name = [this] { return ++hooks.saves, std::string("2024-3-5 9-07-02"); };
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(temp.names(), (std::vector<std::string>{"2024-3-5 9-07-02 (2).bin", "2024-3-5 9-07-02 (3).bin",
                                                    "2024-3-5 9-07-02.bin"}));
  ExpectEveryReadCycleKept();
}

// The folder fails: the rows of the full store are kept by the writer and
// the run goes on; when the next store fills too, the run pauses (the FIFO
// is not read). The folder is fixed and nothing read is lost.
TEST_F(AutoSaveRun, FailingFolderPausesASecondStoreUntilFixed) {
  struct Case {
    const char* what;
    Fault fault;
    int64_t freeBytes;
    bool missing;
    bool fixByNewFolder;
  } cases[] = {
      {"missing folder comes back", Fault::None, -1, true, false},
      {"refused, then another folder", Fault::RefuseCreate, -1, false, true},
      {"fails half-way", Fault::FailWrite, -1, false, false},
      {"writes short", Fault::WriteShort, -1, false, false},
      {"full disk", Fault::None, 100, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempFolder other;
    AcquisitionState fresh(Capacity);
    fresh.fullScaleVolts = 10.0f;
    std::swap(state.store, fresh.store);  // an empty store and a fresh run
    state.adcConfig.trigCnt = 0;
    state.waitingCycles = 0;
    ResetRunHealth(state.health);  // and the last case's pause forgotten, as Start does
    hooks.log.clear();
    hooks.saves = 0;
    sent = 0;
    device.fifoChunks.clear();
    device.calls.clear();
    writer.fault = c.fault;
    writer.failAfterBytes = 8000;
    writer.freeBytes = c.freeBytes;
    hooks.folder = c.missing ? temp.folder() + "disk/" : temp.folder();

    Tick();
    Tick();  // fills the store: handed over, the write fails; 400 in the store
    EXPECT_EQ(state.store.cycleCount, 400u);
    EXPECT_EQ(saver.unwrittenCycles(), Capacity);
    ASSERT_EQ(hooks.log.size(), 4u) << ::testing::PrintToString(hooks.texts());  // two tick lines, the two red ones after them
    EXPECT_EQ(hooks.log[2].colour, LogRed);
    EXPECT_EQ(hooks.log[3].colour, LogRed);
    Tick();  // the second store fills: 100 cycles wait
    EXPECT_TRUE(state.paused());
    EXPECT_TRUE(temp.names().empty());

    const int reads = Reads();
    Tick();  // paused: not due again yet, the FIFO is not read
    hooks.now += 5s;
    Tick();  // tried again, same reason: not logged again
    EXPECT_EQ(Reads(), reads);
    EXPECT_EQ(hooks.log.size(), 5u) << ::testing::PrintToString(hooks.texts());

    writer.fault = Fault::None;
    writer.freeBytes = -1;
    if (c.missing) std::filesystem::create_directory(temp.folder() + "disk");
    if (c.fixByNewFolder) {
      hooks.folder = other.folder();  // a new folder is tried at once
    } else {
      hooks.now += 5s;
    }
    Tick();  // the first store written; the pause ends at the next tick
    Tick();
    EXPECT_EQ(state.waitingCycles, 0u);
    Tick();
    EXPECT_EQ(saver.unwrittenCycles(), 0u);
    const std::string folder = hooks.folder;
    std::vector<uint32_t> kept;
    for (const testing::LogLine& line : hooks.log) {
      if (line.text.rfind("create file ", 0) != 0) continue;
      const auto bytes = testing::ReadAll(folder + line.text.substr(12) + ".bin");
      const auto part = testing::CycleNumbers(bytes.data(), bytes.size() / 16);
      kept.insert(kept.end(), part.begin(), part.end());
    }
    const auto stored = testing::CycleNumbers(reinterpret_cast<const uint8_t*>(state.store.rawRow(0)),
                                              state.store.cycleCount);
    kept.insert(kept.end(), stored.begin(), stored.end());
    const auto waiting = testing::CycleNumbers(state.readBuffer.get() + state.waitingOffset, state.waitingCycles);
    kept.insert(kept.end(), waiting.begin(), waiting.end());
    std::vector<uint32_t> expected(state.adcConfig.trigCnt);
    std::iota(expected.begin(), expected.end(), 0u);
    EXPECT_TRUE(kept == expected);
    EXPECT_GE(state.adcConfig.trigCnt, 5 * CyclesPerRead) << "reading resumed";
    std::filesystem::remove_all(temp.folder() + "disk");
    for (const std::string& name : temp.names()) std::filesystem::remove(temp.file(name));
  }
}

TEST_F(AutoSaveRun, StopDuringAPauseKeepsTheWaitingCycles) {
  hooks.folder = temp.folder() + "unplugged/";
  Tick();
  Tick();
  Tick();
  ASSERT_TRUE(state.paused());
  hooks.log.clear();
  saver.RetryNow();  // Stop tries once
  StopSample(state, device, hooks);
  Written();
  EXPECT_EQ(hooks.log, (std::vector<testing::LogLine>{{UnsavedCyclesMessage(uint64_t{Capacity} + 100), LogRed}}))
      << "the full store and the held cycles";
  EXPECT_EQ(state.store.cycleCount, Capacity);
  EXPECT_EQ(state.waitingCycles, 100u);

  hooks.folder = temp.folder();  // a folder picked after the stop
  saver.RetryNow();
  EndPause(state, hooks);
  Written();
  EndPause(state, hooks);
  Written();
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(temp.names(), (std::vector<std::string>{"run 3.bin", "run 4.bin"}));  // runs 1 and 2 failed
  ExpectEveryReadCycleKept();
}

}  // namespace
}  // namespace trelvan
