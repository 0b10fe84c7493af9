#pragma once
// Where each file dialog opens: in the folder of the path last chosen in it
// during this run (nothing is kept between runs), else in a first folder
// given for it (Load From: the auto-save folder), else in the working
// folder. Dialogs are told apart by their titles.

#include <QHash>
#include <QString>
#include <functional>

namespace trelvan {

class DialogFolders {
 public:
  QString StartFolder(const QString& title) const;
  // The folder of `chosenPath` becomes the dialog's start folder.
  void Remember(const QString& title, const QString& chosenPath);
  // The folder the dialog starts in until a path has been chosen in it; read
  // each time, so that it follows a folder that changes.
  void SetFirstFolder(const QString& title, std::function<QString()> folder);

 private:
  QHash<QString, QString> last_;
  QHash<QString, std::function<QString()>> first_;
};

}  // namespace trelvan
