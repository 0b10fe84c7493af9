#include "app/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace trelvan {

namespace {
// The dialog of Qt's own, never the platform's: only it asks `provider` for
// types and icons, so that no file is read to guess them.
void UseNameOnlyIcons(QFileDialog& dialog, QAbstractFileIconProvider& provider) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setIconProvider(&provider);
}

FileChoice Run(QFileDialog& dialog, const QStringList& filters) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first(),
          static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

// Opens the dialog in its remembered folder and remembers the chosen one.
FileChoice RunFrom(DialogFolders& folders, QFileDialog& dialog, const QStringList& filters) {
  // Not the folder of another dialog, which Qt would offer.
  const QString start = folders.StartFolder(dialog.windowTitle());
  dialog.setDirectory(start.isEmpty() ? QDir::currentPath() : start);
  FileChoice choice = Run(dialog, filters);
  folders.Remember(dialog.windowTitle(), choice.path);
  return choice;
}
class ProgressWindow : public ProgressView {
 public:
  ProgressWindow(QWidget* parent, const QString& title, const QString& text, int showAfterMs,
                 bool percent, std::function<void()> cancel)
      : dialog_(text, "Cancel", 0, percent ? 100 : 0, parent) {
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::NonModal);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setMinimumDuration(showAfterMs);
    dialog_.setValue(0);
    QObject::connect(&dialog_, &QProgressDialog::canceled, &dialog_, [cancel = std::move(cancel)] {
      if (cancel) cancel();
    });
  }
  void SetPercent(int percent) override { dialog_.setValue(percent); }

 private:
  QProgressDialog dialog_;
};

}  // namespace

FileChoice QtDialogs::SaveFile(const QString& title, const QStringList& filters,
                               int selectedFilter, bool confirmOverwrite) {
  QFileDialog dialog(parent_, title);
  UseNameOnlyIcons(dialog, iconProvider_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  if (selectedFilter >= 0 && selectedFilter < filters.size()) {
    dialog.selectNameFilter(filters[selectedFilter]);
  }
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  return RunFrom(folders_, dialog, filters);
}

FileChoice QtDialogs::OpenFile(const QString& title, const QStringList& filters) {
  QFileDialog dialog(parent_, title);
  UseNameOnlyIcons(dialog, iconProvider_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  return RunFrom(folders_, dialog, filters);
}

QString QtDialogs::PickFolder(const QString& startFolder) {
  QFileDialog dialog(parent_, QString(), startFolder);
  UseNameOnlyIcons(dialog, iconProvider_);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool QtDialogs::Confirm(const QString& text) {
  QMessageBox box(QMessageBox::Question, "Trelvan", text, QMessageBox::Ok | QMessageBox::Cancel,
                  parent_);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

int QtDialogs::Choose(const QString& text, const QStringList& buttons, int defaultButton) {
  QMessageBox box(QMessageBox::Question, "Trelvan", text, QMessageBox::NoButton, parent_);
  std::vector<QPushButton*> pushed;
  for (const QString& caption : buttons) pushed.push_back(box.addButton(caption, QMessageBox::AcceptRole));
  if (defaultButton >= 0 && defaultButton < static_cast<int>(pushed.size())) box.setDefaultButton(pushed[defaultButton]);
  box.exec();
  const auto it = std::find(pushed.begin(), pushed.end(), box.clickedButton());
  return it == pushed.end() ? -1 : static_cast<int>(it - pushed.begin());
}

std::unique_ptr<ProgressView> QtDialogs::Progress(const QString& title, const QString& text, int showAfterMs,
                                                  bool percent, std::function<void()> cancel) {
  return std::make_unique<ProgressWindow>(parent_, title, text, showAfterMs, percent, std::move(cancel));
}

void QtDialogs::Information(const QString& text) {
  QMessageBox::information(parent_, "Trelvan", text);
}

void QtDialogs::Error(const QString& title, const QString& text) {
  QMessageBox::critical(parent_, title, text);
}

}  // namespace trelvan
