// The message log over a week at a slow period: one line per poll, 200,000
// lines, each followed by the event loop as between two polls. Measures the
// cost of one line with its repaint (the thread's CPU time: the machine
// may be busy, and one line involves no I/O) over the first 10,000 lines,
// the 10,000 just after the log reached its bound (lines 100,001 to 110,000)
// and the last 10,000, and the resident memory the lines add (after
// returning freed heap to the system) by the 100,000th line and by the
// 200,000th, for the bounded log (the newest 100,000 lines kept) against the
// same box left to grow (the baseline: what the log did before it was
// bounded). Flat means the last lines cost what the lines just after the
// bound did and the memory stops growing at the bound; the worst single
// line is one that drops a block of old lines.
#include <benchmark/benchmark.h>

#include "offscreen_app.h"
#include "thread_cpu_and_memory.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <algorithm>
#include <string>

#include "app/parts/message_log.h"
#include "device/log_colours.h"

namespace {

using namespace trelvan;

void RunLog(benchmark::State& s, int linesKept) {
  OffscreenApp();
  constexpr int Lines = 200'000;
  constexpr int Window = 10'000;
  for (auto _ : s) {
    QPlainTextEdit box;
    box.resize(700, 85);
    box.show();
    MessageLog log(&box, linesKept);
    const double before = ResidentMb();
    constexpr int Half = Lines / 2;
    double firstUs = 0, afterBoundUs = 0, lastUs = 0, worstUs = 0, halfMb = 0;
    double windowStart = ThreadCpuUs();
    for (int i = 1; i <= Lines; ++i) {
      const double lineStart = ThreadCpuUs();
      log.LogMessage(QString("Left = 0 ,current trigCnt is %1 and read 32 bytes!").arg(i), LogBlue);
      // The window runs its event loop between two polls (the box repaints;
      // without it, posted events pile up and look like a growing log).
      QCoreApplication::processEvents();
      worstUs = std::max(worstUs, ThreadCpuUs() - lineStart);
      if (i == Window) firstUs = (ThreadCpuUs() - windowStart) / Window;
      if (i == Half) {
        halfMb = ResidentMb() - before;
        windowStart = ThreadCpuUs();
      }
      if (i == Half + Window) afterBoundUs = (ThreadCpuUs() - windowStart) / Window;
      if (i == Lines - Window) windowStart = ThreadCpuUs();
      if (i == Lines) lastUs = (ThreadCpuUs() - windowStart) / Window;
    }
    const double endMb = ResidentMb() - before;
    s.counters["us_per_line_first_10k"] = firstUs;
    s.counters["us_per_line_after_100k"] = afterBoundUs;
    s.counters["us_per_line_last_10k"] = lastUs;
    s.counters["last_over_first"] = lastUs / firstUs;
    s.counters["rss_added_MB"] = endMb;
    s.counters["rss_first_100k_MB"] = halfMb;
    s.counters["rss_second_100k_MB"] = endMb - halfMb;
    s.counters["worst_line_ms"] = worstUs / 1000;  // a line that drops a block
  }
}

void BM_LogBounded200kLines(benchmark::State& s) { RunLog(s, LogLinesKept); }
BENCHMARK(BM_LogBounded200kLines)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_LogUnboundedBaseline200kLines(benchmark::State& s) { RunLog(s, INT_MAX); }
BENCHMARK(BM_LogUnboundedBaseline200kLines)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
