#include "files/safe_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "files/file_test_support.h"

namespace trelvan {
namespace {

using testing::FaultyWriter;
using Fault = FaultyWriter::Fault;

const std::string Content(100'000, 'x');

bool FillContent(FileSink& sink) { return sink.Put(Content.data(), Content.size()); }

// Whatever fails, the chosen name keeps the file it held and no temporary
// file is left behind (also when a hard-linked file could not be opened to
// be written over).
TEST(SafeWrite, FailureKeepsTheOldFileAndLeavesNoTemporary) {
  struct Case {
    Fault fault;
    const char* reason;
    bool hardLinked = false;
  } cases[] = {
      {Fault::RefuseCreate, "Permission denied"},
      {Fault::FailWrite, "No space left on device"},
      {Fault::WriteShort, "short write: 50000 of 100000 bytes written"},
      {Fault::FailSync, "Input/output error"},
      {Fault::FailRename, "Invalid cross-device link"},
      {Fault::RefuseOverwrite, "Permission denied", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    testing::TempFolder folder;
    testing::WriteAll(folder.file("run.bin"), {1, 2, 3});
    if (c.hardLinked) {
      ASSERT_EQ(::link(folder.file("run.bin").c_str(), folder.file("copy.bin").c_str()), 0);
    }
    FaultyWriter writer;
    writer.fault = c.fault;
    writer.failAfterBytes = 50'000;
    const WriteOutcome outcome = WriteFileSafely(writer, folder.file("run.bin"), NameRule::Replace, FillContent);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.reason, c.reason);
    EXPECT_EQ(folder.names(), c.hardLinked ? (std::vector<std::string>{"copy.bin", "run.bin"})
                                           : std::vector<std::string>{"run.bin"});
    EXPECT_EQ(testing::ReadAll(folder.file("run.bin")), (std::vector<uint8_t>{1, 2, 3}));
  }
}

// A hard-linked file that fails once it was cut short: the complete new
// bytes stay in the temporary file and the reason names it.
TEST(SafeWrite, AnOverwriteFailingHalfWayKeepsTheWholeFile) {
  testing::TempFolder folder;
  testing::WriteAll(folder.file("run.bin"), {1, 2, 3});
  ASSERT_EQ(::link(folder.file("run.bin").c_str(), folder.file("copy.bin").c_str()), 0);
  FaultyWriter writer;
  writer.fault = Fault::FailOverwrite;
  const WriteOutcome outcome = WriteFileSafely(writer, folder.file("run.bin"), NameRule::Replace, FillContent);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "No space left on device; the whole file is kept as " + folder.file("run.bin.part"));
  EXPECT_EQ(testing::ReadAll(folder.file("run.bin.part")).size(), Content.size());
}

TEST(SafeWrite, WritesUnderATemporaryNameThatNoBinFilterMatches) {
  testing::TempFolder folder;
  std::vector<std::string> during;
  const WriteOutcome outcome = WriteFileSafely(
      SystemFileWriter(), folder.file("run.bin"), NameRule::Replace, [&](FileSink& sink) {
        during = folder.names();
        return FillContent(sink);
      });
  ASSERT_TRUE(outcome.ok) << outcome.reason;
  EXPECT_EQ(during, std::vector<std::string>{"run.bin.part"});
  EXPECT_EQ(folder.names(), std::vector<std::string>{"run.bin"});
  EXPECT_EQ(testing::ReadAll(folder.file("run.bin")).size(), Content.size());
}

TEST(SafeWrite, ReplaceRuleReplacesAndUniqueRuleNumbers) {
  testing::TempFolder folder;
  testing::WriteAll(folder.file("a.bin"), {1});
  testing::WriteAll(folder.file("a (2).bin"), {2});
  testing::WriteAll(folder.file("a.bin.part"), {3});  // left over by an earlier crash

  const WriteOutcome unique = WriteFileSafely(SystemFileWriter(), folder.file("a.bin"), NameRule::Unique, FillContent);
  ASSERT_TRUE(unique.ok) << unique.reason;
  EXPECT_EQ(unique.path, folder.file("a (3).bin"));
  EXPECT_EQ(testing::ReadAll(folder.file("a.bin")), std::vector<uint8_t>{1});
  EXPECT_EQ(testing::ReadAll(folder.file("a (2).bin")), std::vector<uint8_t>{2});
  EXPECT_EQ(testing::ReadAll(folder.file("a (3).bin")).size(), Content.size());

  const WriteOutcome replaced = WriteFileSafely(SystemFileWriter(), folder.file("a.bin"), NameRule::Replace, FillContent);
  ASSERT_TRUE(replaced.ok);
  EXPECT_EQ(testing::ReadAll(folder.file("a.bin")).size(), Content.size());
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"a (2).bin", "a (3).bin", "a.bin", "a.bin.part"}));
}

