#pragma once
// Decoding of the module's version data: "text1;text2" in a 50-byte buffer.

#include <cstdint>
#include <functional>
#include <string>

#include "device/device_library.h"

namespace trelvan {

struct VersionTexts {
  std::string text1;
  std::string text2;
};

using LogFunction = std::function<void(const std::string& text, uint32_t colour)>;

// Splits one version buffer as the module wrote it. Text 1 runs up to the
// first ";" (at most 30 bytes), text 2 from after it up to the first NUL (at
// most 30 bytes). Without a ";" the whole text (up to the first NUL, at most
// 30 bytes) is text 1 and text 2 is empty. Never reads past the 50 bytes.
VersionTexts SplitVersionData(const char (&buffer)[KAVREL_VERSION_BYTES]);

// Reads version selector `selector` of the open module. Returns false without
// calling the library when no module is open; on a failed read logs "Fail to
// read version data!" in red and returns false, leaving `texts` unchanged.
bool ReadVersionTexts(DeviceLibrary& device, uint8_t deviceIndex, uint8_t selector,
                      VersionTexts& texts, const LogFunction& log);

}  // namespace trelvan
