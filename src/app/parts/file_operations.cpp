#include "app/parts/file_operations.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "acquisition/poll.h"
#include "acquisition/store_clear.h"
#include "app/parts/locale_texts.h"
#include "device/log_colours.h"
#include "files/sample_load.h"
#include "files/sample_save.h"

namespace trelvan {

namespace {

const QStringList SaveFilters = {"bin file (*.bin)", "txt file (*.txt)"};
const QStringList OpenFilters = {"bin file (*.bin)"};

// The wait cursor while a long write or read holds the event loop.
struct BusyCursor {
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

FileOperations::FileOperations(AcquisitionState& state, AcquisitionHooks& hooks, Dialogs& dialogs,
                               QLineEdit* edit45)
    : state_(state),
      hooks_(hooks),
      dialogs_(dialogs),
      edit45_(edit45),
      writer_(&SystemFileWriter()),
      reader_(&SystemFileReader()),
      saver_(SystemFileWriter()),
      clock_([] { return QDateTime::currentDateTime(); }),
      steadyClock_([] { return AutoSaver::Clock::now(); }),
      locale_(QLocale::system()),
      dateFormat_(locale_.dateFormat(QLocale::ShortFormat)),
      timeFormat_(WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat))) {}

void FileOperations::SetFileWriter(FileWriter& writer) {
  writer_ = &writer;
  saver_.SetWriter(writer);
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
  return QString::fromStdString(AutoSaveBaseName(date.toStdString(), time.toStdString()));
}

bool FileOperations::AutoSave() {
  const std::string folder = LocalPath(edit45_->text());
  const AutoSaver::Clock::time_point now = steadyClock_();
  if (!saver_.Due(folder, now)) return false;
  BusyCursor busy;
  return saver_.Save(state_, hooks_, folder,
                     [this] { return AutoSaveBaseNameAt(clock_()).toStdString(); }, now);
}

void FileOperations::Button4Click() {
  const uint32_t count = state_.store.cycleCount;
  if (count == 0) {
    hooks_.LogMessage("No data for save!", LogRed);
    return;
  }
  const uint64_t emptyings = state_.storeEmptyings;
  const FileChoice choice = dialogs_.SaveFile("Save As", SaveFilters, saveFilter_, true);
  if (choice.path.isEmpty()) return;
  saveFilter_ = choice.filterIndex == 0 ? 0 : 1;
  // The poll runs while a dialog is open: rows counted at the press may have
  // gone to an auto-save file by the time the dialogs close.
  const auto emptied = [&] {
    if (state_.storeEmptyings == emptyings) return false;
    hooks_.LogMessage(NothingWrittenMessage(emptyings), LogRed);
    return true;
  };
  if (emptied()) return;
  const SampleFormat format = saveFilter_ == 0 ? SampleFormat::Bin : SampleFormat::Text;
  const QString path = QString::fromStdString(WithExtension(choice.path.toStdString(), format));
  if (path != choice.path && QFileInfo::exists(path) &&
      !dialogs_.Confirm(path + " already exists.\nDo you want to replace it?")) {
    return;
  }
  if (emptied()) return;
  BusyCursor busy;
  SaveSamples(state_.store, count, format, LocalPath(path), *writer_, hooks_);
}

std::string FileOperations::NothingWrittenMessage(uint64_t emptyingsAtPress) const {
  if (const auto name = saver_.FileOfEmptying(emptyingsAtPress + 1)) {
    return "The data were auto-saved to " + *name +
           ".bin while the dialog was open: nothing was written!";
  }
  return "The store was emptied while the dialog was open: nothing was written!";
}

void FileOperations::Button26Click() {
  QString folder = dialogs_.PickFolder(edit45_->text());
  if (folder.isEmpty()) return;
  if (!folder.endsWith(u'/')) folder += u'/';
  edit45_->setText(folder);
  saver_.RetryNow();
  if (state_.paused() || saver_.failing()) EndPause(state_, hooks_);  // a pause, or a full store whose save failed
}

void FileOperations::Button27Click() {
  if (state_.store.cycleCount != 0 &&
      !dialogs_.Confirm("This operation will clear all the previous sample data!!!")) {
    return;
  }
  // The store is emptied only once a file is chosen: Cancel keeps it.
  const FileChoice choice = dialogs_.OpenFile("Load From", OpenFilters);
  if (choice.path.isEmpty()) return;
  DropWaitingCycles(state_, hooks_);
  ClearSampleStore(state_, hooks_);
  BusyCursor busy;
  LoadSampleFile(state_, hooks_, *reader_, LocalPath(choice.path));
}

}  // namespace trelvan
