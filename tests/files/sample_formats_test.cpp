#include "files/sample_formats.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "acquisition/conversion.h"

namespace trelvan {
namespace {

// Keeps the byte count and the last line; never holds the whole text.
class CountingSink : public ByteSink {
 public:
  bool Put(const char* data, std::size_t size) override {
    bytes += size;
    tail.append(data + (size > 4096 ? size - 4096 : 0), std::min<std::size_t>(size, 4096));
    if (tail.size() > 8192) tail.erase(0, tail.size() - 4096);
    return true;
  }
  std::string lastLine() const {
    const std::size_t end = tail.size() - 2;
    const std::size_t begin = tail.rfind('\n', end - 1);
    return tail.substr(begin + 1, end - begin + 1);
  }
  uint64_t bytes = 0;
  std::string tail;
};

struct StringSink : ByteSink {
  bool Put(const char* data, std::size_t size) override {
    text.append(data, size);
    return true;
  }
  std::string text;
};

// The line as the C library writes it.
std::string SnprintfLine(uint32_t index, const float* volts) {
  char buffer[TextLineMaxChars];
  int n = std::snprintf(buffer, sizeof buffer, "L%08d,   ", static_cast<int>(index));
  for (int c = 0; c < Channels; ++c)
    n += std::snprintf(buffer + n, sizeof buffer - n, "% 2.6f,   ", static_cast<double>(volts[c]));
  return std::string(buffer, n) + "\r\n";
}

void FillRow(SampleStore& store, uint32_t row, std::initializer_list<int16_t> codes, float fullScale) {
  int c = 0;
  for (int16_t code : codes) {
    store.rawRow(row)[c] = code;
    store.voltsRow(row)[c] = CodeToVolts(code, fullScale);
    ++c;
  }
}

TEST(SampleFormats, TextLineOfTheExampleCycle) {
  SampleStore store(1);
  const float volts[8] = {1.899109f, -0.5f, 10.0f, 0, 0, 0, 0, 0};
  std::memcpy(store.voltsRow(0), volts, sizeof volts);
  store.cycleCount = 1;
  StringSink sink;
  ASSERT_TRUE(WriteTextRows(store, 1, sink));
  EXPECT_EQ(sink.text,
            "L00000000,    1.899109,   -0.500000,    10.000000,    0.000000,    0.000000,    "
            "0.000000,    0.000000,    0.000000,   \r\n");
  EXPECT_EQ(sink.text.size(), 118u + 2u);  // one value with two digits before the point
}

// One cycle and a full store, both formats: sizes and the last line.
TEST(SampleFormats, OneCycleAndFullStoreInBothFormats) {
  SampleStore store(StoreCapacity);
  struct Case {
    uint32_t count;
    uint64_t binBytes;
    const char* lastLinePrefix;
  } cases[] = {{1, 16, "L00000000,   "}, {StoreCapacity, 96'000'000, "L05999999,   "}};
  for (uint32_t r = 0; r < StoreCapacity; ++r) FillRow(store, r, {1, -1, 2, -2, 3, -3, 4, -4}, 10.0f);
  store.cycleCount = StoreCapacity;
  const std::string line = SnprintfLine(0, store.voltsRow(0));
  const std::string body = line.substr(9);  // the same values on every row
  ASSERT_EQ(line.size(), 117u + 2u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    CountingSink bin;
    ASSERT_TRUE(WriteBinRows(store, c.count, bin));
    EXPECT_EQ(bin.bytes, c.binBytes);
    CountingSink text;
    ASSERT_TRUE(WriteTextRows(store, c.count, text, 2));
    EXPECT_EQ(text.bytes, uint64_t{c.count} * line.size());
    EXPECT_EQ(text.lastLine(), std::string(c.lastLinePrefix).substr(0, 9) + body);
  }
}

TEST(SampleFormats, MostNegativeCodeInBothFormats) {
  SampleStore store(1);
  FillRow(store, 0, {0, 0, int16_t{-32768}, 0, 0, 0, 0, 0}, 10.0f);
  store.cycleCount = 1;
  StringSink bin, text;
  ASSERT_TRUE(WriteBinRows(store, 1, bin));
  EXPECT_EQ(static_cast<uint8_t>(bin.text[4]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>(bin.text[5]), 0x80);
  ASSERT_TRUE(WriteTextRows(store, 1, text));
  EXPECT_NE(text.text.find(",   -10.000000,   "), std::string::npos) << text.text;
}

// Many rows across several blocks and threads, under a comma-decimal
// locale: byte for byte what snprintf writes in the C locale.
TEST(SampleFormats, TextIsSnprintfBytesInRowOrderUnderACommaLocale) {
  const uint32_t rows = 40'000;  // more than two blocks of rows
  SampleStore store(rows);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> code(-32768, 32767);
  std::uniform_real_distribution<float> wide(-50000.0f, 50000.0f);
  for (uint32_t r = 0; r < rows; ++r) {
    for (int c = 0; c < Channels; ++c) {
      store.voltsRow(r)[c] = c < 6 ? CodeToVolts(static_cast<int16_t>(code(random)), c % 2 ? 5.0f : 10.0f)
                                   : wide(random);
    }
  }
  store.cycleCount = rows;
  std::string expected;
  for (uint32_t r = 0; r < rows; ++r) expected += SnprintfLine(r, store.voltsRow(r));

  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the comma-decimal locale is missing";
  for (unsigned threads : {1u, 2u, 3u}) {
    StringSink sink;
    ASSERT_TRUE(WriteTextRows(store, rows, sink, threads));
    EXPECT_TRUE(sink.text == expected) << "threads " << threads;
  }
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(SampleFormats, ExtensionRule) {
  struct Case {
    const char* name;
    SampleFormat format;
    const char* expected;
  } cases[] = {
      {"data", SampleFormat::Bin, "data.bin"},
      {"data.BIN", SampleFormat::Bin, "data.BIN.bin"},
      {"x.bin.txt", SampleFormat::Bin, "x.bin.txt"},
      {"run", SampleFormat::Text, "run.txt"},
      {"a.txt.bin", SampleFormat::Text, "a.txt.bin"},
      {"run.TXT", SampleFormat::Text, "run.TXT.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithExtension(c.name, c.format), c.expected) << c.name;
}

// A sink that refuses stops the text at once.
TEST(SampleFormats, FailingSinkStopsTheText) {
  struct Refusing : ByteSink {
    int puts = 0;
    bool Put(const char*, std::size_t) override { return ++puts, false; }
  } sink;
  SampleStore store(50'000);
  for (uint32_t r = 0; r < 50'000; ++r) FillRow(store, r, {0, 0, 0, 0, 0, 0, 0, 0}, 10.0f);
  store.cycleCount = 50'000;
  EXPECT_FALSE(WriteTextRows(store, 50'000, sink, 2));
  EXPECT_EQ(sink.puts, 1);
}

}  // namespace
}  // namespace trelvan
