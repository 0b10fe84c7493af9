#pragma once
// Qt cannot carry an exception through its event loop: every slot, event()
// override and timer handler runs its work through Guarded, which shows what
// escapes in an error box titled "Trelvan"; the program goes on.

#include <QString>
#include <utility>

#include "app/parts/dialogs.h"
#include "views/qt/handler_guard.h"

namespace trelvan {

// The window's error handler: an error box titled "Trelvan".
inline ErrorHandler ErrorBox(Dialogs& dialogs) {
  return [&dialogs](const std::string& text) { dialogs.Error("Trelvan", QString::fromUtf8(text)); };
}

template <class Work>
void Guarded(Dialogs& dialogs, Work&& work) noexcept {
  RunGuarded(ErrorBox(dialogs), std::forward<Work>(work));
}

}  // namespace trelvan
