#include "app/parts/file_operations.h"

#include <QFile>
#include <QFileInfo>
#include <deque>
#include <mutex>

#include "acquisition/poll.h"
#include "acquisition/run_health.h"
#include "acquisition/store_clear.h"
#include "app/parts/locale_texts.h"
#include "device/log_colours.h"
#include "files/sample_load.h"
#include "files/sample_save.h"

namespace trelvan {

namespace {

const QStringList SaveFilters = {"bin file (*.bin)", "txt file (*.txt)"};
const QStringList OpenFilters = {"bin file (*.bin)"};
constexpr int RetryCheckMs = 1000;
constexpr int LoadProgressAfterMs = 500;

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// Reports of the file workers, run later on the thread of `context`. They
// wait in a queue of this program's own: its lock orders each report after
// the worker's work for every checker, also one that cannot see inside the
// toolkit's event queue.
class FileOperations::Mailbox {
 public:
  explicit Mailbox(QObject* context) : context_(context) {}
  Deliver deliver() {
    return [this](Task task) { Post(std::move(task)); };
  }

 private:
  void Post(Task task) {
    bool first = false;
    {
      std::lock_guard lock(mutex_);
      first = tasks_.empty();
      tasks_.push_back(std::move(task));
    }
    if (first) QMetaObject::invokeMethod(context_, [this] { Run(); }, Qt::QueuedConnection);
  }
  void Run() {
    std::deque<Task> tasks;
    {
      std::lock_guard lock(mutex_);
      tasks.swap(tasks_);
    }
    for (Task& task : tasks) task();
  }

  QObject* context_;
  std::mutex mutex_;
  std::deque<Task> tasks_;
};

std::string SaveRunningMessage(const std::string& path) {
  return "A Save As to " + path + " is still running: wait for it to end, or cancel it, first!";
}

std::string LoadRunningMessage() { return "A Load From is still running: wait for it to end, or cancel it, first!"; }

FileOperations::FileOperations(AcquisitionState& state, AcquisitionHooks& hooks, Dialogs& dialogs,
                               QLineEdit* edit45)
    : mailbox_(std::make_unique<Mailbox>(&context_)),
      state_(state),
      hooks_(hooks),
      dialogs_(dialogs),
      edit45_(edit45),
      clock_([] { return QDateTime::currentDateTime(); }),
      steadyClock_([] { return AutoSaver::Clock::now(); }),
      locale_(QLocale::system()),
      dateFormat_(locale_.dateFormat(QLocale::ShortFormat)),
      timeFormat_(WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat))),
      saver_(SystemFileWriter()),
      save_(SystemFileWriter(), mailbox_->deliver()),
      load_(SystemFileReader(), mailbox_->deliver()) {
  saver_.SetDeliver(mailbox_->deliver());
  saver_.onWritten = [this](bool ok) { AutoSaveWritten(ok); };
  retryTimer_.setInterval(RetryCheckMs);
  QObject::connect(&retryTimer_, &QTimer::timeout, &context_, [this] { RetryAutoSave(); });
}

FileOperations::~FileOperations() {
  save_.Cancel();
  load_.Cancel();
}

void FileOperations::SetFileWriter(FileWriter& writer) {
  saver_.SetWriter(writer);
  save_.SetWriter(writer);
}

void FileOperations::SetDateTimeFormats(const QLocale& locale, const QString& dateFormat,
                                        const QString& timeFormat) {
  locale_ = locale;
  dateFormat_ = dateFormat;
  timeFormat_ = timeFormat;
}

QString FileOperations::AutoSaveBaseNameAt(const QDateTime& when) const {
  const QString date = locale_.toString(when.date(), dateFormat_);
  const QString time = locale_.toString(when.time(), timeFormat_);
  return Text(AutoSaveBaseName(date.toStdString(), time.toStdString()));
}

std::string FileOperations::Folder() const { return LocalPath(edit45_->text()); }

std::function<std::string()> FileOperations::BaseNameNow() const {
  return [this] { return AutoSaveBaseNameAt(clock_()).toStdString(); };
}

// ---- Auto-save --------------------------------------------------------------

bool FileOperations::AutoSave() {
  // While closing waits for the writer no new store is handed over: the
  // poll holds its cycles, so that the wait has an end.
  if (closeAgain_) return false;
  const uint32_t before = saver_.unwrittenCycles();
  const bool handedOver = saver_.Save(state_, hooks_, Folder(), BaseNameNow(), steadyClock_());
  if (saver_.unwrittenCycles() != before && onUnwrittenChanged) onUnwrittenChanged();
  return handedOver;
}

