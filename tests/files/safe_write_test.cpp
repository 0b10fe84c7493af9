#include "files/safe_write.h"

#include <gtest/gtest.h>

#include "files/file_test_support.h"

namespace trelvan {
namespace {

using testing::FaultyWriter;
using Fault = FaultyWriter::Fault;

const std::string Content(100'000, 'x');

bool FillContent(FileSink& sink) { return sink.Put(Content.data(), Content.size()); }

// Whatever fails, the chosen name keeps the file it held and no temporary
// file is left behind.
TEST(SafeWrite, FailureKeepsTheOldFileAndLeavesNoTemporary) {
  struct Case {
    Fault fault;
    const char* reason;
  } cases[] = {
      {Fault::RefuseCreate, "Permission denied"},
      {Fault::FailWrite, "No space left on device"},
      {Fault::WriteShort, "short write: 50000 of 100000 bytes written"},
      {Fault::FailSync, "Input/output error"},
      {Fault::FailRename, "Invalid cross-device link"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    testing::TempFolder folder;
    testing::WriteAll(folder.file("run.bin"), {1, 2, 3});
    FaultyWriter writer;
    writer.fault = c.fault;
    writer.failAfterBytes = 50'000;
    const WriteOutcome outcome = WriteFileSafely(writer, folder.file("run.bin"), NameRule::Replace, FillContent);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.reason, c.reason);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"run.bin"});
    EXPECT_EQ(testing::ReadAll(folder.file("run.bin")), (std::vector<uint8_t>{1, 2, 3}));
  }
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
}

}  // namespace
}  // namespace trelvan
