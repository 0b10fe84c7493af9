#pragma once
// The program's two options, answered without a window and without a
// display: --version and --help. Every other argument is left to Qt.

#include <string>

namespace trelvan {

enum class CommandLineAction { OpenWindow, PrintVersion, PrintHelp };

// --help (or -h) wins over --version (or -v); anything else opens the window.
CommandLineAction ReadCommandLine(int argc, const char* const* argv);

// "Trelvan <version> (built <date> <time>)" and a line break.
std::string VersionText(const std::string& version, const std::string& buildDateTime);

// The usage line, a paragraph on the program naming its auto-save folder,
// and the options; lines of at most 79 characters except for a word that is
// longer (a long folder).
std::string HelpText(const std::string& autoSaveFolder);

}  // namespace trelvan
