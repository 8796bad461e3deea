// The result-code table against the README's table, which hosts read: every row of one is a
// row of the other, in order, with the texts of the string table; and the string table's ids
// against their names in res/text_id.h.
#include "app/result_code.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The string table's source: lines of the form `  <id>, "<text>"` (UTF-8, as the README).
std::map<int, std::string> ReadStringTable() {
  std::map<int, std::string> texts;
  for (const std::string& line : ReadLines(ZU_SOURCE_DIR "/res/strings.rc")) {
    std::istringstream in(line);
    int id = 0;
    char comma = 0;
    if (!(in >> id >> comma) || comma != ',') continue;
    const size_t open = line.find('"'), close = line.rfind('"');
    if (open != std::string::npos && close > open)
      texts[id] = line.substr(open + 1, close - open - 1);
  }
  return texts;
}

// The table under "### Result codes" in the README, header and separator excluded.
std::vector<std::string> ReadmeTableRows() {
  const std::vector<std::string> lines = ReadLines(ZU_SOURCE_DIR "/README.md");
  std::vector<std::string> rows;
  bool inSection = false, pastHeader = false;
  for (const std::string& line : lines) {
    if (line.rfind("### ", 0) == 0 || line.rfind("## ", 0) == 0) {
      if (inSection) break;
      inSection = line == "### Result codes";
      continue;
    }
    if (!inSection || line.rfind("|", 0) != 0) continue;
    if (line.rfind("|---", 0) == 0) {
      pastHeader = true;
      continue;
    }
    if (pastHeader) rows.push_back(line);
  }
  return rows;
}

const char* ShownText(Shown shown) {
  switch (shown) {
    case Shown::Never:
      return "never";
    case Shown::WhenNotSilent:
      return "when `SilentMessage` is 0";
    case Shown::Always:
      return "always";
  }
  return "";
}

TEST(ResultCodeTable, ReadmeTableIsTheTable) {
  const std::map<int, std::string> texts = ReadStringTable();
  ASSERT_FALSE(texts.empty()) << "res/strings.rc not read";
  std::vector<std::string> expected;
  for (const OutcomeRow& row : kOutcomeTable) {
    const bool hasText = row.textId != kNoText;
    const int textId = TextNumber(row.textId), captionId = TextNumber(row.captionId);
    ASSERT_TRUE(!hasText || texts.count(textId)) << "text " << textId << " not in the table";
    std::string text = hasText ? "\"" + texts.at(textId) + "\"" : "none";
    std::string caption = hasText ? "\"" + texts.at(captionId) + "\"" : "none";
    expected.push_back("| " + std::to_string(static_cast<int>(row.code)) + " | " + row.meaning +
                       " | " + text + " | " + caption + " | " + ShownText(row.shown) + " |");
  }
  const std::vector<std::string> readme = ReadmeTableRows();
  std::string wanted;
  for (const std::string& line : expected) wanted += line + "\n";
  for (size_t i = 0; i < expected.size() && i < readme.size(); ++i)
    EXPECT_EQ(expected[i], readme[i]) << "row " << i + 1;
  EXPECT_EQ(expected.size(), readme.size()) << "rows";
  if (::testing::Test::HasFailure())
    ADD_FAILURE() << "README.md's result-code table should read:\n" << wanted;
}

TEST(ResultCodeTable, EveryIdOfTheStringTableHasItsName) {
  const std::map<int, std::string> texts = ReadStringTable();
  ASSERT_FALSE(texts.empty()) << "res/strings.rc not read";
  std::map<int, std::string> named;
  for (const NamedTextId& row : kNamedTextIds) {
    EXPECT_TRUE(named.emplace(TextNumber(row.id), row.name).second)
        << row.name << ": id " << TextNumber(row.id) << " named twice";
    EXPECT_TRUE(texts.count(TextNumber(row.id)))
        << row.name << ": id " << TextNumber(row.id) << " not in res/strings.rc";
  }
  for (const auto& text : texts)
    EXPECT_TRUE(named.count(text.first)) << "id " << text.first << " has no name in res/text_id.h";
}

TEST(ResultCodeTable, MeaningsForHostsTools) {
  struct Row {
    ResultCode code;
    const char* meaning;
  } rows[] = {
      {ResultCode::NoProgramId, "ProgramID is absent"},
      {ResultCode::BadCommand, "Command is absent / Command is empty or unknown"},
      {ResultCode::LauncherIniNotLoaded, "the launcher INI cannot be loaded"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.meaning, ResultCodeMeaning(static_cast<int>(row.code)));
  EXPECT_EQ("unknown code", ResultCodeMeaning(4));
  EXPECT_EQ("unknown code", ResultCodeMeaning(-1));
}

}  // namespace
