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

struct TextBlock {
  std::unique_ptr<char[]> text = std::make_unique_for_overwrite<char[]>(
      std::size_t{BlockRows} * TextLineMaxChars);
  std::size_t size = 0;
};

void FormatBlock(const SampleStore& store, uint32_t first, uint32_t end, TextBlock& block) {
  char* out = block.text.get();
  for (uint32_t r = first; r < end; ++r) out = AppendTextLine(out, r, store.voltsRow(r));
  block.size = static_cast<std::size_t>(out - block.text.get());
}

}  // namespace

std::string WithExtension(const std::string& name, SampleFormat format) {
  const char* extension = format == SampleFormat::Bin ? ".bin" : ".txt";
  return name.find(extension) != std::string::npos ? name : name + extension;
}

bool WriteBinRows(const SampleStore& store, uint32_t count, ByteSink& sink) {
  return sink.Put(reinterpret_cast<const char*>(store.rawRow(0)), std::size_t{count} * CycleBytes);
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
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const uint32_t blocks = (count + BlockRows - 1) / BlockRows;
  threads = std::min(threads, std::max(1u, blocks));
  std::vector<TextBlock> batch(threads);

  for (uint32_t firstBlock = 0; firstBlock < blocks; firstBlock += threads) {
    const uint32_t inBatch = std::min(threads, blocks - firstBlock);
    auto rowsOf = [&](uint32_t i) {
      const uint32_t first = (firstBlock + i) * BlockRows;
      return std::pair{first, std::min(count, first + BlockRows)};
    };
    {
      std::vector<std::jthread> workers;
      for (uint32_t i = 1; i < inBatch; ++i) {
        workers.emplace_back([&, i] {
          const auto [first, end] = rowsOf(i);
          FormatBlock(store, first, end, batch[i]);
        });
      }
      const auto [first, end] = rowsOf(0);
      FormatBlock(store, first, end, batch[0]);
    }  // the workers are joined here
    for (uint32_t i = 0; i < inBatch; ++i) {
      if (!sink.Put(batch[i].text.get(), batch[i].size)) return false;
    }
  }
  return true;
}

}  // namespace trelvan
