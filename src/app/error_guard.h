#pragma once
// Qt cannot carry an exception through its event loop: every slot, event()
// override and timer handler runs its work through Guarded, which shows what
// escapes in an error box titled "Trelvan"; the program goes on.

#include <QString>
#include <exception>

#include "app/parts/dialogs.h"

namespace trelvan {

template <class Work>
void Guarded(Dialogs& dialogs, Work&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    dialogs.Error("Trelvan", QString::fromUtf8(e.what()));
  } catch (...) {
    dialogs.Error("Trelvan", "Unknown error");
  }
}

}  // namespace trelvan
