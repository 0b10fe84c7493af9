// The version-data split over any 50 bytes: text 1 up to the first ";" or
// NUL, text 2 after that ";" up to the first NUL, each at most 30 bytes, and
// nothing read outside the buffer (the buffer is a heap block of exactly 50
// bytes, so AddressSanitizer sees any read past it).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "device/version_texts.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  constexpr std::size_t Bytes = KAVREL_VERSION_BYTES;
  auto block = std::make_unique<char[]>(Bytes);
  std::memcpy(block.get(), data, std::min(size, Bytes));
  using Buffer = char[Bytes];
  const auto& buffer = *reinterpret_cast<const Buffer*>(block.get());

  const trelvan::VersionTexts texts = trelvan::SplitVersionData(buffer);

  const std::string all(block.get(), std::find(block.get(), block.get() + Bytes, '\0'));
  const std::size_t semicolon = all.find(';');
  const std::string text1 = all.substr(0, std::min<std::size_t>(semicolon, 30));
  const std::string text2 =
      semicolon == std::string::npos ? std::string() : all.substr(semicolon + 1, 30);
  FUZZ_EXPECT(texts.text1 == text1);
  FUZZ_EXPECT(texts.text2 == text2);
  return 0;
}
