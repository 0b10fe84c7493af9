#pragma once
// The file operations the sample files need, over POSIX file descriptors.
// Every operation reports an errno value (0 for success), so that tests can
// inject a file system that refuses, fails or writes short.

#include <cstddef>
#include <cstdint>
#include <string>

namespace trelvan {

// Reported for a name that is no regular file (a pipe, a device, a socket):
// reading or writing it could block, never end or make a device act.
constexpr int NotRegularFileError = 0x10000;

// What a name refers to once its symbolic links are followed.
struct ExistingFile {
  std::string finalPath;  // the name that holds (or would hold) the file
  bool exists = false;
  unsigned mode = 0;      // permission bits of the existing file
  uint64_t links = 0;     // hard links of the existing file
};

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Creates a new file for writing; fails with EEXIST when the name is taken.
  virtual int CreateNew(const std::string& path, int* fd) = 0;
  // Bytes written (possibly fewer than `size`), or -errno.
  virtual int64_t Write(int fd, const void* data, std::size_t size) = 0;
  virtual int Sync(int fd) = 0;
  // Starts writing the range to the disk (`wait`: and waits until it is),
  // so that a long file's final flush finds little left. Only a hint.
  virtual void WriteBack(int /*fd*/, uint64_t /*offset*/, uint64_t /*bytes*/, bool /*wait*/) {}
  virtual int Close(int fd) = 0;
  // Gives `from` the name `to`; without `replace` an existing `to` is kept
  // and EEXIST reported.
  virtual int Rename(const std::string& from, const std::string& to, bool replace) = 0;
  virtual int Remove(const std::string& path) = 0;
  // Bytes an unprivileged user may still write in `folder`.
  virtual int FreeBytes(const std::string& folder, uint64_t* bytes) = 0;
  // Follows the symbolic links of `path` to its final name and tells what
  // is there; a final name that is no regular file is refused
  // (NotRegularFileError, a folder EISDIR).
  virtual int Inspect(const std::string& path, ExistingFile* info) = 0;
  // Gives an open file the permission bits `mode`.
  virtual int SetMode(int fd, unsigned mode) = 0;
  // Writes the bytes of the file `from` over the existing regular file `to`
  // (same inode, so its other hard links see them) and flushes them to the
  // disk. `touched` tells whether `to` was cut short before a failure.
  virtual int OverwriteWith(const std::string& from, const std::string& to, bool* touched) = 0;
};

class FileReader {
 public:
  virtual ~FileReader() = default;
  // Opens a regular file for reading without ever blocking; anything else
  // is refused with NotRegularFileError (a folder with EISDIR).
  virtual int Open(const std::string& path, int* fd) = 0;
  // Bytes read (0 at the end of the file), or -errno.
  virtual int64_t Read(int fd, void* buffer, std::size_t size) = 0;
  // The file's size in bytes, or -1 when it is not known.
  virtual int64_t Size(int fd) = 0;
  virtual void Close(int fd) = 0;
};

class PosixFileWriter : public FileWriter {
 public:
  int CreateNew(const std::string& path, int* fd) override;
  int64_t Write(int fd, const void* data, std::size_t size) override;
  int Sync(int fd) override;
  void WriteBack(int fd, uint64_t offset, uint64_t bytes, bool wait) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to, bool replace) override;
  int Remove(const std::string& path) override;
  int FreeBytes(const std::string& folder, uint64_t* bytes) override;
  int Inspect(const std::string& path, ExistingFile* info) override;
  int SetMode(int fd, unsigned mode) override;
  int OverwriteWith(const std::string& from, const std::string& to, bool* touched) override;
};

class PosixFileReader : public FileReader {
 public:
  int Open(const std::string& path, int* fd) override;
  int64_t Read(int fd, void* buffer, std::size_t size) override;
  int64_t Size(int fd) override;
  void Close(int fd) override;
};

// The shared instances the program uses.
PosixFileWriter& SystemFileWriter();
PosixFileReader& SystemFileReader();

// The text of an errno value (or of NotRegularFileError).
std::string ErrorText(int error);

// Moves `from` to the free name `to` by a hard link and an unlink, so that an
// existing `to` is never replaced (EEXIST): for file systems whose rename
// cannot refuse to replace.
int LinkThenUnlink(const std::string& from, const std::string& to);

}  // namespace trelvan
