#include "files/sample_formats.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "format/fixed_format.h"

namespace trelvan {

namespace {

constexpr uint32_t BlockRows = 16384;
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
  for (int c = 0; c < Channels; ++c) {
    out = AppendFixed6(out, static_cast<double>(volts[c]));
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
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const uint32_t blocks = (count + BlockRows - 1) / BlockRows;
  threads = std::min(threads, std::max(1u, blocks));
  std::vector<TextBlock> ready(threads), next(threads);

  // Formats the batch of blocks from `firstBlock` into `batch`: one thread
  // per block; the returned threads are joined when they go.
  auto format = [&](uint32_t firstBlock, std::vector<TextBlock>& batch) {
    std::vector<std::jthread> workers;
    const uint32_t inBatch = std::min(threads, blocks - firstBlock);
    for (uint32_t i = 0; i < inBatch; ++i) {
      const uint32_t first = (firstBlock + i) * BlockRows;
      const uint32_t end = std::min(count, first + BlockRows);
      workers.emplace_back([volts, first, end, &block = batch[i]] { FormatBlock(volts, first, end, block); });
    }
    return workers;
  };

  if (blocks > 0) format(0, ready);  // joined at once
  for (uint32_t firstBlock = 0; firstBlock < blocks; firstBlock += threads) {
    const uint32_t inBatch = std::min(threads, blocks - firstBlock);
    bool ok = true;
    {
      // The next batch is formatted while this one is written.
      const uint32_t nextBlock = firstBlock + threads;
      std::vector<std::jthread> formatting;
      if (nextBlock < blocks) formatting = format(nextBlock, next);
      for (uint32_t i = 0; i < inBatch && ok; ++i) ok = sink.Put(ready[i].text.get(), ready[i].size);
    }  // the formatting threads are joined here
    if (!ok) return false;
    const uint32_t done = std::min(count, (firstBlock + inBatch) * BlockRows);
    if (written && !written(done)) return false;
    std::swap(ready, next);
  }
  return true;
}

}  // namespace trelvan
