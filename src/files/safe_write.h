#pragma once
// Writing a file so that its final name only ever holds a complete file: the
// bytes go to a temporary name beside it (a suffix no "*.bin" or "*.txt"
// filter matches), are flushed to the disk, and only then is the file renamed.
// On any failure the temporary file is removed.

#include <functional>
#include <string>

#include "files/byte_sink.h"
#include "files/file_access.h"

namespace trelvan {

enum class NameRule {
  Replace,  // an existing file of the name is replaced (the user agreed)
  Unique,   // an existing file is kept: "name (2).ext", "name (3).ext", ...
};

struct WriteOutcome {
  bool ok = false;
  std::string path;    // the final name used
  std::string reason;  // why it failed
};

// `fill` writes the content into the sink and returns false on failure.
// Under the Replace rule a symbolic link is followed to its final target,
// which is written in its own folder and keeps its permission bits; a file
// with other hard links has its own bytes replaced. Temporary names are kept
// within the 255-byte name limit by shortening the name, never its suffix.
WriteOutcome WriteFileSafely(FileWriter& writer, const std::string& path, NameRule rule,
                             const std::function<bool(FileSink&)>& fill);

// "folder/name.bin" -> "folder/name (n).bin".
std::string NumberedName(const std::string& path, int number);

}  // namespace trelvan
