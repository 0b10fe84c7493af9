#include "files/auto_saver.h"

#include <algorithm>

#include "device/log_colours.h"
#include "files/safe_write.h"
#include "files/sample_formats.h"

namespace trelvan {

namespace {

constexpr std::size_t RememberedFiles = 16;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// "folder/name (2).bin" -> "name (2)".
std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".bin") == 0) name.resize(name.size() - 4);
  return name;
}

}  // namespace

std::string AutoSaveBaseName(const std::string& dateText, const std::string& timeText) {
  return Replaced(dateText, '/', '-') + " " + Replaced(timeText, ':', '-');
}

std::string AutoSavePausedMessage(const std::string& folder, const std::string& reason) {
  return "Auto-save to " + folder + " failed (" + reason +
         "): acquisition is paused until an auto-save succeeds, and the module drops cycles "
         "once its FIFO is full!";
}

bool AutoSaver::Due(const std::string& folder, Clock::time_point now) const {
  return !failing_ || retryNow_ || folder != failedFolder_ || now - lastTry_ >= RetryInterval ||
         now < lastTry_;
}

std::string AutoSaver::Check(const std::string& folder, uint64_t bytes) const {
  if (folder.empty()) return "no auto-save folder";
  uint64_t free = 0;
  if (const int error = writer_->FreeBytes(folder, &free); error != 0) return ErrorText(error);
  // The same words at every retry, so that the failure is logged once.
  if (free < bytes) return "less than " + std::to_string(bytes) + " bytes free";
  return {};
}

bool AutoSaver::Save(AcquisitionState& state, AcquisitionHooks& hooks, const std::string& folder,
                     const std::function<std::string()>& baseName, Clock::time_point now) {
  if (!Due(folder, now)) return false;
  retryNow_ = false;
  lastTry_ = now;

  SampleStore& store = state.store;
  const uint32_t count = store.cycleCount;
  const std::string base = baseName();
  std::string reason = Check(folder, uint64_t{count} * CycleBytes);
  std::string path;
  if (reason.empty()) {
    const WriteOutcome outcome =
        WriteFileSafely(*writer_, folder + base + ".bin", NameRule::Unique,
                        [&](FileSink& sink) { return WriteBinRows(store, count, sink); });
    reason = outcome.reason;
    path = outcome.path;
  }
  if (!reason.empty()) {
    ReportFailure(hooks, folder, base, reason);
    return false;
  }

  failing_ = false;
  logged_.reset();
  const std::string name = BaseOf(path);
  hooks.LogMessage("create file " + name, LogBlue);
  hooks.ClearWaveSeries();
  store.cycleCount = 0;
  ++state.storeEmptyings;
  hooks.ResetTableView();
  files_.emplace_back(state.storeEmptyings, name);
  if (files_.size() > RememberedFiles) files_.pop_front();
  return true;
}

void AutoSaver::ReportFailure(AcquisitionHooks& hooks, const std::string& folder,
                              const std::string& name, const std::string& reason) {
  failing_ = true;
  failedFolder_ = folder;
  if (logged_ && logged_->first == folder && logged_->second == reason) return;
  logged_.emplace(folder, reason);
  hooks.LogMessage("Fail to create file " + name, LogRed);
  hooks.LogMessage(AutoSavePausedMessage(folder, reason), LogRed);
}

std::optional<std::string> AutoSaver::FileOfEmptying(uint64_t emptying) const {
  for (const auto& [number, name] : files_) {
    if (number == emptying) return name;
  }
  return std::nullopt;
}

}  // namespace trelvan
