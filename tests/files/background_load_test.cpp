// Load From on its worker: pieces stored on the owner's thread, the views
// refreshed at most every 100 ms and once at the end, Cancel, a full store.
#include "files/background_load.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "acquisition/conversion.h"
#include "acquisition/store_clear.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"

namespace trelvan {
namespace {

using testing::LogLine;
using namespace std::chrono_literals;

constexpr uint32_t PieceCycles = LoadPieceBytes / CycleBytes;  // 100,000

struct BackgroundLoadTest : ::testing::Test {
  explicit BackgroundLoadTest(uint32_t capacity = 600'000) : state(capacity) {
    state.fullScaleVolts = 10.0f;
    load.SetClock([this] { return now; });
  }
  void Load(testing::PatternReader& reader, std::function<void()> eachPiece = {}) {
    load.SetReader(reader);
    load.Start(state, hooks, "f.bin", [eachPiece](int) { if (eachPiece) eachPiece(); }, {});
  }
  // Starts the load and returns once its first piece is stored; the second
  // piece's read waits at `gate`.
  void LoadUpToTheSecondPiece(testing::PatternReader& reader, testing::Gate& gate) {
    reader.beforeRead = [&gate](uint64_t position) {
      if (position == LoadPieceBytes) gate.Pass();
    };
    Load(reader);
    ASSERT_TRUE(reports.RunUntil([this] { return state.store.cycleCount == PieceCycles; }));
  }
  void Finished() { ASSERT_TRUE(reports.RunUntil([this] { return !load.running(); })); }
  int Views() const {
    return static_cast<int>(std::count_if(hooks.calls.begin(), hooks.calls.end(),
                                          [](const std::string& c) { return c.starts_with("ShowNewestRows"); }));
  }
  // The store's rows are the file's bytes, in order.
  bool RowsAreTheFile() const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(state.store.rawRow(0));
    for (uint64_t i = 0; i < uint64_t{state.store.cycleCount} * CycleBytes; ++i) {
      if (bytes[i] != testing::PatternReader::ByteAt(i)) return false;
    }
    return true;
  }

  // Every stored row's volts are its codes converted (no factors), and the
  // statistics are those of the volts.
  bool VoltsAreTheCodes() const {
    for (uint32_t r = 0; r < state.store.cycleCount; ++r) {
      for (int c = 0; c < Channels; ++c) {
        const float v = CodeToVolts(state.store.rawRow(r)[c], state.fullScaleVolts);
        if (state.store.voltsRow(r)[c] != v) return false;
        if (v > state.channelStats[c].maxVolts || v < state.channelStats[c].minVolts) return false;
      }
    }
    return true;
  }

  testing::ReportQueue reports;
  AcquisitionState state;
  testing::RecordingHooks hooks;
  BackgroundLoad::Clock::time_point now{1s};
  BackgroundLoad load{SystemFileReader(), reports.deliver()};  // last: its thread goes first
};

TEST_F(BackgroundLoadTest, ViewsAtMostEveryHundredMillisecondsAndOnceAtTheEnd) {
  struct Case {
    std::chrono::milliseconds perPiece;
    int views;
  } cases[] = {{0ms, 1}, {40ms, 2}, {100ms, 4}};  // five pieces
  for (const Case& c : cases) {
    SCOPED_TRACE(c.perPiece.count());
    state.store.Restart();
    state.adcConfig.trigCnt = 0;
    hooks.calls.clear();
    hooks.log.clear();
    testing::PatternReader reader(5 * LoadPieceBytes, 65536);
    Load(reader, [&] { now += c.perPiece; });
    Finished();
    EXPECT_EQ(state.store.cycleCount, 5 * PieceCycles);
    EXPECT_TRUE(RowsAreTheFile());
    EXPECT_EQ(Views(), c.views);
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"current trigCnt is 500000!", LogBlue}}));
  }
}

TEST_F(BackgroundLoadTest, CancelKeepsWhatWasStoredAndSaysHowMuch) {
  testing::Gate gate;
  testing::PatternReader reader(3 * LoadPieceBytes);
  ASSERT_NO_FATAL_FAILURE(LoadUpToTheSecondPiece(reader, gate));
  load.Cancel();
  gate.OpenForGood();
  Finished();
  EXPECT_EQ(state.store.cycleCount, PieceCycles);
  EXPECT_EQ(state.adcConfig.trigCnt, PieceCycles);
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{{LoadCancelledMessage(PieceCycles), LogBlue},
                                             {"current trigCnt is 100000!", LogBlue}}));
}

// With no acquisition running the pieces are read into the store's own rows;
// while one runs, into buffers of their own. The same rows either way, also
// when the file fails in the middle of a cycle.
TEST_F(BackgroundLoadTest, SameRowsReadIntoTheStoreOrThroughBuffers) {
  for (const bool running : {false, true}) {
    SCOPED_TRACE(running);
    ClearSampleStore(state, hooks);
    state.adcConfig.trigCnt = 0;
    SetRunning(state.adcConfig, running);
    testing::PatternReader reader(5 * LoadPieceBytes, 65536);
    reader.failAt = 2 * LoadPieceBytes + 40;
    Load(reader);
    EXPECT_EQ(load.intoStore(), !running);
    Finished();
    EXPECT_FALSE(load.intoStore());
    EXPECT_EQ(state.store.cycleCount, 2 * PieceCycles + 2);
    EXPECT_TRUE(RowsAreTheFile());
    EXPECT_TRUE(VoltsAreTheCodes());
    EXPECT_EQ(hooks.log.back(), (LogLine{"current trigCnt is 200002!", LogBlue}));
  }
}

// A clear (or a new run) while the load reads into the store: the store goes
// on in fresh rows and the load stops, saying what it had loaded.
TEST_F(BackgroundLoadTest, AClearStopsALoadIntoTheStore) {
  testing::Gate gate;
  testing::PatternReader reader(5 * LoadPieceBytes);
  ASSERT_NO_FATAL_FAILURE(LoadUpToTheSecondPiece(reader, gate));
  const int16_t* readInto = state.store.rawRow(0);
  ClearSampleStore(state, hooks);
  EXPECT_NE(state.store.rawRow(0), readInto);
  gate.OpenForGood();
  Finished();
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(hooks.log.front(), (LogLine{LoadCancelledMessage(PieceCycles), LogBlue}));
}

struct SmallStoreLoad : BackgroundLoadTest {
  SmallStoreLoad() : BackgroundLoadTest(150'000) {}
};

// Only what fits is read; the rest is counted from the file's size.
TEST_F(SmallStoreLoad, AFullStoreStopsTheReadingAndCountsTheRest) {
  testing::PatternReader reader(4 * LoadPieceBytes + 4);
  Load(reader);
  Finished();
  EXPECT_EQ(state.store.cycleCount, 150'000u);
  EXPECT_TRUE(RowsAreTheFile());
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{{CyclesNotLoadedMessage(250'000), LogRed},
                                             {TrailingBytesMessage(4), LogRed},
                                             {"current trigCnt is 150000!", LogBlue}}));
}

}  // namespace
}  // namespace trelvan