void FileOperations::RetryAutoSave() { saver_.Retry(hooks_, Folder(), BaseNameNow(), steadyClock_()); }

void FileOperations::AutoSaveWritten(bool ok) {
  if (ok) {
    retryTimer_.stop();
  } else if (!retryTimer_.isActive()) {
    retryTimer_.start();
  }
  if (onUnwrittenChanged) onUnwrittenChanged();
  // A store that filled while these rows were written waits for them.
  if (ok && !closeAgain_ && (state_.paused() || state_.store.full())) EndPause(state_, hooks_);
  if (closeAgain_) {
    if (ok || saver_.unwrittenCycles() == 0) {
      CloseWhenIdle();
    } else {
      AskAboutUnwritten();
    }
  }
}

// ---- Save As ----------------------------------------------------------------

void FileOperations::Button4Click() {
  if (save_.running()) {
    hooks_.LogMessage(SaveRunningMessage(save_.path()), LogRed);
    return;
  }
  const uint32_t count = state_.store.cycleCount;
  if (count == 0) {
    hooks_.LogMessage("No data for save!", LogRed);
    return;
  }
  // The rows of the press are held from here on: the poll goes on while the
  // dialogs are open and while the file is written, and a store that starts
  // again at row 0 meanwhile does so in fresh arrays.
  SaveRows rows{state_.store.raw, state_.store.volts, count};
  const FileChoice choice = dialogs_.SaveFile("Save As", SaveFilters, saveFilter_, true);
  if (choice.path.isEmpty()) return;
  saveFilter_ = choice.filterIndex == 0 ? 0 : 1;
  const SampleFormat format = saveFilter_ == 0 ? SampleFormat::Bin : SampleFormat::Text;
  const QString path = Text(WithExtension(choice.path.toStdString(), format));
  if (path != choice.path && QFileInfo::exists(path) &&
      !dialogs_.Confirm(path + " already exists.\nDo you want to replace it?")) {
    return;
  }
  if (save_.running()) {  // one began while the question was open
    hooks_.LogMessage(SaveRunningMessage(save_.path()), LogRed);
    return;
  }
  saveProgress_ = dialogs_.Progress("Save As", "Saving " + QString::number(count) + " cycles to " + path, 0,
                                    true, [this] { save_.Cancel(); });
  save_.Start(std::move(rows), format, LocalPath(path), hooks_,
              [this](int percent) {
                if (saveProgress_) saveProgress_->SetPercent(percent);
              },
              [this](bool) {
                saveProgress_.reset();
                if (closeAgain_) CloseWhenIdle();
              });
}

// ---- Change -----------------------------------------------------------------

void FileOperations::Button26Click() {
  QString folder = dialogs_.PickFolder(edit45_->text());
  if (folder.isEmpty()) return;
  if (!folder.endsWith(u'/')) folder += u'/';
  edit45_->setText(folder);
  saver_.RetryNow();
  RetryAutoSave();
  if (state_.paused()) EndPause(state_, hooks_);
}

// ---- Emptying the store -----------------------------------------------------

bool FileOperations::MayEmptyStore() {
  const auto storeUnsaved = [this] { return AcquisitionPaused(state_) && state_.store.full(); };
  // Rows being written are not discarded: they wait for the write's end.
  const auto writerUnsaved = [this] { return saver_.writing() ? 0 : UnsavedWriterCycles(); };
  if (!storeUnsaved() && writerUnsaved() == 0) return true;
  // One try, as far as handing the rows to the writer goes (a retry of a
  // failed write only when it is due).
  if (storeUnsaved()) {
    EndPause(state_, hooks_);
  } else {
    RetryAutoSave();
  }
  if (onUnwrittenChanged) onUnwrittenChanged();
  uint64_t cycles = writerUnsaved();
  if (storeUnsaved()) {
    cycles += uint64_t{state_.store.cycleCount} + state_.waitingCycles + state_.reads.Cycles();
  }
  if (cycles == 0) return true;
  if (dialogs_.Choose(Text(DiscardQuestion(cycles)), {"Yes", "No"}, 1) != 0) return false;
  if (writerUnsaved() > 0) {
    hooks_.LogMessage(std::to_string(saver_.DiscardUnwritten()) + " cycles of a failed auto-save were discarded!",
                      LogRed);
    if (onUnwrittenChanged) onUnwrittenChanged();
  }
  return true;
}

