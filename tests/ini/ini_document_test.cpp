#include "ini/ini_document.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"
#include "tests/ini/scratch_file.h"

namespace {

using namespace std::string_literals;

std::string Utf16Of(const std::string& ascii) {
  std::string wide;
  for (char byte : ascii) {
    wide += byte;
    wide += '\0';
  }
  return wide;
}

IniDocument& Loaded(IniDocument& document, const std::string& bytes) {
  document.LoadBuffer(bytes.data(), bytes.size());
  return document;
}

// Every section with its entries: "name{key=value,key=value}".
std::string Describe(const IniDocument& document) {
  std::string description;
  for (const IniSection& section : document.Sections()) {
    description += section.name + "{";
    bool first = true;
    for (const IniEntry& entry : section.entries) {
      if (!first) description += ",";
      description += entry.key + "=" + entry.value;
      first = false;
    }
    description += "}";
  }
  return description;
}

TEST(IniDocument, CollectsSectionsAndEntries) {
  struct Case {
    const char* what;
    std::string text;
    const char* sections;
  };
  const Case cases[] = {
      {"launcher INI", "[GENERAL]\r\nVERSION_FILE_URL=http://host/ver.ini\r\n",
       "GENERAL{VERSION_FILE_URL=http://host/ver.ini}"},
      {"keys before the first header are dropped", "a=1\n[s]\nb=2", "s{b=2}"},
      {"header name is trimmed", "[ GENERAL ]\nk=v", "GENERAL{k=v}"},
      {"[] drops keys up to the next header", "[s]\na=1\n[]\nb=2\n[t]\nc=3", "s{a=1}t{c=3}"},
      {"a header with a comment is no header", "[s]\n[GENERAL] ; main\nk=v", "s{k=v}"},
      {"repeated header adds to the first", "[GENERAL]\na=1\n[x]\n[general]\nb=2",
       "GENERAL{a=1,b=2}x{}"},
      {"repeated keys are all kept", "[s]\nA=1\na=2\nA=3", "s{A=1,a=2,A=3}"},
      {"comments, other lines and empty lines", "[s]\n; c=1\n\nwords\n# x = 1\n[a]=b",
       "s{# x=1,[a]=b}"},
      {"text ends at the first NUL", std::string("[s]\na=1\0b=2", 11), "s{a=1}"},
      {"UTF-8 mark without conversion stays narrow", "\xef\xbb\xbf[s]\nk=\xff", "s{k=\xff}"},
  };
  for (const Case& c : cases) {
    IniDocument document;
    EXPECT_EQ(c.sections, Describe(Loaded(document, c.text))) << c.what;
  }
}

TEST(IniDocument, GetValueIgnoresCase) {
  IniDocument document;
  Loaded(document,
         "[GENERAL]\nVERSION_FILE_URL=first\nA=1\na=2\nEmpty=\n[general]\nvalue_2=two\n"
         "[Other]\nVERSION_FILE_URL=other\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"General", "version_file_url", "first"},
      {"GENERAL", "value_2", "two"},
      {"general", "a", "1"},
      {"GENERAL", "Empty", ""},
      {"other", "VERSION_FILE_URL", "other"},
      {"GENERAL", "missing", "fallback"},
      {"missing", "A", "fallback"},
      {"", "", "fallback"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value, document.GetValue(c.section, c.key, "fallback"))
        << c.section << "/" << c.key;
  }
  EXPECT_EQ("", document.GetValue("missing", "x", nullptr));
  document.Clear();
  EXPECT_EQ(0u, document.Sections().Size());
  EXPECT_EQ("fallback", document.GetValue("GENERAL", "A", "fallback"));
}

TEST(IniDocument, Utf16WithMarkReadsLikeNarrowText) {
  const std::string narrow = "[GENERAL]\r\nVERSION_FILE_URL = http://host/v.ini\r\n";
  std::string wide = "\xff\xfe" + Utf16Of(narrow);
  IniDocument fromNarrow;
  IniDocument fromWide;
  EXPECT_EQ(Describe(Loaded(fromNarrow, narrow)), Describe(Loaded(fromWide, wide)));
  EXPECT_EQ("http://host/v.ini", fromWide.GetValue("GENERAL", "VERSION_FILE_URL", ""));

  // Odd length: the last half unit reads as a character whose high byte is 0.
  std::string odd = wide + Utf16Of("[s]\nk=") + "v";
  EXPECT_EQ("GENERAL{VERSION_FILE_URL=http://host/v.ini}s{k=v}", Describe(Loaded(fromWide, odd)));
  // The text ends at the first NUL unit.
  std::string cut = "\xff\xfe[\0s\0]\0\n\0a\0=\0\x31\0\0\0b\0=\0\x32\0"s;
  EXPECT_EQ("s{a=1}", Describe(Loaded(fromWide, cut)));
  // A surrogate without its partner becomes '?', as the system conversion makes it; the rest
  // of the file stays (one stray unit must not empty the launcher INI).
  std::string broken = wide + Utf16Of("[s]\nk=") + "\x00\xd8"s + Utf16Of("x\nm=") + "\x00\xdc"s;
  EXPECT_EQ("GENERAL{VERSION_FILE_URL=http://host/v.ini}s{k=?x,m=?}",
            Describe(Loaded(fromWide, broken)));
}

TEST(IniDocument, ShortInputIsEmpty) {
  IniDocument document;
  EXPECT_EQ("", Describe(Loaded(document, "")));
  EXPECT_EQ("", Describe(Loaded(document, "x")));
  EXPECT_EQ("", Describe(Loaded(document, "\xff\xfe")));
  document.LoadBuffer(nullptr, 10);
  EXPECT_EQ(0u, document.Sections().Size());
}

TEST(IniDocumentFile, SizeCapIsExactlyOneMillionBytes) {
  std::string text = "[GENERAL]\nVERSION_FILE_URL=http://host/v.ini\n;";
  text.resize(kIniMaxFileBytes, 'x');
  ScratchFile atCap(text);
  IniDocument document;
  ASSERT_TRUE(document.LoadFile(atCap.Path().c_str()));
  EXPECT_EQ("http://host/v.ini", document.GetValue("GENERAL", "VERSION_FILE_URL", ""));

  ScratchFile overCap(text + "x");
  EXPECT_FALSE(document.LoadFile(overCap.Path().c_str()));
  EXPECT_EQ(0u, document.Sections().Size());
}

TEST(IniDocumentFile, LoadReportsWhetherTheFileWasRead) {
  IniDocument document;
  ScratchFile empty("");
  EXPECT_TRUE(document.LoadFile(empty.Path().c_str()));
  EXPECT_EQ(0u, document.Sections().Size());
  ScratchFile oneByte("[");
  EXPECT_TRUE(document.LoadFile(oneByte.Path().c_str()));
  EXPECT_EQ(0u, document.Sections().Size());
  ScratchFile nonsense("\x01\x02 not an INI file at all\n===\n[");
  EXPECT_TRUE(document.LoadFile(nonsense.Path().c_str()));

  ScratchFile good("[s]\nk=v\n");
  ASSERT_TRUE(document.LoadFile(good.Path().c_str()));
  std::string missing = good.Path() + ".missing";
  EXPECT_FALSE(document.LoadFile(missing.c_str()));
  EXPECT_EQ(0u, document.Sections().Size());
  EXPECT_FALSE(document.LoadFile(nullptr));
}

TEST(IniDocumentFile, LauncherIniIsOneProcessWideDocument) {
  ScratchFile launcherIni("[GENERAL]\nVERSION_FILE_URL=http://host/ver.ini\n");
  ASSERT_TRUE(g_launcherIni.LoadFile(launcherIni.Path().c_str()));
  EXPECT_EQ("http://host/ver.ini", g_launcherIni.GetValue("GENERAL", "VERSION_FILE_URL", ""));
  g_launcherIni.Clear();
  EXPECT_EQ("", g_launcherIni.GetValue("GENERAL", "VERSION_FILE_URL", ""));
}

// "한글" and "Привет" in UTF-8, UTF-16LE and their ANSI code pages.
const std::string kKoreanUtf8 = "\xed\x95\x9c\xea\xb8\x80";
const std::string kKoreanUtf16 = "\x5c\xd5\x00\xae"s;
const std::string kKorean949 = "\xc7\xd1\xb1\xdb";
const std::string kRussianUtf8 = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
const std::string kRussian1251 = "\xcf\xf0\xe8\xe2\xe5\xf2";

TEST(IniEncodingsCp949, MarkedTextIsConverted) {
  CodePageScope codePage(949);
  IniDocument document;
  Loaded(document, "\xff\xfe" + Utf16Of("[GENERAL]\r\nNAME=") + kKoreanUtf16 + Utf16Of("\r\n"));
  EXPECT_EQ(kKorean949, document.GetValue("GENERAL", "NAME", ""));

  Loaded(document, "\xef\xbb\xbf[GENERAL]\r\nNAME=" + kKoreanUtf8 + "\r\n");
  EXPECT_EQ(kKorean949, document.GetValue("GENERAL", "NAME", ""));

  // Without a mark the bytes are the code page's own.
  Loaded(document, "[GENERAL]\r\nNAME=" + kKorean949 + "\r\n");
  EXPECT_EQ(kKorean949, document.GetValue("GENERAL", "NAME", ""));

  // Not UTF-8 after the mark after all: read as it stands.
  Loaded(document, "\xef\xbb\xbf[GENERAL]\r\nNAME=" + kKorean949 + "\r\n");
  EXPECT_EQ(kKorean949, document.GetValue("GENERAL", "NAME", ""));
}

TEST(IniEncodingsCp949, FileWithUtf8MarkKeepsItsFirstHeader) {
  CodePageScope codePage(949);
  ScratchFile file("\xef\xbb\xbf[GENERAL]\nVERSION_FILE_URL=http://host/" + kKoreanUtf8 + "\n");
  IniDocument document;
  ASSERT_TRUE(document.LoadFile(file.Path().c_str()));
  EXPECT_EQ("http://host/" + kKorean949, document.GetValue("GENERAL", "VERSION_FILE_URL", ""));
}

TEST(IniEncodingsCp1251, MarkedTextIsConverted) {
  CodePageScope codePage(1251);
  IniDocument document;
  std::string russianUtf16 = "\x1f\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04";
  Loaded(document, "\xff\xfe" + Utf16Of("[s]\nk=") + russianUtf16);
  EXPECT_EQ(kRussian1251, document.GetValue("s", "k", ""));
  Loaded(document, "\xef\xbb\xbf[s]\nk=" + kRussianUtf8);
  EXPECT_EQ(kRussian1251, document.GetValue("s", "k", ""));
  Loaded(document, "\xef\xbb\xbf[s]\nk=" + kKoreanUtf8);
  EXPECT_EQ("??", document.GetValue("s", "k", ""));
}

}  // namespace
