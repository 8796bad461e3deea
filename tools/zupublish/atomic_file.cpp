#include "tools/zupublish/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string Describe(const std::string& path, const char* what) {
  return path + ": " + what + ": " + std::strerror(errno);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool WriteAll(int descriptor, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<size_t>(count);
  }
  return ::fsync(descriptor) == 0;
}

// A temporary file beside `path` (same file system, so a rename or link is atomic), written
// and flushed to disk. On failure nothing is left behind.
bool WriteTemporary(const std::string& path, const std::string& bytes, mode_t mode,
                    std::string& temporary, std::string& error) {
  std::string name = DirectoryOf(path) + ".zupublish-XXXXXX";
  const int descriptor = ::mkstemp(&name[0]);
  if (descriptor < 0) {
    error = Describe(name, "cannot create a temporary file");
    return false;
  }
  // The reason is taken before close(), which may change errno.
  bool written = ::fchmod(descriptor, mode) == 0 && WriteAll(descriptor, bytes);
  if (!written) error = Describe(name, "cannot write");
  if (::close(descriptor) != 0 && written) {
    error = Describe(name, "cannot write");
    written = false;
  }
  if (!written) {
    ::unlink(name.c_str());
    return false;
  }
  temporary = name;
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  struct stat info;
  if (!file || ::stat(path.c_str(), &info) != 0) {
    error = Describe(path, "cannot open");
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error = path + ": is a directory";
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    error = Describe(path, "cannot read");
    return false;
  }
  bytes = content.str();
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
  struct stat info;
  const mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  std::string temporary;
  if (!WriteTemporary(path, bytes, mode, temporary, error)) return false;
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = Describe(path, "cannot replace");
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool CreateNewPrivateFile(const std::string& path, const std::string& bytes, std::string& error) {
  std::string temporary;
  if (!WriteTemporary(path, bytes, 0600, temporary, error)) return false;
  // link() refuses an existing name, where rename() would replace it.
  const bool linked = ::link(temporary.c_str(), path.c_str()) == 0;
  if (!linked)
    error = errno == EEXIST ? path + ": exists already; not overwritten"
                            : Describe(path, "cannot create");
  ::unlink(temporary.c_str());
  return linked;
}
