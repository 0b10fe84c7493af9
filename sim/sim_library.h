#pragma once
// The library's one module and its notification thread, made when the
// library loads.

#include "notifier.h"
#include "sim_module.h"

#define KAVREL_EXPORT extern "C" __attribute__((visibility("default")))

namespace kavrel_sim {

SimModule& Module();
Notifier& Notifications();
// Stops the notification thread at process exit (or when the library is
// unloaded), before the program's own static objects are destroyed.
void StopNotificationsAtExit();

}  // namespace kavrel_sim
