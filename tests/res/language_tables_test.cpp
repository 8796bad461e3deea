// The carried languages as data: every language holds every id once, keeps the conversions
// of the string table's texts, converts into its users' code page without loss; the Russian
// file is the string table; and LANGUAGE chooses as documented.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "common/codepage.h"
#include "res/language_table.h"
#include "res/text_language.h"

namespace {

std::set<int> EveryId() {
  std::set<int> ids;
  for (const NamedTextId& row : kNamedTextIds) ids.insert(TextNumber(row.id));
  for (const NamedTextId& row : kNamedInterfaceTextIds) ids.insert(TextNumber(row.id));
  return ids;
}

// The printf conversions of a text, in order ("%s", "%d"), "%%" included.
std::string Conversions(const std::string& text) {
  std::string found;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 2))
    found += text.substr(at, 2);
  return found;
}

std::map<int, std::string> StringTableUtf8() {
  std::map<int, std::string> texts;
  std::ifstream in(ZU_SOURCE_DIR "/res/strings.rc");
  const std::regex row(R"re(^\s+(\d+), "(.*)"\s*$)re");
  std::smatch match;
  for (std::string line; std::getline(in, line);)
    if (std::regex_match(line, match, row)) texts[std::stoi(match[1])] = match[2];
  return texts;
}

class CodePageScope {
 public:
  explicit CodePageScope(unsigned codePage) : m_saved(ActiveCodePage()) {
    SetActiveCodePage(codePage);
  }
  ~CodePageScope() {
    SetActiveCodePage(m_saved);
    StopUsingTextLanguage();
  }

 private:
  unsigned m_saved;
};

TEST(LanguageTables, EveryLanguageHoldsEveryIdOnceWithTheTablesConversions) {
  const std::map<int, std::string> table = StringTableUtf8();
  ASSERT_FALSE(table.empty()) << "res/strings.rc not read";
  const std::set<int> wanted = EveryId();
  for (size_t i = 0; i < kCarriedLanguageCount; ++i) {
    const LanguageTable& language = *kCarriedLanguages[i];
    SCOPED_TRACE(language.tag);
    std::set<int> held;
    for (size_t t = 0; t < language.count; ++t) {
      const int id = TextNumber(language.texts[t].id);
      EXPECT_TRUE(held.insert(id).second) << "id " << id << " twice";
      const std::string text = language.texts[t].utf8;
      EXPECT_FALSE(text.empty()) << "id " << id;
      EXPECT_LT(text.size(), 1024u) << "id " << id << " does not fit LoadText's buffer";
      // A format with another conversion than the string table's would read a wrong argument.
      const std::string original = table.count(id) ? table.at(id) : "";
      EXPECT_EQ(Conversions(original), Conversions(text)) << "id " << id << ": " << text;
    }
    EXPECT_EQ(wanted, held);
  }
}

TEST(LanguageTables, RussianIsTheStringTableAndTheDialogResource) {
  const std::map<int, std::string> table = StringTableUtf8();
  const LanguageTable* russian = FindLanguageByTag("ru");
  ASSERT_NE(nullptr, russian);
  for (const auto& [id, text] : table)
    EXPECT_EQ(text, FindLanguageText(*russian, static_cast<TextId>(id))) << "id " << id;
  EXPECT_STREQ("Загрузка инсталляционного файла.",
               FindLanguageText(*russian, TextId::DownloadDialogTitle));
  EXPECT_STREQ("Отмена", FindLanguageText(*russian, TextId::DownloadDialogCancel));
}

TEST(LanguageTables, EachConvertsToItsCodePageWithoutLoss) {
  for (size_t i = 0; i < kCarriedLanguageCount; ++i) {
    const LanguageTable& language = *kCarriedLanguages[i];
    SCOPED_TRACE(language.tag);
    CodePageScope codePage(language.ansiCodePage);
    TextId lost = TextId::None;
    EXPECT_TRUE(UseTextLanguage(language, lost)) << "text " << TextNumber(lost);
    ASSERT_EQ(&language, TextLanguageInUse());
    std::string back;
    ASSERT_NE(nullptr, TextInUse(TextId::YesCaption));
    ASSERT_TRUE(AnsiToUtf8(*TextInUse(TextId::YesCaption), back));
    EXPECT_EQ(FindLanguageText(language, TextId::YesCaption), back);
  }
}

TEST(LanguageTables, ATableTheCodePageCannotShowIsRefusedAndChangesNothing) {
  struct Row {
    const char* tag;
    unsigned codePage;
  };
  const Row rows[] = {
      {"ru", 1252},  // Cyrillic: '?' for every letter
      {"pl", 1252},  // best fit: 'ł' would become 'l'
      {"ja", 949},   // kana are in 949, but not every kanji
      {"ko", 932},  {"zh", 1251},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    CodePageScope codePage(row.codePage);
    TextId lost = TextId::None;
    ASSERT_TRUE(UseTextLanguage(EnglishLanguage(), lost));
    EXPECT_FALSE(UseTextLanguage(*FindLanguageByTag(row.tag), lost));
    EXPECT_NE(TextId::None, lost);
    EXPECT_EQ(&EnglishLanguage(), TextLanguageInUse());
    EXPECT_EQ("&Yes", *TextInUse(TextId::YesCaption));
  }
}

TEST(LanguageChoiceTable, TheSettingAndTheUserLanguageChoose) {
  struct Row {
    const char* setting;
    unsigned short uiLanguage;
    const char* tag;  // null: the string table
    bool unknown;
  };
  const Row rows[] = {
      {"", 0x0407, nullptr, false},     // absent: the string table, whatever the user's
      {" \t", 0x0407, nullptr, false},  // blank counts as absent
      {"auto", 0x0407, "de", false},    // de-DE
      {"AUTO", 0x0C07, "de", false},    // de-AT: the primary language decides
      {"auto", 0x0409, "en", false},
      {"auto", 0x0419, "ru", false},
      {"auto", 0x0422, "uk", false},
      {"auto", 0x0412, "ko", false},
      {"auto", 0x0411, "ja", false},
      {"auto", 0x0416, "pt", false},  // pt-BR
      {"auto", 0x0816, "pt", false},  // pt-PT
      {"auto", 0x0804, "zh", false},  // zh-CN
      {"auto", 0x1004, "zh", false},  // zh-SG
      {"auto", 0x0404, "en", false},  // zh-TW: traditional script, not carried
      {"auto", 0x0C04, "en", false},  // zh-HK
      {"auto", 0x0413, "en", false},  // Dutch: not carried
      {"auto", 0x0000, "en", false},
      {"de", 0x0419, "de", false},  // a tag wins over the user's language
      {" Fr ", 0x0409, "fr", false},
      {"tr", 0x0409, "tr", false},
      {"xx", 0x0407, "en", true},     // unknown: English, and the caller logs it
      {"de-DE", 0x0407, "en", true},  // tags are the two letters only
      {"autox", 0x0407, "en", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("'") + row.setting + "' " + std::to_string(row.uiLanguage));
    const LanguageChoice choice = ChooseLanguage(row.setting, row.uiLanguage);
    if (!row.tag) {
      EXPECT_EQ(nullptr, choice.table);
    } else {
      ASSERT_NE(nullptr, choice.table);
      EXPECT_STREQ(row.tag, choice.table->tag);
    }
    EXPECT_EQ(row.unknown, choice.unknownSetting);
  }
}

}  // namespace
