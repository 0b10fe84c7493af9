#pragma once
// The library's one module and its notification thread, made when the
// library loads.

#include <mutex>

#include "notifier.h"
#include "sim_module.h"

#define KAVREL_EXPORT extern "C" __attribute__((visibility("default")))

namespace kavrel_sim {

// The module, locked for one call: a program may call the library from
// several threads, and tests drive the module's clock from their own.
class ModuleCall {
 public:
  ModuleCall(SimModule& module, std::recursive_mutex& mutex) : lock_(mutex), module_(module) {}
  SimModule* operator->() const { return &module_; }

 private:
  std::unique_lock<std::recursive_mutex> lock_;
  SimModule& module_;
};

ModuleCall Module();
Notifier& Notifications();
// Stops the notification thread at process exit (or when the library is
// unloaded), before the program's own static objects are destroyed.
void StopNotificationsAtExit();

}  // namespace kavrel_sim
