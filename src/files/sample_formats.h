#pragma once
// The two sample file formats. A .bin file is the store's raw rows, 16 bytes
// each, as the module delivered them; a .txt file has one line per cycle:
// "L%08d,   " of the 0-based index, eight "% 2.6f,   " of the volts, CR LF.

#include <cstdint>
#include <functional>
#include <string>

#include "acquisition/sample_store.h"
#include "files/byte_sink.h"

namespace trelvan {

enum class SampleFormat { Bin, Text };

// The extension a name gets for the format: unchanged when ".bin" (".txt")
// occurs anywhere in it (case-sensitive), otherwise appended.
std::string WithExtension(const std::string& name, SampleFormat format);

// The first `count` rows of `raw`.
bool WriteBinRows(const SampleStore& store, uint32_t count, ByteSink& sink);
// `count` raw rows from `rows`, in pieces; after each piece `written` is told
// the rows written so far and may stop the writing by answering false.
bool WriteBinRows(const int16_t* rows, uint32_t count, ByteSink& sink,
                  const std::function<bool(uint32_t)>& written = {});

// Room one text line needs at most.
constexpr int TextLineMaxChars = 12 + 8 * (64 + 4) + 2;

// The text line of row `index` with its eight volts; returns its end.
char* AppendTextLine(char* out, uint32_t index, const float* volts);

// The text lines of the first `count` rows. Blocks of rows are formatted by
// up to `threads` threads (0: one per processor, at most four), which only
// read the rows and are joined before it returns; they format ahead while
// the calling thread writes the blocks in order. `written`, when given, is
// told the rows written so far after each block and may stop the writing by
// answering false.
bool WriteTextRows(const SampleStore& store, uint32_t count, ByteSink& sink,
                   unsigned threads = 0);
bool WriteTextRows(const float* volts, uint32_t count, ByteSink& sink, unsigned threads,
                   const std::function<bool(uint32_t)>& written);

}  // namespace trelvan
