#pragma once
// The main window's keyboard: Alt letters on the buttons, F5 for Start/Stop,
// Ctrl+S for Save As, Ctrl+O for Load From, Enter in the Go box for Go, a
// tooltip on each button naming its keys, and a tab order that follows the
// layout (the read-only statistics boxes take the focus by a click only).
// Every key presses its button as a click would, and only while the button
// is enabled.

class QPushButton;
class QString;

namespace trelvan {

class TMainForm;

void InstallKeyboard(TMainForm& form);

// The keys that press `button`, as its tooltip names them ("F5, Alt+T"); an
// empty text for a button without any.
QString ButtonKeysText(const QPushButton& button);

}  // namespace trelvan
