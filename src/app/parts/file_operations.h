#pragma once
// The window's file operations: Save As (Button4), the auto-save of a full
// store behind the acquisition hook, the auto-save folder with Change
// (Edit45, Button26) and Load From (Button27).

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QString>
#include <functional>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "app/parts/dialogs.h"
#include "files/auto_saver.h"
#include "files/file_access.h"

namespace trelvan {

class FileOperations {
 public:
  FileOperations(AcquisitionState& state, AcquisitionHooks& hooks, Dialogs& dialogs, QLineEdit* edit45);

  // The AutoSave hook: writes the full store to a new file in the folder of
  // Edit45 and empties the store; true when it emptied the store.
  bool AutoSave();
  // Save As: the store as a .bin or .txt file.
  void Button4Click();
  // Change: picks the auto-save folder, then ends a pause at once.
  void Button26Click();
  // Load From: a .bin file into the emptied store.
  void Button27Click();

  // Stop calls this before it tries to end a pause, so that the try is made
  // even within 5 s of the last one.
  void RetryAutoSaveNow() { saver_.RetryNow(); }
  // A new run or a new pause: the next auto-save failure is logged again.
  void ForgetAutoSaveReports() { saver_.ForgetReports(); }

  // The auto-save base name at `when`: date and time texts in the formats.
  QString AutoSaveBaseNameAt(const QDateTime& when) const;

  // For tests: the file system, the clocks and the date and time formats
  // (by default the system's short date and long time without time zone).
  void SetFileWriter(FileWriter& writer);
  void SetFileReader(FileReader& reader) { reader_ = &reader; }
  void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
  void SetSteadyClock(std::function<AutoSaver::Clock::time_point()> clock) { steadyClock_ = std::move(clock); }
  void SetDateTimeFormats(const QLocale& locale, const QString& dateFormat, const QString& timeFormat);

 private:
  std::string NothingWrittenMessage(uint64_t emptyingsAtPress) const;

  AcquisitionState& state_;
  AcquisitionHooks& hooks_;
  Dialogs& dialogs_;
  QLineEdit* edit45_;
  FileWriter* writer_;
  FileReader* reader_;
  AutoSaver saver_;
  std::function<QDateTime()> clock_;
  std::function<AutoSaver::Clock::time_point()> steadyClock_;
  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  int saveFilter_ = 0;  // SaveDialog1 offers the filter chosen last
};

}  // namespace trelvan
