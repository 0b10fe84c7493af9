#include "app/parts/dialog_folders.h"

#include <QFileInfo>

namespace trelvan {

QString DialogFolders::StartFolder(const QString& title) const {
  if (const auto it = last_.constFind(title); it != last_.constEnd()) return *it;
  if (const auto it = first_.constFind(title); it != first_.constEnd() && *it) return (*it)();
  return {};
}

void DialogFolders::Remember(const QString& title, const QString& chosenPath) {
  if (chosenPath.isEmpty()) return;
  last_.insert(title, QFileInfo(chosenPath).absolutePath());
}

void DialogFolders::SetFirstFolder(const QString& title, std::function<QString()> folder) {
  first_.insert(title, std::move(folder));
}

}  // namespace trelvan
