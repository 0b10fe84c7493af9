#pragma once
// The auto-save folder the program starts with. An executable that runs from
// the build tree it was built in keeps its auto-saves in "data/" beside
// itself; an installed one keeps them in the user's own data location, never
// beside the executable (a bin/ folder that root could write into).

#include <QString>
#include <filesystem>

namespace trelvan {

// True when `folder` is `tree` or lies below it, compared by whole path
// components after both are made absolute and their links resolved. An empty
// `tree` holds nothing.
bool FolderLiesIn(const std::filesystem::path& folder, const std::filesystem::path& tree);

// True when `programFolder` lies in the build tree this program was built in.
bool IsBuildTreeProgram(const QString& programFolder);

// "data/" in the user's data location (created with its parents).
QString UserAutoSaveFolder();

// "data/" beside the program (created, one level, when missing), or the
// user's folder when that one cannot be made or written.
QString AutoSaveFolderBeside(const QString& programFolder);

// The start-up auto-save folder for the program in `programFolder`, created.
QString AutoSaveFolderFor(const QString& programFolder);
QString DefaultAutoSaveFolder();

// The folder AutoSaveFolderFor would start with, creating nothing (for the
// help text).
QString PlannedAutoSaveFolderFor(const QString& programFolder);

}  // namespace trelvan
