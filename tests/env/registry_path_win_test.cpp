// Registry value paths read from the real registry of the Wine prefix, under a scratch key.
#include "env/registry_path_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/scratch_win.h"

namespace {

class RegistryValue : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_scratch.created()); }
  // "HKEY_CURRENT_USER\<scratch>\<rest>"
  std::string PathTo(const std::string& rest) const {
    return "HKEY_CURRENT_USER\\" + m_scratch.subkey() + "\\" + rest;
  }

  ScratchRegistryKey m_scratch;
};

TEST_F(RegistryValue, ReadsTheNamedValueAsText) {
  ASSERT_TRUE(m_scratch.SetText("Company\\Product", "InstallDir", "C:\\Programs\\Zu App"));
  std::string value;
  EXPECT_TRUE(ReadRegistryValue(PathTo("Company\\Product\\InstallDir"), value));
  EXPECT_EQ("C:\\Programs\\Zu App", value);
  EXPECT_TRUE(ReadRegistryValue(PathTo("company\\PRODUCT\\installdir"), value))
      << "subkey and value names ignore case as the registry does";
}

TEST_F(RegistryValue, TrailingBackslashReadsTheDefaultValue) {
  ASSERT_TRUE(m_scratch.SetText("Product", "", "default text"));
  ASSERT_TRUE(m_scratch.SetText("Product", "Named", "named text"));
  std::string value;
  EXPECT_TRUE(ReadRegistryValue(PathTo("Product\\"), value));
  EXPECT_EQ("default text", value);
}

TEST_F(RegistryValue, SingleBackslashReadsAValueDirectlyUnderTheRoot) {
  const std::string name = UniqueScratchName("ZuLauncherTestsValue");
  const std::string text = "under the root";
  ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(HKEY_CURRENT_USER, name.c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>(text.size() + 1)));
  std::string value;
  bool read = ReadRegistryValue("HKEY_CURRENT_USER\\" + name, value);
  ::RegDeleteValueA(HKEY_CURRENT_USER, name.c_str());
  EXPECT_TRUE(read);
  EXPECT_EQ(text, value);
}

TEST_F(RegistryValue, FailuresGiveFalseAndLeaveTheOutputAlone) {
  ASSERT_TRUE(m_scratch.SetText("Product", "InstallDir", "C:\\Zu"));
  ASSERT_TRUE(m_scratch.SetValue("Product", "NoData", REG_SZ, "", 0));
  ASSERT_TRUE(m_scratch.SetText("Product", "EmptyText", ""));
  ASSERT_TRUE(m_scratch.SetValue("Product", "ZeroFirst", REG_BINARY, "\0abc", 4));
  const struct {
    const char* shows;
    std::string path;
  } cases[] = {
      {"root name in other letter case",
       "hkey_current_user\\" + m_scratch.subkey() + "\\Product\\InstallDir"},
      {"root name mixed case",
       "HKEY_Current_User\\" + m_scratch.subkey() + "\\Product\\InstallDir"},
      {"abbreviated root name", "HKCU\\" + m_scratch.subkey() + "\\Product\\InstallDir"},
      {"no backslash at all", "HKEY_CURRENT_USER"},
      {"missing key", PathTo("Missing\\InstallDir")},
      {"missing value", PathTo("Product\\Missing")},
      {"missing default value", PathTo("Product\\")},
      {"value with no data", PathTo("Product\\NoData")},
      {"value holding only a terminating zero", PathTo("Product\\EmptyText")},
      {"binary value starting with a zero", PathTo("Product\\ZeroFirst")},
  };
  for (const auto& c : cases) {
    std::string value = "untouched";
    EXPECT_FALSE(ReadRegistryValue(c.path, value)) << c.shows;
    EXPECT_EQ("untouched", value) << c.shows;
  }
}

TEST_F(RegistryValue, DataWithoutATerminatingZeroEndsWithinTheData) {
  // Written with sizes that leave the zero out; a read past the data would pick up whatever
  // follows in memory.
  ASSERT_TRUE(m_scratch.SetValue("Product", "Binary", REG_BINARY, "abc", 3));
  ASSERT_TRUE(m_scratch.SetValue("Product", "BinaryInner", REG_BINARY, "ab\0cd", 5));
  ASSERT_TRUE(m_scratch.SetValue("Product", "Unterminated", REG_SZ, "C:\\Zu", 5));
  ASSERT_TRUE(m_scratch.SetValue("Product", "OneByte", REG_BINARY, "Z", 1));
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"Binary", "abc"},
      {"BinaryInner", "ab"},
      {"Unterminated", "C:\\Zu"},
      {"OneByte", "Z"},
  };
  for (const auto& c : cases) {
    std::string value;
    EXPECT_TRUE(ReadRegistryValue(PathTo(std::string("Product\\") + c.name), value)) << c.name;
    EXPECT_EQ(c.expected, value) << c.name;
  }
}

TEST_F(RegistryValue, OtherTypesAreTakenAsTextToo) {
  const DWORD number = 0x00003231;  // little-endian bytes "12\0\0"
  ASSERT_TRUE(m_scratch.SetValue("Product", "Number", REG_DWORD, &number, sizeof number));
  ASSERT_TRUE(m_scratch.SetValue("Product", "Expand", REG_EXPAND_SZ, "%TEMP%\\zu", 10));
  std::string value;
  EXPECT_TRUE(ReadRegistryValue(PathTo("Product\\Number"), value));
  EXPECT_EQ("12", value);
  ASSERT_TRUE(m_scratch.SetValue("Product", "Plain", REG_SZ, "%TEMP%\\zu", 10));
  EXPECT_TRUE(ReadRegistryValue(PathTo("Product\\Plain"), value));
  EXPECT_EQ("%TEMP%\\zu", value) << "REG_SZ is taken as it stands";
}

TEST_F(RegistryValue, RootNamesAndKeysByTheirParts) {
  ASSERT_TRUE(m_scratch.SetText("Product", "InstallDir", "C:\\Zu"));
  std::string value;
  EXPECT_TRUE(
      OpenRootKeyValue("HKEY_CURRENT_USER", m_scratch.subkey() + "\\Product", "InstallDir", value));
  EXPECT_EQ("C:\\Zu", value);
  EXPECT_FALSE(OpenRootKeyValue("HKEY_CURRENT_USERS", m_scratch.subkey() + "\\Product",
                                "InstallDir", value));
  value.clear();
  EXPECT_TRUE(ReadKeyValue(m_scratch.key(), "Product", "InstallDir", value));
  EXPECT_EQ("C:\\Zu", value) << "any open key serves as the root";
  // HKEY_USERS\.DEFAULT exists in every prefix; the lookup reaches the other roots too.
  EXPECT_FALSE(
      OpenRootKeyValue("HKEY_USERS", ".DEFAULT\\Software\\ZuLauncherTests\\Missing", "X", value));
}

class RegistryValueCp932 : public RegistryValue {};

TEST_F(RegistryValueCp932, TrailByteBackslashesStayInsideTheirNames) {
  ASSERT_EQ(932u, ::GetACP()) << "run with LC_ALL=ja_JP.UTF-8";
  // "\x95\x5c" is one character whose trail byte equals a backslash.
  ASSERT_TRUE(m_scratch.SetText("\x95\x5c", "\x95\x5c", "C:\\\x95\x5c"));
  std::string value;
  EXPECT_TRUE(ReadRegistryValue(PathTo("\x95\x5c\\\x95\x5c"), value));
  EXPECT_EQ("C:\\\x95\x5c", value);
}

}  // namespace
