#pragma once
// A text in an input box that does not parse. The window's error guard shows
// what() in a message box; the handler that raised it ends there.

#include <stdexcept>
#include <string>

namespace trelvan {

class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace trelvan
