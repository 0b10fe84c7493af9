// The drop estimate against a model of the module's FIFO: cycles fall due on
// the module's own clock (which may run off the PC's), wait in a FIFO of
// 2,000,000 cycles, are dropped while it is full, and the poll reads at most
// 1,600,000 of them at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "acquisition/drop_estimator.h"

namespace trelvan {
namespace {

constexpr int64_t FifoCycles = 2'000'000;
constexpr int64_t ReadCycles = 1'600'000;

struct ModelRun {
  AdcConfig config{};
  double moduleClockRate = 1.0;  // module seconds per PC second
  int64_t nowUs = 1'000'000;     // the PC's clock
  int64_t startUs = 0;
  int64_t produced = 0, fifo = 0, dropped = 0;
  DropEstimator estimator;
  int episodes = 0;
  uint64_t firstEpisodeLost = 0;

  ModelRun(unsigned triggerMode, uint16_t periodUs, unsigned oversampling = 0) {
    config.modeBits = static_cast<uint8_t>(oversampling & 7u);  // microseconds, +/-5 V
    config.trigBits = static_cast<uint8_t>(triggerMode);
    config.wPeriod = periodUs;
    startUs = nowUs;
    estimator.Begin(config, startUs, 200);
  }
  void Advance(int64_t us) {
    nowUs += us;
    const double moduleUs = static_cast<double>(nowUs - startUs) * moduleClockRate;
    const int64_t due = static_cast<int64_t>(moduleUs) / EffectivePeriodUs(config);
    const int64_t fresh = due - produced;
    produced = due;
    const int64_t taken = std::min(fresh, FifoCycles - fifo);
    fifo += taken;
    dropped += fresh - taken;
  }
  void Read() {
    const int64_t left = fifo;
    const int64_t cycles = std::min(fifo, ReadCycles);
    fifo -= cycles;
    if (estimator.OnRead(nowUs, static_cast<uint32_t>(cycles), left)) {
      if (episodes++ == 0) firstEpisodeLost = estimator.episodeLost();
    }
  }
  void Polls(int count, int64_t intervalUs = 200'000) {
    for (int i = 0; i < count; ++i) {
      Advance(intervalUs);
      Read();
    }
  }
};

TEST(DropEstimator, CleanRunsRaiseNoAlarm) {
  struct Case {
    const char* name;
    uint16_t periodUs;
    unsigned oversampling;
    double moduleClockRate;
  } cases[] = {
      {"1 us", 1, 0, 1.0},
      {"1 us, module 100 ppm slow", 1, 0, 1.0 - 1e-4},
      {"1 us, module 100 ppm fast", 1, 0, 1.0 + 1e-4},
      {"1 us with 8x oversampling (8 us a cycle)", 1, 3, 1.0 - 1e-4},
      {"50000 us", 50000, 0, 1.0 - 1e-4},
  };
  for (const Case& c : cases) {
    ModelRun run(1, c.periodUs, c.oversampling);
    run.moduleClockRate = c.moduleClockRate;
    run.Polls(3000);  // ten minutes
    EXPECT_EQ(run.dropped, 0) << c.name;
    EXPECT_EQ(run.episodes, 0) << c.name;
    EXPECT_EQ(run.estimator.lost(), 0u) << c.name;
  }
}

TEST(DropEstimator, AReaderHeldBackPastTheFifoGivesOneEpisodeWithTheDroppedCount) {
  for (const double rate : {1.0, 1.0 - 1e-4, 1.0 + 1e-4}) {
    ModelRun run(1, 1);
    run.moduleClockRate = rate;
    run.Polls(50);
    run.Advance(5'000'000);  // a five-second hold: the FIFO lasts two
    run.Read();
    run.Polls(100);
    ASSERT_GT(run.dropped, 2'900'000);
    EXPECT_EQ(run.episodes, 1) << rate;
    EXPECT_NEAR(static_cast<double>(run.firstEpisodeLost), static_cast<double>(run.dropped),
                0.01 * static_cast<double>(run.dropped));
    EXPECT_EQ(run.estimator.lost(), run.firstEpisodeLost);
  }
}

TEST(DropEstimator, EachEpisodeIsReportedOnceAndLossesAddUp) {
  ModelRun run(1, 1);
  run.Polls(10);
  run.Advance(3'000'000);
  run.Read();
  run.Polls(5);
  // A slow reader: polls every 1.8 s take 1.6M of 1.8M cycles due, so the
  // FIFO fills and each poll loses some: one long episode.
  run.Polls(20, 1'800'000);
  run.Polls(20);
  EXPECT_EQ(run.episodes, 2);
  EXPECT_NEAR(static_cast<double>(run.estimator.lost()), static_cast<double>(run.dropped),
              0.01 * static_cast<double>(run.dropped));
}

TEST(DropEstimator, OtherTriggerModesAndUnknownFifoCountsEstimateNothing) {
  for (unsigned mode : {0u, 2u, 3u}) {
    ModelRun run(mode, 1);
    run.Polls(5);
    run.Advance(5'000'000);
    run.Read();
    EXPECT_FALSE(run.estimator.active());
    EXPECT_EQ(run.episodes, 0);
  }
  ModelRun run(1, 1);
  run.Advance(5'000'000);
  EXPECT_FALSE(run.estimator.OnRead(run.nowUs, 1'600'000, std::nullopt));
  EXPECT_EQ(run.estimator.lost(), 0u);
}

TEST(DropEstimator, EffectivePeriodIsTheLongerOfPeriodAndConversion) {
  struct Case {
    uint8_t modeBits;
    uint16_t wPeriod;
    int64_t us;
  } cases[] = {{0x00, 1, 1}, {0x03, 1, 8}, {0x06, 100, 100}, {0x06, 10, 64},
               {0x20, 100, 100'000}, {0x00, 0, 1}};
  for (const Case& c : cases) {
    AdcConfig config{};
    config.modeBits = c.modeBits;
    config.wPeriod = c.wPeriod;
    EXPECT_EQ(EffectivePeriodUs(config), c.us) << int{c.modeBits} << " " << c.wPeriod;
  }
}

TEST(DropEstimator, LostCountTexts) {
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "Lost ~0"},          {999, "Lost ~999"},       {1000, "Lost ~1.0k"},
      {12'345, "Lost ~12.3k"}, {99'949, "Lost ~99.9k"},  {99'950, "Lost ~100k"},
      {850'000, "Lost ~850k"}, {999'499, "Lost ~999k"},  {999'500, "Lost ~1.0M"},
      {1'500'000, "Lost ~1.5M"}, {123'456'789, "Lost ~123M"}};
  for (const auto& [cycles, text] : cases) EXPECT_EQ(LostCountText(cycles), text) << cycles;
}

}  // namespace
}  // namespace trelvan