std::string DiscardQuestion(uint64_t cycles) {
  return std::to_string(cycles) + " cycles are not saved to a file. Discard them?";
}

// ---- Load From --------------------------------------------------------------

void FileOperations::Button27Click() {
  if (load_.running()) {
    hooks_.LogMessage(LoadRunningMessage(), LogRed);
    return;
  }
  if (state_.store.cycleCount != 0 &&
      !dialogs_.Confirm("This operation will clear all the previous sample data!!!")) {
    return;
  }
  // The store is emptied only once a file is chosen: Cancel keeps it.
  const FileChoice choice = dialogs_.OpenFile("Load From", OpenFilters);
  if (choice.path.isEmpty() || load_.running() || !MayEmptyStore()) return;
  DropWaitingCycles(state_, hooks_);
  ClearSampleStore(state_, hooks_);
  loadProgress_ = dialogs_.Progress("Load From", "Loading " + choice.path, LoadProgressAfterMs, true,
                                    [this] { load_.Cancel(); });
  load_.Start(state_, hooks_, LocalPath(choice.path),
              [this](int percent) {
                if (loadProgress_) loadProgress_->SetPercent(percent);
              },
              [this](const LoadReport&) {
                loadProgress_.reset();
                if (closeAgain_) CloseWhenIdle();
              });
}

// ---- Closing ----------------------------------------------------------------

bool FileOperations::ReadyToClose(std::function<void()> closeAgain) {
  if (closeAgain_) return false;  // already waiting
  if (!Busy() && saver_.unwrittenCycles() == 0) return true;
  if (save_.running()) {
    const int answer = dialogs_.Choose(
        Text("A Save As to " + save_.path() + " is still running. Wait for it to end, or cancel it?"),
        {"Wait", "Cancel the save"}, 0);
    if (answer < 0) return false;  // the question was closed: the window stays
    if (answer == 1) save_.Cancel();
  }
  load_.Cancel();  // a load stops at once; what it stored is not kept anyway
  closeAgain_ = std::move(closeAgain);
  if (!saver_.writing() && saver_.unwrittenCycles() > 0) {
    AskAboutUnwritten();
  } else {
    CloseWhenIdle();
  }
  return false;
}

void FileOperations::CloseWhenIdle() {
  if (save_.running() || load_.running()) return;  // their ends call this again
  if (saver_.writing()) {
    if (!closeProgress_) {
      closeProgress_ = dialogs_.Progress(
          "Trelvan",
          QString("Writing the last auto-save (%1 cycles) before closing ...").arg(saver_.unwrittenCycles()),
          0, false, [this] {
            // Cancel: the window stays open; the write goes on. The progress
            // window goes after its own signal has returned.
            closeAgain_ = nullptr;
            QMetaObject::invokeMethod(&context_, [this] { closeProgress_.reset(); }, Qt::QueuedConnection);
          });
    }
    return;  // its end calls this again
  }
  if (saver_.unwrittenCycles() > 0) {
    AskAboutUnwritten();
    return;
  }
  closeProgress_.reset();
  const std::function<void()> closeAgain = std::exchange(closeAgain_, nullptr);
  closeAgain();
}

void FileOperations::AskAboutUnwritten() {
  const uint32_t cycles = saver_.unwrittenCycles();
  const int answer = dialogs_.Choose(
      Text("The auto-save of " + std::to_string(cycles) + " cycles to " + saver_.failedFolder() + " failed (" +
           saver_.failure() + "). Try again, pick another folder, or discard them?"),
      {"Try again", "Pick another folder", Text("Discard " + std::to_string(cycles) + " cycles")}, 0);
  switch (answer) {
    case 0:
      saver_.RetryNow();
      RetryAutoSave();
      CloseWhenIdle();
      return;
    case 1:
      Button26Click();
      if (!saver_.writing()) {  // no folder picked
        AskAboutUnwritten();
        return;
      }
      CloseWhenIdle();
      return;
    case 2:
      hooks_.LogMessage(std::to_string(saver_.DiscardUnwritten()) +
                            " cycles of a failed auto-save were discarded at closing!",
                        LogRed);
      if (onUnwrittenChanged) onUnwrittenChanged();
      CloseWhenIdle();
      return;
    default:  // the question was closed: the window stays open
      closeAgain_ = nullptr;
      closeProgress_.reset();
  }
}

}  // namespace trelvan
