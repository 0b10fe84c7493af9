#include "files/safe_write.h"

#include <cerrno>
#include <exception>

namespace trelvan {

namespace {

constexpr int MaxNameTries = 1000;

struct TemporaryFile {
  std::string path;
  int fd = -1;
  int error = 0;
};

TemporaryFile CreateTemporary(FileWriter& writer, const std::string& path) {
  TemporaryFile temp;
  for (int i = 1; i <= MaxNameTries; ++i) {
    temp.path = path + (i == 1 ? std::string() : "." + std::to_string(i)) + ".part";
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
  return path.substr(0, dot) + " (" + std::to_string(number) + ")" + path.substr(dot);
}

WriteOutcome WriteFileSafely(FileWriter& writer, const std::string& path, NameRule rule,
                             const std::function<bool(FileSink&)>& fill) {
  const TemporaryFile temp = CreateTemporary(writer, path);
  if (temp.fd < 0) return WriteOutcome{false, {}, ErrorText(temp.error)};

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
