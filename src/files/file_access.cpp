#include "files/file_access.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace trelvan {

namespace {

int LinkThenUnlink(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

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

int PosixFileReader::Open(const std::string& path, int* fd) {
  do {
    *fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (*fd < 0 && errno == EINTR);
  if (*fd < 0) return errno;
  struct stat info {};
  if (::fstat(*fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(*fd);
    *fd = -1;
    return EISDIR;
  }
  return 0;
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
  char buffer[256];
  // The GNU strerror_r returns the text, which may not be in `buffer`.
  const char* text = ::strerror_r(error, buffer, sizeof buffer);
  return text;
}

}  // namespace trelvan
