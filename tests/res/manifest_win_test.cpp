// The manifests embedded in ZuLauncher.exe and in this test program (the same resource script)
// name the architecture they were built for: Windows binds side-by-side assemblies by it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "env/directories_win.h"

namespace {

constexpr const char* kOwnArchitecture = sizeof(void*) == 8 ? "amd64" : "x86";

// The text of RT_MANIFEST resource `id` of `module`; empty when there is none.
std::string ManifestOf(HMODULE module, int id) {
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(24));
  if (!found) return std::string();
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  return bytes ? std::string(static_cast<const char*>(bytes), ::SizeofResource(module, found))
               : std::string();
}

// Every processorArchitecture value, in order.
std::vector<std::string> Architectures(const std::string& manifest) {
  std::vector<std::string> values;
  const std::string attribute = "processorArchitecture=\"";
  for (size_t at = manifest.find(attribute); at != std::string::npos;
       at = manifest.find(attribute, at + 1)) {
    const size_t begin = at + attribute.size();
    values.push_back(manifest.substr(begin, manifest.find('"', begin) - begin));
  }
  return values;
}

TEST(Manifest, EveryManifestNamesTheBuildsArchitecture) {
  const std::string launcherPath = GetModuleDir() + "ZuLauncher.exe";
  HMODULE launcher = ::LoadLibraryExA(launcherPath.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, launcher) << launcherPath;
  for (HMODULE module : {launcher, ::GetModuleHandleA(nullptr)}) {
    SCOPED_TRACE(module == launcher ? "ZuLauncher.exe" : "this test program");
    // 1: the process manifest, its own identity only. 2: the common controls around dialogs:
    // its own identity, then the dependency, for which "*" is the documented form.
    const std::vector<std::string> process = Architectures(ManifestOf(module, 1));
    const std::vector<std::string> controls = Architectures(ManifestOf(module, 2));
    EXPECT_EQ(std::vector<std::string>({kOwnArchitecture}), process);
    EXPECT_EQ(std::vector<std::string>({kOwnArchitecture, "*"}), controls);
  }
  ::FreeLibrary(launcher);
}

}  // namespace
