#include "app/parts/auto_save_folder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "files/file_test_support.h"

namespace trelvan {
namespace {

namespace fs = std::filesystem;

TEST(AutoSaveFolder, FolderLiesInComparesWholeComponents) {
  testing::TempFolder temp;
  const fs::path top = temp.file("build");
  fs::create_directories(top / "src" / "app");
  fs::create_directory(temp.file("build2"));
  fs::create_directory_symlink(top, temp.file("link"));
  const struct {
    fs::path folder;
    fs::path tree;
    bool lies;
  } cases[] = {
      {top, top, true},
      {top / "src" / "app", top, true},
      {top / "src" / "app", top.string() + "/", true},
      {top / "src" / ".." / "src" / "app", top, true},
      {temp.file("build2"), top, false},            // a name that only begins like the tree's
      {temp.file("link") + "/src/app", top, true},  // reached through a link
      {top / "src" / "app", temp.file("link"), true},
      {temp.folder(), top, false},
      {top / "src", fs::path(), false},
      {fs::path(), top, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderLiesIn(c.folder, c.tree), c.lies) << c.folder << " in " << c.tree;
  }
}

class AutoSaveFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/data/";
    QDir(own).removeRecursively();
  }
  void TearDown() override { QDir(own).removeRecursively(); }
  static QString Folder(const std::string& text) { return QString::fromStdString(text).chopped(1); }
  QString own;
};

TEST_F(AutoSaveFolderTest, BuildTreeProgramKeepsItsFolderBesideItself) {
  // This test runs from the build tree, as the program does from build/src/app.
  const QString program = QCoreApplication::applicationDirPath();
  ASSERT_TRUE(IsBuildTreeProgram(program));
  EXPECT_EQ(PlannedAutoSaveFolderFor(program), program + "/data/");
  EXPECT_EQ(AutoSaveFolderFor(program), program + "/data/");
  EXPECT_TRUE(QFileInfo(program + "/data").isDir());
}

TEST_F(AutoSaveFolderTest, InstalledProgramUsesTheUsersDataFolderAndNothingBesideItself) {
  testing::TempFolder root;
  fs::create_directories(root.file("usr/bin"));
  const QString bin = Folder(root.folder()) + "/usr/bin";
  ASSERT_FALSE(IsBuildTreeProgram(bin));

  EXPECT_EQ(PlannedAutoSaveFolderFor(bin), own);
  EXPECT_FALSE(QFileInfo::exists(own)) << "the plan creates nothing";

  EXPECT_EQ(AutoSaveFolderFor(bin), own);
  EXPECT_TRUE(QFileInfo(own).isDir());
  EXPECT_FALSE(QFileInfo::exists(bin + "/data"));
}

TEST_F(AutoSaveFolderTest, BesideTheProgramOrInTheUsersDataWhenThatCannotBeMade) {
  testing::TempFolder program;
  const QString beside = AutoSaveFolderBeside(Folder(program.folder()));
  EXPECT_EQ(beside.toStdString(), program.folder() + "data/");
  EXPECT_TRUE(QFileInfo(beside).isDir());

  // A program folder where "data" cannot be made (here: it is a file).
  testing::WriteAll(program.file("blocked"), {});
  EXPECT_EQ(AutoSaveFolderBeside(QString::fromStdString(program.file("blocked"))), own);
  EXPECT_TRUE(QFileInfo(own).isDir());
}

}  // namespace
}  // namespace trelvan
