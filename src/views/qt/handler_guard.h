#pragma once
// Qt cannot carry an exception through its event loop: a handler connected to
// a widget runs its work through RunGuarded, which hands what escapes to an
// error handler (the window shows it in an error box titled "Trelvan").

#include <exception>
#include <functional>
#include <string>

namespace trelvan {

using ErrorHandler = std::function<void(const std::string& text)>;

template <class Work>
void RunGuarded(const ErrorHandler& onError, Work&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    if (onError) onError(e.what());
  } catch (...) {
    if (onError) onError("Unknown error");
  }
}

}  // namespace trelvan
