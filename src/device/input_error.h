#pragma once
// A text in an input box that does not parse. The window's error guard shows
// what() in a message box; the handler that raised it ends there. The error
// names its box, so that the window can put the focus there afterwards.

#include <stdexcept>
#include <string>

namespace trelvan {

// The input boxes whose texts are parsed.
enum class InputBox {
  Unknown,
  MaxCycles,      // Edit2
  Period,         // Edit1
  TrigVol,        // Edit4
  MainChan,       // ComboBox8
  PeriodUnit,     // ComboBox6
  TrigMode,       // ComboBox5
  IoType,         // ComboBox4
  TrigDirection,  // ComboBox3
  Range,          // ComboBox1
  Oversampling,   // ComboBox2
  Factor,         // the Factor box of `channel`
};

class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message, InputBox box = InputBox::Unknown,
                      int channel = -1)
      : std::runtime_error(message), box_(box), channel_(channel) {}

  InputBox box() const { return box_; }
  int channel() const { return channel_; }  // 0..7 for a Factor box, else -1

 private:
  InputBox box_;
  int channel_;
};

}  // namespace trelvan
