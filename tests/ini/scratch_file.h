// A file with given bytes in the temporary directory, removed again when the test ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& bytes) {
    std::random_device random;
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = std::filesystem::temp_directory_path() /
             ("zu_ini_" + std::to_string(random()) + "_" + std::to_string(ticks) + ".ini");
    std::ofstream out(m_path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  std::string Path() const { return m_path.string(); }

 private:
  std::filesystem::path m_path;
};
