#include "device/version_texts.h"

#include <algorithm>
#include <cstring>

#include "device/adc_config.h"
#include "device/log_colours.h"

namespace trelvan {

namespace {
constexpr std::size_t TextField = 30;

std::string TextUpTo(const char* begin, const char* end, char stop) {
  const char* p = std::find(begin, end, stop);
  const char* nul = std::find(begin, p, '\0');
  std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(nul - begin), TextField);
  return std::string(begin, length);
}
}  // namespace

VersionTexts SplitVersionData(const char (&buffer)[KAVREL_VERSION_BYTES]) {
  const char* begin = buffer;
  const char* end = buffer + KAVREL_VERSION_BYTES;
  const char* nul = std::find(begin, end, '\0');
  const char* semicolon = std::find(begin, nul, ';');
  VersionTexts texts;
  texts.text1 = TextUpTo(begin, semicolon, ';');
  if (semicolon != nul) texts.text2 = TextUpTo(semicolon + 1, end, '\0');
  return texts;
}

bool ReadVersionTexts(DeviceLibrary& device, uint8_t deviceIndex, uint8_t selector,
                      VersionTexts& texts, const LogFunction& log) {
  if (deviceIndex == NoDevice) return false;
  char buffer[KAVREL_VERSION_BYTES];
  std::memset(buffer, 0, sizeof buffer);
  if (!device.GetVersion(deviceIndex, selector, buffer)) {
    if (log) log("Fail to read version data!", LogRed);
    return false;
  }
  texts = SplitVersionData(buffer);
  return true;
}

}  // namespace trelvan
