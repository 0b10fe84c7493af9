#pragma once
// The file operations the sample files need, over POSIX file descriptors.
// Every operation reports an errno value (0 for success), so that tests can
// inject a file system that refuses, fails or writes short.

#include <cstddef>
#include <cstdint>
#include <string>

namespace trelvan {

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Creates a new file for writing; fails with EEXIST when the name is taken.
  virtual int CreateNew(const std::string& path, int* fd) = 0;
  // Bytes written (possibly fewer than `size`), or -errno.
  virtual int64_t Write(int fd, const void* data, std::size_t size) = 0;
  virtual int Sync(int fd) = 0;
  virtual int Close(int fd) = 0;
  // Gives `from` the name `to`; without `replace` an existing `to` is kept
  // and EEXIST reported.
  virtual int Rename(const std::string& from, const std::string& to, bool replace) = 0;
  virtual int Remove(const std::string& path) = 0;
  // Bytes an unprivileged user may still write in `folder`.
  virtual int FreeBytes(const std::string& folder, uint64_t* bytes) = 0;
};

class FileReader {
 public:
  virtual ~FileReader() = default;
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
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to, bool replace) override;
  int Remove(const std::string& path) override;
  int FreeBytes(const std::string& folder, uint64_t* bytes) override;
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

// The text of an errno value.
std::string ErrorText(int error);

}  // namespace trelvan
