#include "app/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

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

void QtDialogs::Information(const QString& text) {
  QMessageBox::information(parent_, "Trelvan", text);
}

void QtDialogs::Error(const QString& title, const QString& text) {
  QMessageBox::critical(parent_, title, text);
}

}  // namespace trelvan
