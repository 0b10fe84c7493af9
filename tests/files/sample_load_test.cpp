#include "files/sample_load.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include "acquisition/conversion.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"

namespace trelvan {
namespace {

using testing::LogLine;
using testing::PatternReader;

void ExpectRowsFromPattern(const SampleStore& store, uint32_t firstRow, uint32_t count) {
  std::vector<uint8_t> expected(std::size_t{count} * 16);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = PatternReader::ByteAt(i);
  ASSERT_EQ(std::memcmp(store.rawRow(firstRow), expected.data(), expected.size()), 0);
}

// Every whole cycle is loaded, piece by piece; what is left over is said in red.
TEST(SampleLoad, WholeCyclesOfFilesOfEveryLength) {
  struct Case {
    const char* what;
    uint64_t fileBytes;
    uint32_t capacity;
    std::size_t maxRead;
    uint32_t cycles;
    std::vector<std::string> extraLog;
    int pieces;
  } cases[] = {
      {"one cycle", 16, StoreCapacity, SIZE_MAX, 1, {}, 1},
      {"one cycle and a byte", 17, StoreCapacity, SIZE_MAX, 1,
       {"The last 1 byte of the file is not a whole cycle and was not loaded!"}, 1},
      {"100 bytes", 100, StoreCapacity, SIZE_MAX, 6,
       {"The last 4 bytes of the file are not a whole cycle and were not loaded!"}, 1},
      {"a piece and 8 bytes", 1'600'008, StoreCapacity, SIZE_MAX, 100'000, {TrailingBytesMessage(8)}, 1},
      {"short reads", 1'600'008, StoreCapacity, 4093, 100'000, {TrailingBytesMessage(8)}, 1},
      {"full store", 96'000'000, StoreCapacity, SIZE_MAX, 6'000'000, {}, 60},
      {"larger than the store", 1000 * 16 + 40, 1000, SIZE_MAX, 1000,
       {CyclesNotLoadedMessage(2), TrailingBytesMessage(8)}, 1},
      {"a cycle larger than the store", 1001 * 16, 1000, SIZE_MAX, 1000,
       {"The store is full: 1 cycle of the file was not loaded!"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AcquisitionState state(c.capacity);
    state.fullScaleVolts = 10.0f;
    state.adcConfig.trigCnt = 5;
    testing::RecordingHooks hooks;
    PatternReader reader(c.fileBytes, c.maxRead);
    const LoadReport report = LoadSampleFile(state, hooks, reader, "f.bin");
    EXPECT_EQ(report.cycles, c.cycles);
    EXPECT_EQ(state.store.cycleCount, c.cycles);
    EXPECT_EQ(state.adcConfig.trigCnt, 5 + c.cycles);
    ExpectRowsFromPattern(state.store, 0, c.cycles);
    std::vector<LogLine> log;
    for (const std::string& text : c.extraLog) log.push_back({text, LogRed});
    log.push_back({"current trigCnt is " + std::to_string(5 + c.cycles) + "!", LogBlue});
    EXPECT_EQ(hooks.log, log);
    EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "ShowChannelStats"), c.pieces);
    const uint32_t firstPiece = std::min<uint32_t>(c.cycles, 100'000);
    EXPECT_EQ(hooks.calls.front(), "ShowNewestRows " + std::to_string(firstPiece));
    EXPECT_EQ(hooks.calls.back(), "AppendWaveRows " + std::to_string(c.cycles - (c.pieces - 1) * 100'000));
  }
}

TEST(SampleLoad, StartsAfterRowsAlreadyStoredAndReportsWhatDidNotFit) {
  for (const bool sizeKnown : {true, false}) {
    SCOPED_TRACE(sizeKnown ? "size known" : "size not known");
    AcquisitionState state(1000);
    state.fullScaleVolts = 10.0f;
    state.store.cycleCount = 900;
    testing::RecordingHooks hooks;
    PatternReader reader(2000 * 16);
    reader.sizeKnown = sizeKnown;
    const LoadReport report = LoadSampleFile(state, hooks, reader, "f.bin");
    EXPECT_EQ(report.cycles, 100u);
    EXPECT_EQ(state.store.cycleCount, 1000u);
    ExpectRowsFromPattern(state.store, 900, 100);
    // Nothing is read past the store's room: an endless file could not be counted.
    EXPECT_EQ(reader.reads, 1);
    EXPECT_EQ(report.cyclesNotLoaded, sizeKnown ? 1900u : 0u);
    EXPECT_EQ(hooks.log.front(), (LogLine{sizeKnown ? CyclesNotLoadedMessage(1900) : RestNotLoadedMessage(), LogRed}));
  }
}

// A pipe without a writer would block the open, a device like /dev/zero never
// ends: both are refused at once with the reason, nothing stored. Neither is
// even opened: opening a device may already make it act.
TEST(SampleLoad, NamesThatAreNoRegularFileAreRefusedWithoutReading) {
  testing::TempFolder folder;
  const std::string fifo = folder.file("pipe.bin");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(opens, 0);
  ASSERT_GE(::inotify_add_watch(opens, fifo.c_str(), IN_OPEN), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    AcquisitionState state(10);
    state.fullScaleVolts = 10.0f;
    testing::RecordingHooks hooks;
    const LoadReport report = LoadSampleFile(state, hooks, SystemFileReader(), path);
    EXPECT_EQ(report.cycles, 0u);
    EXPECT_EQ(state.store.cycleCount, 0u);
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{
                             {"Fail to open file " + path + ": Not a regular file (a pipe, a device or a socket)!", LogRed},
                             {"current trigCnt is 0!", LogBlue}}));
  }
  char event[sizeof(inotify_event) + NAME_MAX + 1];
  EXPECT_LT(::read(opens, event, sizeof event), 0) << "the pipe was opened";
  ::close(opens);
}

// A regular file whose reads would wait for data (the kernel log) fails at
// once instead of holding the program.
TEST(SampleLoad, AReadThatWouldWaitFailsAtOnce) {
  const std::string path = "/proc/kmsg";
  if (const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); fd < 0) {
    GTEST_SKIP() << path << " cannot be read here";
  } else {
    ::close(fd);
  }
  AcquisitionState state;
  state.fullScaleVolts = 10.0f;
  testing::RecordingHooks hooks;
  LoadSampleFile(state, hooks, SystemFileReader(), path);
  EXPECT_EQ(hooks.log.front(), (LogLine{"Fail to read file " + path + ": Resource temporarily unavailable!", LogRed}));
}

TEST(SampleLoad, FactorsAreNotApplied) {
  testing::TempFolder folder;
  std::vector<uint8_t> cycle(16, 0);
  cycle[0] = 0x00;
  cycle[1] = 0x40;  // 16384 on AN1
  testing::WriteAll(folder.file("one.bin"), cycle);
  AcquisitionState state;
  state.fullScaleVolts = 10.0f;
  state.channelFactor.fill(2.0f);
  testing::RecordingHooks hooks;
  LoadSampleFile(state, hooks, SystemFileReader(), folder.file("one.bin"));
  ASSERT_EQ(state.store.cycleCount, 1u);
  EXPECT_EQ(state.store.voltsRow(0)[0], 5.0f);
  EXPECT_EQ(state.channelStats[0].maxVolts, 5.0f);
  EXPECT_EQ(state.channelStats[0].minVolts, 5.0f);
}

TEST(SampleLoad, OpenAndReadFailuresAreReportedWithTheReason) {
  testing::TempFolder folder;
  AcquisitionState state;
  state.fullScaleVolts = 10.0f;
  {
    testing::RecordingHooks hooks;
    const std::string path = folder.file("missing.bin");
    LoadSampleFile(state, hooks, SystemFileReader(), path);
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{
                             {"Fail to open file " + path + ": No such file or directory!", LogRed},
                             {"current trigCnt is 0!", LogBlue}}));
    EXPECT_TRUE(hooks.calls.empty());
  }
  {
    testing::RecordingHooks hooks;
    PatternReader reader(400'000 * 16);
    reader.failAt = 1'600'000 + 808;  // in the second piece, mid-cycle
    const LoadReport report = LoadSampleFile(state, hooks, reader, "f.bin");
    EXPECT_EQ(report.cycles, 100'050u);  // the whole cycles read before the failure
    EXPECT_EQ(hooks.log.front(), (LogLine{"Fail to read file f.bin: Input/output error!", LogRed}));
    EXPECT_EQ(hooks.log.back().text, "current trigCnt is 100050!");
    ExpectRowsFromPattern(state.store, 0, 100'050);
  }
}

}  // namespace
}  // namespace trelvan
