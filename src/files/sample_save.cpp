#include "files/sample_save.h"

#include "device/log_colours.h"
#include "files/safe_write.h"

namespace trelvan {

bool SaveSamples(const SampleStore& store, uint32_t count, SampleFormat format,
                 const std::string& path, FileWriter& writer, AcquisitionHooks& hooks) {
  const bool bin = format == SampleFormat::Bin;
  const WriteOutcome outcome =
      WriteFileSafely(writer, path, NameRule::Replace, [&](FileSink& sink) {
        hooks.LogMessage(bin ? "Start saving to bin ..." : "Start saving to txt ...", LogBlue);
        return bin ? WriteBinRows(store, count, sink) : WriteTextRows(store, count, sink);
      });
  if (!outcome.ok) {
    hooks.LogMessage(SaveFailedMessage(path, outcome.reason), LogRed);
    return false;
  }
  hooks.LogMessage("Save completed!", LogBlue);
  return true;
}

std::string SaveFailedMessage(const std::string& path, const std::string& reason) {
  return "Fail to save file " + path + ": " + reason + "!";
}

}  // namespace trelvan
