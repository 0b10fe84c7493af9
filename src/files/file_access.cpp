#include "files/file_access.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace trelvan {

namespace {

constexpr int MaxLinkHops = 40;

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Writes all of `size` bytes, or returns the errno of the failure.
int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int CopyFileBytes(int from, int to) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return 0;
    if (const int error = WriteAll(to, buffer, static_cast<std::size_t>(n)); error != 0) return error;
  }
}

}  // namespace

int LinkThenUnlink(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

int PosixFileWriter::CreateNew(const std::string& path, int* fd) {
  do {
    *fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (*fd < 0 && errno == EINTR);
  return *fd < 0 ? errno : 0;
}

int64_t PosixFileWriter::Write(int fd, const void* data, std::size_t size) {
  ssize_t n;
  do {
    n = ::write(fd, data, size);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

int PosixFileWriter::Sync(int fd) { return ::fsync(fd) != 0 ? errno : 0; }

void PosixFileWriter::WriteBack(int fd, uint64_t offset, uint64_t bytes, bool wait) {
  const unsigned flags = wait ? SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER
                              : SYNC_FILE_RANGE_WRITE;
  ::sync_file_range(fd, static_cast<off64_t>(offset), static_cast<off64_t>(bytes), flags);
}

int PosixFileWriter::Close(int fd) { return ::close(fd) != 0 ? errno : 0; }

int PosixFileWriter::Rename(const std::string& from, const std::string& to, bool replace) {
  if (replace) return ::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return 0;
  const int error = errno;
  // File systems without the flag: a hard link never replaces either.
  if (error == EINVAL || error == ENOSYS) return LinkThenUnlink(from, to);
  return error;
}

int PosixFileWriter::Remove(const std::string& path) {
  return ::unlink(path.c_str()) != 0 ? errno : 0;
}

int PosixFileWriter::FreeBytes(const std::string& folder, uint64_t* bytes) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return errno;
  *bytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return 0;
}

int PosixFileWriter::Inspect(const std::string& path, ExistingFile* info) {
  *info = ExistingFile{};
  std::string name = path;
  for (int hop = 0; hop <= MaxLinkHops; ++hop) {
    struct stat entry {};
    if (::lstat(name.c_str(), &entry) != 0) {
      if (errno != ENOENT) return errno;
      info->finalPath = name;  // a link to a name not yet taken writes that name
      return 0;
    }
    if (!S_ISLNK(entry.st_mode)) {
      info->finalPath = name;
      info->exists = true;
      info->mode = entry.st_mode & 07777;
      info->links = entry.st_nlink;
      // A pipe, a device or a socket is never replaced by a file nor written
      // into: an open could block, a device could act on what it gets.
      if (S_ISDIR(entry.st_mode)) return EISDIR;
      return S_ISREG(entry.st_mode) ? 0 : NotRegularFileError;
    }
    std::string target(static_cast<std::size_t>(entry.st_size > 0 ? entry.st_size : PATH_MAX), '\0');
    const ssize_t n = ::readlink(name.c_str(), target.data(), target.size());
    if (n < 0) return errno;
    target.resize(static_cast<std::size_t>(n));
    if (target.empty()) return ENOENT;
    if (target.front() != '/') {
      const std::size_t slash = name.rfind('/');
      if (slash != std::string::npos) target = name.substr(0, slash + 1) + target;
    }
    name = target;
  }
  return ELOOP;
}

int PosixFileWriter::SetMode(int fd, unsigned mode) {
  return ::fchmod(fd, static_cast<mode_t>(mode)) != 0 ? errno : 0;
}

int PosixFileWriter::OverwriteWith(const std::string& from, const std::string& to, bool* touched) {
  *touched = false;
  const int in = OpenRetrying(from, O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  // Non-blocking, should the name have become a pipe since it was inspected.
  const int out = OpenRetrying(to, O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  int error = 0;
  struct stat info {};
  if (out < 0 || ::fstat(out, &info) != 0) {
    error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    error = NotRegularFileError;
  } else if (::ftruncate(out, 0) != 0) {
    error = errno;
  }
  if (error != 0) {
    if (out >= 0) ::close(out);
    ::close(in);
    return error;
  }
  *touched = true;
  error = CopyFileBytes(in, out);
  if (error == 0 && ::fsync(out) != 0) error = errno;
  if (::close(out) != 0 && error == 0) error = errno;
  ::close(in);
  return error;
}

int PosixFileReader::Open(const std::string& path, int* fd) {
  // A device is refused before it is opened: opening one may already act.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if (!S_ISREG(info.st_mode)) return NotRegularFileError;
  // Non-blocking, so that a name that became a pipe without a writer cannot
  // hold the open; kept so that a read never waits either (a regular file
  // whose reads would wait for data fails with EAGAIN instead).
  *fd = OpenRetrying(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (*fd < 0) return errno;
  int error = 0;
  if (::fstat(*fd, &info) != 0) {
    error = errno;
  } else if (S_ISDIR(info.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(info.st_mode)) {
    error = NotRegularFileError;
  }
  if (error != 0) {
    ::close(*fd);
    *fd = -1;
  }
  return error;
}

int64_t PosixFileReader::Read(int fd, void* buffer, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, size);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

int64_t PosixFileReader::Size(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return info.st_size;
}

void PosixFileReader::Close(int fd) { ::close(fd); }

PosixFileWriter& SystemFileWriter() {
  static PosixFileWriter writer;
  return writer;
}

PosixFileReader& SystemFileReader() {
  static PosixFileReader reader;
  return reader;
}

std::string ErrorText(int error) {
  if (error == NotRegularFileError) return "Not a regular file (a pipe, a device or a socket)";
  char buffer[256];
  // The GNU strerror_r returns the text, which may not be in `buffer`.
  const char* text = ::strerror_r(error, buffer, sizeof buffer);
  return text;
}

}  // namespace trelvan
