// Registry value paths taken apart, root names, and registry data taken as text.
#include "env/registry_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/code_page_scope.h"

namespace {

struct SplitCase {
  const char* shows;
  const char* path;
  const char* root;
  const char* subkey;
  const char* valueName;
};

TEST(SplitRegistryValuePath, FirstAndLastBackslashSeparateTheParts) {
  const SplitCase cases[] = {
      {"root, subkey, value", "HKEY_CURRENT_USER\\Software\\Company\\Product\\InstallDir",
       "HKEY_CURRENT_USER", "Software\\Company\\Product", "InstallDir"},
      {"single backslash: value directly under the root", "HKEY_LOCAL_MACHINE\\InstallDir",
       "HKEY_LOCAL_MACHINE", "", "InstallDir"},
      {"trailing backslash: default value", "HKEY_CURRENT_USER\\Software\\Company\\",
       "HKEY_CURRENT_USER", "Software\\Company", ""},
      {"root and one backslash", "HKEY_USERS\\", "HKEY_USERS", "", ""},
      {"leading backslash: empty root", "\\Software\\Value", "", "Software", "Value"},
      {"doubled backslash: empty subkey", "HKEY_USERS\\\\Value", "HKEY_USERS", "", "Value"},
      {"spaces are kept", "HKEY_CURRENT_USER\\Soft ware\\Install Dir", "HKEY_CURRENT_USER",
       "Soft ware", "Install Dir"},
  };
  for (const SplitCase& c : cases) {
    RegistryValuePath parts;
    ASSERT_TRUE(SplitRegistryValuePath(c.path, parts)) << c.shows;
    EXPECT_EQ(c.root, parts.rootName) << c.shows;
    EXPECT_EQ(c.subkey, parts.subkey) << c.shows;
    EXPECT_EQ(c.valueName, parts.valueName) << c.shows;
  }
}

TEST(SplitRegistryValuePath, NoBackslashIsRefusedAndLeavesThePartsAlone) {
  for (const char* path : {"", "HKEY_CURRENT_USER", "HKEY_CURRENT_USER/Software/Value"}) {
    RegistryValuePath parts{"root", "subkey", "value"};
    EXPECT_FALSE(SplitRegistryValuePath(path, parts)) << path;
    EXPECT_EQ("root", parts.rootName);
    EXPECT_EQ("subkey", parts.subkey);
    EXPECT_EQ("value", parts.valueName);
  }
}

TEST(SplitRegistryValuePathCp932, TrailBytesAreNotSeparators) {
  CodePageScope scope(932);
  // "\x95\x5c" is one character; its second byte equals a backslash.
  RegistryValuePath parts;
  ASSERT_TRUE(SplitRegistryValuePath("HKEY_CURRENT_USER\\Software\\\x95\x5c\\\x95\x5c", parts));
  EXPECT_EQ("HKEY_CURRENT_USER", parts.rootName);
  EXPECT_EQ("Software\\\x95\x5c", parts.subkey);
  EXPECT_EQ("\x95\x5c", parts.valueName);

  RegistryValuePath none{"r", "s", "v"};
  EXPECT_FALSE(SplitRegistryValuePath("\x95\x5c\x95\x5c", none)) << "only trail bytes";
  EXPECT_EQ("r", none.rootName);
}

TEST(FindRegistryRoot, ExactNamesOnly) {
  const struct {
    const char* name;
    RegistryRoot root;
  } known[] = {
      {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
      {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
      {"HKEY_USERS", RegistryRoot::Users},
      {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
      {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
      {"HKEY_DYN_DATA", RegistryRoot::DynData},
  };
  for (const auto& entry : known) {
    RegistryRoot root =
        RegistryRoot::DynData == entry.root ? RegistryRoot::ClassesRoot : RegistryRoot::DynData;
    EXPECT_TRUE(FindRegistryRoot(entry.name, root)) << entry.name;
    EXPECT_EQ(entry.root, root) << entry.name;
  }
  for (const char* name : {"hkey_local_machine", "HKEY_Local_Machine", "HKLM", "HKCU", "",
                           "HKEY_LOCAL_MACHINE ", " HKEY_LOCAL_MACHINE"}) {
    RegistryRoot root = RegistryRoot::Users;
    EXPECT_FALSE(FindRegistryRoot(name, root)) << "'" << name << "'";
    EXPECT_EQ(RegistryRoot::Users, root) << "untouched on failure";
  }
}

TEST(RegistryDataToText, EndsAtTheFirstZeroOrAtTheEndOfTheData) {
  const struct {
    const char* shows;
    std::vector<unsigned char> data;
    std::string expected;
  } cases[] = {
      {"terminated string", {'a', 'b', 'c', 0}, "abc"},
      {"no terminating zero: all bytes", {'a', 'b', 'c'}, "abc"},
      {"zero inside binary data", {'a', 'b', 0, 'c', 'd'}, "ab"},
      {"zero first", {0, 'x'}, ""},
      {"multi-string: first string", {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}, "one"},
      {"high bytes kept", {0xB4, 0xEB, 0xBB, 0xF3}, "\xB4\xEB\xBB\xF3"},
      {"double-byte character cut in half stays cut", {'a', 0x95}, "a\x95"},
  };
  for (const auto& c : cases) {
    // Each buffer holds exactly the data, so the sanitizers catch any read past its end.
    std::vector<unsigned char> exact(c.data);
    EXPECT_EQ(c.expected, RegistryDataToText(exact.data(), exact.size())) << c.shows;
  }
  EXPECT_EQ("", RegistryDataToText(nullptr, 0));
  unsigned char one = 'x';
  EXPECT_EQ("", RegistryDataToText(&one, 0)) << "size zero reads nothing";
}

// Own view first; the other architecture's only where 64-bit Windows keeps two.
TEST(RegistryViewsToRead, OtherArchitecturesViewOnlyForMachineSoftwareAndClasses) {
  using V = RegistryView;
  using R = RegistryRoot;
  const struct {
    const char* shows;
    R root;
    const char* subkey;
    bool program64;
    std::vector<V> expected;
  } cases[] = {
      {"HKLM\\Software, 32-bit", R::LocalMachine, "Software\\Co\\App", false, {V::Own, V::Bits64}},
      {"HKLM\\Software, 64-bit", R::LocalMachine, "Software\\Co\\App", true, {V::Own, V::Bits32}},
      {"letter case of Software aside", R::LocalMachine, "SOFTWARE\\Co", true, {V::Own, V::Bits32}},
      {"a value directly in Software", R::LocalMachine, "Software", false, {V::Own, V::Bits64}},
      {"all of HKCR", R::ClassesRoot, "MyApp.Document\\shell", false, {V::Own, V::Bits64}},
      {"HKCR's own values", R::ClassesRoot, "", true, {V::Own, V::Bits32}},
      {"HKLM\\System: one for both", R::LocalMachine, "System\\CurrentControlSet", false, {V::Own}},
      {"a name that only begins with Software", R::LocalMachine, "Softwares\\Co", false, {V::Own}},
      {"a value directly under HKLM", R::LocalMachine, "", true, {V::Own}},
      {"HKCU\\Software: the user's, one", R::CurrentUser, "Software\\Co", false, {V::Own}},
      {"HKEY_USERS", R::Users, ".DEFAULT\\Software\\Co", true, {V::Own}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, RegistryViewsToRead(c.root, c.subkey, c.program64)) << c.shows;
}

}  // namespace
