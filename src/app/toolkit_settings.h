#pragma once
// Qt keeps state of its own (the file dialog's sidebar, history and view)
// in a settings file that it writes with a lock file and two flushes to disk
// on the window's thread each time a file dialog closes. On a busy disk that
// holds the window for seconds. The program remembers its dialogs' folders
// for the run itself, so Qt's own settings are kept for the run only.

namespace trelvan {

// Call once the application object exists, before any dialog is made.
void KeepToolkitSettingsForTheRun();

}  // namespace trelvan
