#pragma once
// The hot-plug notice: the device library may call USBNotifyCallback on a
// thread of its own; it only posts a DeviceNotifyEvent (QEvent::User + 1) to
// the main window, whose event() hands it to OnDeviceNotify on the GUI thread.

#include <QEvent>
#include <QObject>
#include <cstdint>

namespace trelvan {

class DeviceNotifyEvent : public QEvent {
 public:
  static constexpr QEvent::Type Kind = static_cast<QEvent::Type>(QEvent::User + 1);  // 1025
  DeviceNotifyEvent(uint32_t wParam, uint32_t lParam) : QEvent(Kind), wParam(wParam), lParam(lParam) {}
  const uint32_t wParam;  // the device index, zero-extended
  const uint32_t lParam;  // the status as the library passed it
};

// The window the notices go to; nullptr once it is gone (shut-down races the
// library's notification thread).
void SetNotifyTarget(QObject* window);

// Posts the notice; returns nonzero when it was queued.
int32_t USBNotifyCallback(uint8_t index, uint32_t status);

}  // namespace trelvan
