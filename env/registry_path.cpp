#include "env/registry_path.h"

#include <cstring>
#include <iterator>

#include "common/text.h"

bool SplitRegistryValuePath(const std::string& path, RegistryValuePath& parts) {
  size_t first = FindChar(path, '\\');
  if (first == std::string::npos) return false;
  size_t last = ReverseFindChar(path, '\\');
  parts.rootName = path.substr(0, first);
  parts.subkey = last > first ? path.substr(first + 1, last - first - 1) : std::string();
  parts.valueName = path.substr(last + 1);
  return true;
}

namespace {

struct RootName {
  const char* name;
  RegistryRoot root;
};

const RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", RegistryRoot::DynData},
};
static_assert(std::size(kRootNames) == static_cast<size_t>(RegistryRoot::DynData) + 1,
              "one name for every predefined root");

}  // namespace

bool FindRegistryRoot(const std::string& rootName, RegistryRoot& root) {
  for (const RootName& entry : kRootNames) {
    if (rootName == entry.name) {
      root = entry.root;
      return true;
    }
  }
  return false;
}

std::string RegistryDataToText(const unsigned char* data, size_t size) {
  if (!data || size == 0) return std::string();
  const void* zero = std::memchr(data, 0, size);
  size_t length = zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - data) : size;
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::vector<RegistryView> RegistryViewsToRead(RegistryRoot root, const std::string& subkey,
                                              bool program64) {
  const RegistryView other = program64 ? RegistryView::Bits32 : RegistryView::Bits64;
  if (root == RegistryRoot::ClassesRoot) return {RegistryView::Own, other};
  if (root != RegistryRoot::LocalMachine) return {RegistryView::Own};
  const size_t separator = FindChar(subkey, '\\');
  const std::string first = separator == std::string::npos ? subkey : subkey.substr(0, separator);
  if (EqualsNoCase(first, "Software")) return {RegistryView::Own, other};
  return {RegistryView::Own};
}
