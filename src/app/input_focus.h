#pragma once
// After an input error's message box has closed, the focus goes to the box
// whose text was refused, with that text selected, so that the user can type
// over it at once.

namespace trelvan {

class InputError;
class TMainForm;

void FocusRefusedBox(TMainForm& form, const InputError& error);

}  // namespace trelvan
