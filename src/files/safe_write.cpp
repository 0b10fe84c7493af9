#include "files/safe_write.h"

#include <cerrno>
#include <exception>

namespace trelvan {

namespace {

constexpr int MaxNameTries = 1000;
// The longest name (in bytes) a folder entry may have.
constexpr std::size_t NameLimit = 255;

// `text` cut to at most `bytes` bytes, never inside a UTF-8 character.
std::string CutTo(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

// `path` with `suffix` after its name, the name shortened (never the
// suffix) so that both fit a folder entry.
std::string WithSuffix(const std::string& path, const std::string& suffix) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string name = path.substr(nameStart);
  const std::size_t room = NameLimit > suffix.size() ? NameLimit - suffix.size() : 0;
  return path.substr(0, nameStart) + CutTo(name, room) + suffix;
}

struct TemporaryFile {
  std::string path;
  int fd = -1;
  int error = 0;
};

TemporaryFile CreateTemporary(FileWriter& writer, const std::string& path) {
  TemporaryFile temp;
  for (int i = 1; i <= MaxNameTries; ++i) {
    temp.path = WithSuffix(path, (i == 1 ? std::string() : "." + std::to_string(i)) + ".part");
    temp.error = writer.CreateNew(temp.path, &temp.fd);
    if (temp.error != EEXIST) break;
  }
  if (temp.error != 0) temp.fd = -1;
  return temp;
}

WriteOutcome Fail(FileWriter& writer, const TemporaryFile& temp, std::string reason) {
  writer.Remove(temp.path);
  return WriteOutcome{false, {}, std::move(reason)};
}

}  // namespace

std::string NumberedName(const std::string& path, int number) {
  const std::size_t slash = path.rfind('/');
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  return WithSuffix(path.substr(0, dot), " (" + std::to_string(number) + ")" + path.substr(dot));
}

WriteOutcome WriteFileSafely(FileWriter& writer, const std::string& chosenPath, NameRule rule,
                             const std::function<bool(FileSink&)>& fill) {
  // A replaced name is written through its symbolic links: the link stays,
  // its target gets the new bytes and keeps its permission bits.
  ExistingFile existing;
  existing.finalPath = chosenPath;
  if (rule == NameRule::Replace) {
    if (const int error = writer.Inspect(chosenPath, &existing); error != 0) {
      return WriteOutcome{false, {}, ErrorText(error)};
    }
  }
  const std::string& path = existing.finalPath;

  const TemporaryFile temp = CreateTemporary(writer, path);
  if (temp.fd < 0) return WriteOutcome{false, {}, ErrorText(temp.error)};
  if (existing.exists) {
    if (const int error = writer.SetMode(temp.fd, existing.mode); error != 0) {
      writer.Close(temp.fd);
      return Fail(writer, temp, ErrorText(error));
    }
  }

  FileSink sink(writer, temp.fd);
  std::string failure;
  try {
    if (!fill(sink)) failure = sink.reason().empty() ? "write failed" : sink.reason();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (!failure.empty()) {
    writer.Close(temp.fd);
    return Fail(writer, temp, failure);
  }
  if (const int error = writer.Sync(temp.fd); error != 0) {
    writer.Close(temp.fd);
    return Fail(writer, temp, ErrorText(error));
  }
  if (const int error = writer.Close(temp.fd); error != 0) {
    return Fail(writer, temp, ErrorText(error));
  }

  if (rule == NameRule::Replace && existing.exists && existing.links > 1) {
    // Other hard links share the file: its own bytes are replaced, from the
    // complete copy on the disk, which is kept should that fail half-way.
    // A failure before the file was cut short leaves it whole: no copy kept.
    bool touched = false;
    if (const int error = writer.OverwriteWith(temp.path, path, &touched); error != 0) {
      if (!touched) return Fail(writer, temp, ErrorText(error));
      return WriteOutcome{false, {}, ErrorText(error) + "; the whole file is kept as " + temp.path};
    }
    writer.Remove(temp.path);
    return WriteOutcome{true, path, {}};
  }
  if (rule == NameRule::Replace) {
    if (const int error = writer.Rename(temp.path, path, true); error != 0) {
      return Fail(writer, temp, ErrorText(error));
    }
    return WriteOutcome{true, path, {}};
  }
  for (int number = 1; number <= MaxNameTries; ++number) {
    const std::string name = number == 1 ? path : NumberedName(path, number);
    const int error = writer.Rename(temp.path, name, false);
    if (error == 0) return WriteOutcome{true, name, {}};
    if (error != EEXIST) return Fail(writer, temp, ErrorText(error));
  }
  return Fail(writer, temp, ErrorText(EEXIST));
}

}  // namespace trelvan
