#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace trelvan {
namespace {

TEST(CommandLine, OnlyHelpAndVersionKeepTheWindowShut) {
  using enum CommandLineAction;
  const struct {
    std::vector<const char*> args;
    CommandLineAction action;
  } cases[] = {
      {{}, OpenWindow},
      {{"-platform", "offscreen"}, OpenWindow},  // Qt's own options
      {{"--versions"}, OpenWindow},
      {{"--version"}, PrintVersion},
      {{"-v"}, PrintVersion},
      {{"--help"}, PrintHelp},
      {{"-h"}, PrintHelp},
      {{"--version", "--help"}, PrintHelp},
      {{"-style", "fusion", "--version"}, PrintVersion},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv{"trelvan"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(ReadCommandLine(static_cast<int>(argv.size()), argv.data()), c.action)
        << ::testing::PrintToString(c.args);
  }
}

TEST(CommandLine, VersionNamesTheProgramTheVersionAndTheBuild) {
  EXPECT_EQ(VersionText("0.9", "Dec 10 2026 15:31:02"),
            "Trelvan 0.9 (built Dec 10 2026 15:31:02)\n");
}

TEST(CommandLine, HelpNamesTheAutoSaveFolderAndWrapsItsLines) {
  for (const std::string& folder : {std::string("/home/user/.local/share/trelvan/data/"),
                                    "/" + std::string(120, 'x') + "/data/"}) {
    const std::string help = HelpText(folder);
    EXPECT_TRUE(help.starts_with("Usage: trelvan [--help | --version]\n\n")) << help;
    EXPECT_NE(help.find(folder), std::string::npos) << help;
    EXPECT_NE(help.find("libkavrel.so.1"), std::string::npos);
    EXPECT_TRUE(help.ends_with("and the build date and exit\n"));
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
      if (line.find(folder) == std::string::npos) {
        EXPECT_LE(line.size(), 79u) << line;
      }
    }
  }
}

}  // namespace
}  // namespace trelvan
