#include "app/command_line.h"

#include <sstream>
#include <string_view>

namespace trelvan {

namespace {

constexpr std::size_t LineWidth = 79;

std::string Wrapped(const std::string& text) {
  std::istringstream words(text);
  std::string word, line, result;
  while (words >> word) {
    if (!line.empty() && line.size() + 1 + word.size() > LineWidth) {
      result += line + '\n';
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return result + line + '\n';
}

}  // namespace

CommandLineAction ReadCommandLine(int argc, const char* const* argv) {
  CommandLineAction action = CommandLineAction::OpenWindow;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return CommandLineAction::PrintHelp;
    if (arg == "--version" || arg == "-v") action = CommandLineAction::PrintVersion;
  }
  return action;
}

std::string VersionText(const std::string& version, const std::string& buildDateTime) {
  return "Trelvan " + version + " (built " + buildDateTime + ")\n";
}

std::string HelpText(const std::string& autoSaveFolder) {
  const std::string about =
      "Trelvan is the desktop front end of an eight-channel, 16-bit USB data-acquisition module: "
      "it connects to the module, sets its ADC configuration, samples continuously or one cycle at "
      "a time, shows the data as a paged table with channel statistics and as an eight-trace "
      "waveform chart, and saves them as .bin or .txt files. It reaches the module through the "
      "library libkavrel.so.1; the copy installed with Trelvan is a simulated module, and a real "
      "module's library of the same name takes its place when it is found first (for example "
      "through LD_LIBRARY_PATH). A full store of 6,000,000 cycles is auto-saved as a .bin file "
      "to " +
      autoSaveFolder + " (the Change button picks another folder until the program ends).";
  return "Usage: trelvan [--help | --version]\n\n" + Wrapped(about) +
         "\n"
         "  -h, --help     show this text and exit\n"
         "  -v, --version  show the version and the build date and exit\n";
}

}  // namespace trelvan
