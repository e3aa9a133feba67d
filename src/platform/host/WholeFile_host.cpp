#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/TextUtf.h"

namespace vespera {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

WholeFile Failure(int error) {
  WholeFile file;
  file.error = Utf8ToUtf16(std::strerror(error));
  return file;
}

}  // namespace

WholeFile ReadWholeFile(const std::u16string& path, uint64_t maxBytes) {
  const std::filesystem::path native(path);
  const FileDescriptor fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) return Failure(errno);
  if (S_ISDIR(info.st_mode)) return Failure(EISDIR);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) return Failure(EFBIG);

  // Appending from a small buffer writes the new memory once, where reading
  // into a resized string would first fill it with zeros.
  WholeFile file;
  file.bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[64 * 1024];
  while (file.bytes.size() <= maxBytes) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failure(errno);
    if (got == 0) break;
    file.bytes.append(buffer, static_cast<size_t>(got));
  }
  if (file.bytes.size() > maxBytes) return Failure(EFBIG);  // it grew while being read
  file.read = true;
  return file;
}

}  // namespace vespera
