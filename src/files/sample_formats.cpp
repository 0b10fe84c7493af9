#include "files/sample_formats.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "format/fixed6_fields.h"
#include "format/fixed_format.h"

namespace trelvan {

namespace {

// About 240 KB of text: a block stays in the formatting core's cache until
// it is written.
constexpr uint32_t BlockRows = 2048;
constexpr uint32_t BinPieceRows = 1 << 20;  // 16 MiB a piece

struct TextBlock {
  std::unique_ptr<char[]> text = std::make_unique_for_overwrite<char[]>(
      std::size_t{BlockRows} * TextLineMaxChars);
  std::size_t size = 0;
};

void FormatBlock(const float* volts, uint32_t first, uint32_t end, TextBlock& block) {
  char* out = block.text.get();
  for (uint32_t r = first; r < end; ++r) out = AppendTextLine(out, r, volts + std::size_t{r} * Channels);
  block.size = static_cast<std::size_t>(out - block.text.get());
}

}  // namespace

std::string WithExtension(const std::string& name, SampleFormat format) {
  const char* extension = format == SampleFormat::Bin ? ".bin" : ".txt";
  return name.find(extension) != std::string::npos ? name : name + extension;
}

bool WriteBinRows(const SampleStore& store, uint32_t count, ByteSink& sink) {
  return WriteBinRows(store.rawRow(0), count, sink);
}

bool WriteBinRows(const int16_t* rows, uint32_t count, ByteSink& sink,
                  const std::function<bool(uint32_t)>& written) {
  const char* bytes = reinterpret_cast<const char*>(rows);
  for (uint32_t done = 0; done < count;) {
    const uint32_t n = std::min(BinPieceRows, count - done);
    if (!sink.Put(bytes + std::size_t{done} * CycleBytes, std::size_t{n} * CycleBytes)) return false;
    done += n;
    if (written && !written(done)) return false;
  }
  return true;
}
char* AppendTextLine(char* out, uint32_t index, const float* volts) {
  *out++ = 'L';
  out = AppendZeroPadded(out, index, 8);
  std::memcpy(out, ",   ", 4);
  out += 4;
  static_assert(Channels == 8);
  if (char* end = AppendFixed6Fields(out, volts)) {
    *end++ = '\r';
    *end++ = '\n';
    return end;
  }
  for (int c = 0; c < Channels; ++c) {
    out = AppendFixed6Float(out, volts[c]);
    std::memcpy(out, ",   ", 4);
    out += 4;
  }
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

bool WriteTextRows(const SampleStore& store, uint32_t count, ByteSink& sink, unsigned threads) {
  return WriteTextRows(store.voltsRow(0), count, sink, threads, {});
}

bool WriteTextRows(const float* volts, uint32_t count, ByteSink& sink, unsigned threads,
                   const std::function<bool(uint32_t)>& written) {
  // More formatting threads than this give no disk anything more.
  if (threads == 0) threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  const uint32_t blocks = (count + BlockRows - 1) / BlockRows;
  if (blocks == 0) return true;
  threads = std::min(threads, blocks);

  // A ring of blocks: thread t formats blocks t, t + threads, ... into the
  // ring while this thread writes them in order; a slot is formatted again
  // once its block is written, so the formatting runs up to `slots` blocks
  // ahead and neither side waits for the other's slowest block.
  const uint32_t slots = std::min(blocks, 4 * threads + 4);
  std::vector<TextBlock> ring(slots);
  std::vector<uint32_t> holds(slots, UINT32_MAX);  // the formatted block in each slot
  uint32_t writtenBlocks = 0;
  bool stop = false;
  std::mutex mutex;
  std::condition_variable changed;

  bool ok = true;
  {
    std::vector<std::jthread> formatters;
    for (unsigned t = 0; t < threads; ++t) {
      formatters.emplace_back([&, t] {
        for (uint32_t b = t; b < blocks; b += threads) {
          {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return stop || b < writtenBlocks + slots; });
            if (stop) return;
          }
          const uint32_t first = b * BlockRows;
          FormatBlock(volts, first, std::min(count, first + BlockRows), ring[b % slots]);
          {
            std::lock_guard lock(mutex);
            holds[b % slots] = b;
          }
          changed.notify_all();
        }
      });
    }
    for (uint32_t b = 0; b < blocks && ok; ++b) {
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return holds[b % slots] == b; });
      }
      const TextBlock& block = ring[b % slots];
      ok = sink.Put(block.text.get(), block.size);
      if (ok && written) ok = written(std::min(count, (b + 1) * BlockRows));
      {
        std::lock_guard lock(mutex);
        writtenBlocks = b + 1;
        stop = !ok;
      }
      changed.notify_all();
    }
  }  // the formatting threads are joined here
  return ok;
}

}  // namespace trelvan
