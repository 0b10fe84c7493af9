#include "app/parts/auto_save_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <system_error>

namespace trelvan {

namespace {

std::filesystem::path Resolved(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(p, ec);
  if (ec) return p.lexically_normal();
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : canonical;
}

QString UserDataFolder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("data");
}

}  // namespace

bool FolderLiesIn(const std::filesystem::path& folder, const std::filesystem::path& tree) {
  if (tree.empty() || folder.empty()) return false;
  const std::filesystem::path f = Resolved(folder);
  const std::filesystem::path t = Resolved(tree);
  auto fi = f.begin();
  for (auto ti = t.begin(); ti != t.end(); ++ti) {
    if (ti->empty()) continue;  // the empty last element of "a/b/"
    if (fi == f.end() || *fi != *ti) return false;
    ++fi;
  }
  return true;
}

bool IsBuildTreeProgram(const QString& programFolder) {
  // The top of the build tree, set by the build for this file only.
  return FolderLiesIn(QFile::encodeName(programFolder).toStdString(), TRELVAN_BUILD_TREE);
}

QString UserAutoSaveFolder() {
  const QString own = UserDataFolder();
  QDir().mkpath(own);
  return own + u'/';
}

QString AutoSaveFolderBeside(const QString& programFolder) {
  const QString beside = QDir(programFolder).filePath("data");
  if (!QFileInfo(beside).isDir()) QDir().mkdir(beside);  // one level, never the parents
  const QFileInfo info(beside);
  if (info.isDir() && info.isWritable()) return beside + u'/';
  return UserAutoSaveFolder();
}

QString AutoSaveFolderFor(const QString& programFolder) {
  return IsBuildTreeProgram(programFolder) ? AutoSaveFolderBeside(programFolder)
                                           : UserAutoSaveFolder();
}

QString PlannedAutoSaveFolderFor(const QString& programFolder) {
  return (IsBuildTreeProgram(programFolder) ? QDir(programFolder).filePath("data")
                                            : UserDataFolder()) +
         u'/';
}

QString DefaultAutoSaveFolder() {
  return AutoSaveFolderFor(QCoreApplication::applicationDirPath());
}

}  // namespace trelvan