TEST(SafeWrite, MissingFolderIsReported) {
  testing::TempFolder folder;
  const WriteOutcome outcome = WriteFileSafely(SystemFileWriter(), folder.file("gone/a.bin"), NameRule::Unique, FillContent);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "No such file or directory");
}

TEST(SafeWrite, NumberedNames) {
  EXPECT_EQ(NumberedName("/d/2024-3-5 9-07-02.bin", 2), "/d/2024-3-5 9-07-02 (2).bin");
  EXPECT_EQ(NumberedName("/d.x/run", 3), "/d.x/run (3)");
  // A name at the limit gives up bytes of its stem, never a split character.
  const std::string stem = std::string(246, 'a') + "\xC3\xA9" "b";  // "é" across the cut
  EXPECT_EQ(NumberedName("/d/" + stem + ".bin", 2), "/d/" + std::string(246, 'a') + " (2).bin");
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// Replacing a name that is a symbolic link (also to another folder, and a
// chain of links) or one of several hard links changes the file they lead
// to: the links stay, every name shows the new bytes, the mode is kept.
// A pipe or a device node (also hard-linked) is refused: neither replaced
// by a file nor opened to be written into.
TEST(SafeWrite, ReplaceWritesThroughLinksAndKeepsTheMode) {
  testing::TempFolder folder;
  ASSERT_EQ(::mkdir(folder.file("other").c_str(), 0755), 0);
  const std::string target = folder.file("other/target.bin");
  struct Case {
    const char* what;
    std::string name;
    std::function<bool()> make;
    mode_t refusedType = 0;  // the file type of a name that is refused
  } cases[] = {
      {"symbolic link", folder.file("link.bin"), [&] { return ::symlink("other/target.bin", folder.file("link.bin").c_str()) == 0; }},
      {"chain of links", folder.file("chain.bin"), [&] {
         return ::symlink(target.c_str(), folder.file("middle.bin").c_str()) == 0 &&
                ::symlink("middle.bin", folder.file("chain.bin").c_str()) == 0;
       }},
      {"hard link", folder.file("hard.bin"), [&] { return ::link(target.c_str(), folder.file("hard.bin").c_str()) == 0; }},
      {"pipe", folder.file("pipe.bin"), [&] { return ::mkfifo(folder.file("pipe.bin").c_str(), 0600) == 0; }, S_IFIFO},
      {"pipe with 2 links", folder.file("pipe.bin"), [&] {
         return ::mkfifo(folder.file("pipe.bin").c_str(), 0600) == 0 &&
                ::link(folder.file("pipe.bin").c_str(), folder.file("pipe2.bin").c_str()) == 0;
       }, S_IFIFO},
      {"link to a pipe", folder.file("link.bin"), [&] {
         return ::mkfifo(folder.file("pipe.bin").c_str(), 0600) == 0 &&
                ::symlink("pipe.bin", folder.file("link.bin").c_str()) == 0;
       }, S_IFIFO},
      {"device node", folder.file("null.dev"), [&] {  // the null device's numbers
         return ::mknod(folder.file("null.dev").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
       }, S_IFCHR},
  };
  std::string skipped;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteAll(target, {1, 2, 3});
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    if (!c.make()) {
      ASSERT_EQ(c.refusedType, S_IFCHR) << "could not make the " << c.what << ": " << std::strerror(errno);
      skipped = std::string("device nodes cannot be made here: ") + std::strerror(errno);
      continue;
    }
    const WriteOutcome outcome = WriteFileSafely(SystemFileWriter(), c.name, NameRule::Replace, FillContent);
    if (c.refusedType != 0) {
      EXPECT_FALSE(outcome.ok);
      EXPECT_EQ(outcome.reason, "Not a regular file (a pipe, a device or a socket)");
      struct stat info {};
      ASSERT_EQ(::stat(c.name.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & S_IFMT, c.refusedType);
      for (const std::string& name : folder.names()) EXPECT_FALSE(name.ends_with(".part")) << name;
    } else {
      ASSERT_TRUE(outcome.ok) << outcome.reason;
      EXPECT_EQ(testing::ReadAll(target).size(), Content.size());
      EXPECT_EQ(testing::ReadAll(c.name).size(), Content.size());
      EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);
      if (std::string(c.what) == "hard link") {
        EXPECT_EQ(StatOf(c.name).st_ino, StatOf(target).st_ino);
      } else {
        EXPECT_TRUE(S_ISLNK(StatOf(c.name).st_mode));
        EXPECT_EQ(outcome.path, target);
      }
    }
    std::vector<std::string> inOther;  // no temporary left beside the target
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("other")))
      inOther.push_back(entry.path().filename().string());
    EXPECT_EQ(inOther, std::vector<std::string>{"target.bin"});
    for (const std::string& name : folder.names())
      if (name != "other") std::filesystem::remove(folder.file(name));
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// A link to a name not yet taken creates the file it points to.
TEST(SafeWrite, ReplaceThroughADanglingLinkCreatesItsTarget) {
  testing::TempFolder folder;
  ::symlink("new.bin", folder.file("link.bin").c_str());
  const WriteOutcome outcome = WriteFileSafely(SystemFileWriter(), folder.file("link.bin"), NameRule::Replace, FillContent);
  ASSERT_TRUE(outcome.ok) << outcome.reason;
  EXPECT_TRUE(S_ISLNK(StatOf(folder.file("link.bin")).st_mode));
  EXPECT_EQ(testing::ReadAll(folder.file("new.bin")).size(), Content.size());
}

// Names up to the 255-byte limit can be written, whatever the temporary
// name adds; the chosen name is used as it is.
TEST(SafeWrite, NamesUpToTheLimitAreWritten) {
  for (const std::size_t length : {250u, 251u, 255u}) {
    SCOPED_TRACE(length);
    testing::TempFolder folder;
    const std::string stem(length - 4, 'n');
    for (const NameRule rule : {NameRule::Replace, NameRule::Unique}) {
      std::string temporary;
      const WriteOutcome outcome = WriteFileSafely(SystemFileWriter(), folder.file(stem + ".bin"), rule, [&](FileSink& sink) {
        for (const std::string& name : folder.names())
          if (name.ends_with(".part")) temporary = name;
        return FillContent(sink);
      });
      ASSERT_TRUE(outcome.ok) << outcome.reason;
      EXPECT_LE(temporary.size(), 255u);
    }
    const std::string numbered = std::string(std::min<std::size_t>(length - 4, 247), 'n') + " (2).bin";
    EXPECT_EQ(folder.names(), (std::vector<std::string>{numbered, stem + ".bin"}));
  }
}

// The no-replace rename of file systems that cannot refuse to replace.
TEST(SafeWrite, LinkThenUnlinkNeverReplaces) {
  testing::TempFolder folder;
  testing::WriteAll(folder.file("a.part"), {1});
  testing::WriteAll(folder.file("taken.bin"), {2});
  EXPECT_EQ(LinkThenUnlink(folder.file("a.part"), folder.file("taken.bin")), EEXIST);
  EXPECT_EQ(testing::ReadAll(folder.file("taken.bin")), std::vector<uint8_t>{2});
  EXPECT_EQ(LinkThenUnlink(folder.file("a.part"), folder.file("free.bin")), 0);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"free.bin", "taken.bin"}));
  EXPECT_EQ(testing::ReadAll(folder.file("free.bin")), std::vector<uint8_t>{1});
}

}  // namespace
}  // namespace trelvan
