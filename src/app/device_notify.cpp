#include "app/device_notify.h"

#include <QCoreApplication>
#include <atomic>
#include <mutex>

namespace trelvan {

namespace {
std::mutex targetMutex;
QObject* target = nullptr;
std::atomic<uint64_t> connectionNumber{0};
}  // namespace

void BeginConnection() { connectionNumber.fetch_add(1); }

bool IsCurrentConnection(const DeviceNotifyEvent& notice) { return notice.connection == connectionNumber.load(); }

void SetNotifyTarget(QObject* window) {
  std::lock_guard lock(targetMutex);
  target = window;
}

int32_t USBNotifyCallback(uint8_t index, uint32_t status) {
  std::lock_guard lock(targetMutex);  // the window cannot go while a notice is posted
  if (target == nullptr) return 0;
  QCoreApplication::postEvent(target, new DeviceNotifyEvent(index, status, connectionNumber.load()));
  return 1;
}

}  // namespace trelvan
