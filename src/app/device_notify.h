#pragma once
// The hot-plug notice: the device library may call USBNotifyCallback on a
// thread of its own; it only posts a DeviceNotifyEvent (QEvent::User + 1) to
// the main window, whose event() hands it to OnDeviceNotify on the GUI thread.
// Connections are numbered and each notice carries the number in force when
// it was posted, so that a notice still queued from an earlier connection
// (unplug, plug, Disconnect, Connect before the window got to it) is ignored.

#include <QEvent>
#include <QObject>
#include <cstdint>

namespace trelvan {

class DeviceNotifyEvent : public QEvent {
 public:
  static constexpr QEvent::Type Kind = static_cast<QEvent::Type>(QEvent::User + 1);  // 1025
  DeviceNotifyEvent(uint32_t wParam, uint32_t lParam, uint64_t connection)
      : QEvent(Kind), wParam(wParam), lParam(lParam), connection(connection) {}
  const uint32_t wParam;      // the device index, zero-extended
  const uint32_t lParam;      // the status as the library passed it
  const uint64_t connection;  // the connection in force when it was posted
};

// Called before a connection is made: notices posted from now on carry the
// new connection's number.
void BeginConnection();

// Whether a notice was posted during the connection in force now.
bool IsCurrentConnection(const DeviceNotifyEvent& notice);

// The window the notices go to; nullptr once it is gone (shut-down races the
// library's notification thread).
void SetNotifyTarget(QObject* window);

// Posts the notice; returns nonzero when it was queued.
int32_t USBNotifyCallback(uint8_t index, uint32_t status);

}  // namespace trelvan
