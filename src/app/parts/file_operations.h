#pragma once
// The window's file operations: Save As (Button4), the auto-save of a full
// store behind the acquisition hook, the auto-save folder with Change
// (Edit45, Button26) and Load From (Button27). The disk work runs on worker
// threads of the files layer; their reports come back as queued calls, so
// the window's thread never waits on a disk.

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "app/parts/dialogs.h"
#include "files/auto_saver.h"
#include "files/background_load.h"
#include "files/background_save.h"
#include "files/file_access.h"

namespace trelvan {

class FileOperations {
 public:
  FileOperations(AcquisitionState& state, AcquisitionHooks& hooks, Dialogs& dialogs, QLineEdit* edit45);
  ~FileOperations();

  // The AutoSave hook: hands the full store's rows to the auto-save writer
  // and empties the store; false (the poll pauses) while earlier rows are
  // still unwritten.
  bool AutoSave();
  // Save As: the rows counted at the press as a .bin or .txt file, written
  // on a worker behind a progress window with Cancel.
  void Button4Click();
  // Change: picks the auto-save folder, then retries a failed write and
  // ends a pause at once.
  void Button26Click();
  // Load From: a .bin file into the emptied store, read on a worker.
  void Button27Click();

  // Stop calls this before it tries to end a pause, so that the try is made
  // even within 5 s of the last one.
  void RetryAutoSaveNow() { saver_.RetryNow(); }
  // A new run or a new pause: the next auto-save failure is logged again.
  void ForgetAutoSaveReports() { saver_.ForgetReports(); }
  // Writes the rows of a failed auto-save again when a try is due.
  void RetryAutoSave();

  // Closing the window: true when it may close now. Otherwise the file work
  // that must end first (a Save As, a load, unwritten auto-save rows) is
  // waited for, behind a progress window and with the user's answers, and
  // `closeAgain` is called once it has ended.
  bool ReadyToClose(std::function<void()> closeAgain);

  // Before Start, Clear Buff or Load From empty the store: cycles promised to
  // a file (a full store not handed to the writer, the cycles it held back,
  // rows of a failed write that is not running again) are tried once more
  // and, if still unsaved, discarded only when the user agrees. True when
  // the store may be emptied; the writer's discarded rows are gone then.
  bool MayEmptyStore();
  // Rows the writer holds after a failed write.
  uint32_t UnsavedWriterCycles() const { return saver_.failing() ? saver_.unwrittenCycles() : 0; }

  // The state of the file work, for the window's indicators.
  uint32_t UnwrittenCycles() const { return saver_.unwrittenCycles(); }
  bool AutoSaveFailing() const { return saver_.failing(); }
  bool Busy() const { return saver_.writing() || save_.running() || load_.running(); }
  bool Loading() const { return load_.running(); }
  // A Load From reads into the store's own rows: nothing else may add rows.
  bool LoadingIntoStore() const { return load_.intoStore(); }
  // Called after every change of the auto-save's unwritten rows.
  std::function<void()> onUnwrittenChanged;

  // The auto-save base name at `when`: date and time texts in the formats.
  QString AutoSaveBaseNameAt(const QDateTime& when) const;

  // For tests: the file system, the clocks and the date and time formats
  // (by default the system's short date and long time without time zone).
  // The file system is changed only while no file work runs.
  void SetFileWriter(FileWriter& writer);
  void SetFileReader(FileReader& reader) { load_.SetReader(reader); }
  void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
  void SetSteadyClock(std::function<AutoSaver::Clock::time_point()> clock) { steadyClock_ = std::move(clock); }
  void SetDateTimeFormats(const QLocale& locale, const QString& dateFormat, const QString& timeFormat);

 private:
  std::string Folder() const;
  std::function<std::string()> BaseNameNow() const;
  void AutoSaveWritten(bool ok);
  void AskAboutUnwritten();
  void CloseWhenIdle();

  // First, so it goes last: the workers (below) are joined before it, and
  // the reports still queued for it go with it.
  QObject context_;
  // The workers' reports wait here until a queued call runs them on the
  // window's thread (before the workers: it outlives them).
  class Mailbox;
  std::unique_ptr<Mailbox> mailbox_;
  AcquisitionState& state_;
  AcquisitionHooks& hooks_;
  Dialogs& dialogs_;
  QLineEdit* edit45_;
  std::function<QDateTime()> clock_;
  std::function<AutoSaver::Clock::time_point()> steadyClock_;
  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  int saveFilter_ = 0;  // SaveDialog1 offers the filter chosen last
  QTimer retryTimer_;
  std::unique_ptr<ProgressView> saveProgress_, loadProgress_, closeProgress_;
  std::function<void()> closeAgain_;  // set while closing waits for file work
  AutoSaver saver_;
  BackgroundSave save_;
  BackgroundLoad load_;
};

std::string SaveRunningMessage(const std::string& path);
std::string LoadRunningMessage();
std::string DiscardQuestion(uint64_t cycles);

}  // namespace trelvan
