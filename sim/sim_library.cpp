#include "sim_library.h"

#include <cstdlib>
#include <mutex>

namespace kavrel_sim {
namespace {

// Defined together so the notifier outlives the module that posts to it.
struct Library {
  Notifier notifier;
  SimModule module{notifier};
};

Library library;
std::recursive_mutex moduleMutex;

void StopNotifier() { library.notifier.Stop(); }

}  // namespace

ModuleCall Module() { return ModuleCall(library.module, moduleMutex); }
Notifier& Notifications() { return library.notifier; }

void StopNotificationsAtExit() {
  // Registered on first use, so it runs before the static objects that
  // existed when the program registered its callback are destroyed.
  static std::once_flag once;
  std::call_once(once, [] { std::atexit(StopNotifier); });
}

}  // namespace kavrel_sim
