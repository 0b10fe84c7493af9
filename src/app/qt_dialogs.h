#pragma once
// The dialogs of the running program: QFileDialog and QMessageBox. Every file
// dialog tells file types from names only (NameOnlyIconProvider).

#include <QWidget>

#include "app/name_only_icon_provider.h"
#include "app/parts/dialog_folders.h"
#include "app/parts/dialogs.h"

namespace trelvan {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The file dialogs open where they were last used.
  DialogFolders& folders() { return folders_; }

  FileChoice SaveFile(const QString& title, const QStringList& filters, int selectedFilter,
                      bool confirmOverwrite) override;
  FileChoice OpenFile(const QString& title, const QStringList& filters) override;
  QString PickFolder(const QString& startFolder) override;
  bool Confirm(const QString& text) override;
  int Choose(const QString& text, const QStringList& buttons, int defaultButton) override;
  std::unique_ptr<ProgressView> Progress(const QString& title, const QString& text, int showAfterMs,
                                         bool percent, std::function<void()> cancel) override;
  void Information(const QString& text) override;
  void Error(const QString& title, const QString& text) override;

  const NameOnlyIconProvider& iconProvider() const { return iconProvider_; }

 private:
  QWidget* parent_;
  NameOnlyIconProvider iconProvider_;  // outlives every dialog, which do not own it
  DialogFolders folders_;
};

}  // namespace trelvan
