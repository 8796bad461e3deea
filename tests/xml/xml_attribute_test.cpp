#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "xml/xml_attribute_map.h"
#include "xml/xml_document.h"

namespace {

class XmlAttributes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_document.Parse(
        "<p s=\"text\" empty=\"\" n=\"12abc\" neg=\" -42\" plus=\"+7\" abc=\"abc\" "
        "big=\"99999999999\" small=\"-99999999999\" u=\"4000000000\" m=\"-1\" wrap=\"4294967296\" "
        "ws=\"\t\n 9\" quoted='single' b=c>body</p>"));
    m_root = m_document.Root();
  }

  XmlDocument m_document;
  const XmlNode* m_root = nullptr;
};

TEST_F(XmlAttributes, GetAttributeIsCaseSensitive) {
  std::string value = "untouched";
  EXPECT_TRUE(m_root->GetAttribute("s", value));
  EXPECT_EQ("text", value);
  EXPECT_TRUE(m_root->GetAttribute("empty", value));
  EXPECT_EQ("", value);
  value = "untouched";
  EXPECT_FALSE(m_root->GetAttribute("S", value));
  EXPECT_FALSE(m_root->GetAttribute("missing", value));
  EXPECT_EQ("untouched", value);
  // Single quotes have no meaning: they belong to the bare word.
  EXPECT_TRUE(m_root->GetAttribute("quoted", value));
  EXPECT_EQ("'single'", value);
  EXPECT_TRUE(m_root->GetAttribute("b", value));
  EXPECT_EQ("c", value);
}

TEST_F(XmlAttributes, GetAttributeIntReadsLikeAtoi) {
  struct Case {
    const char* name;
    int value;
  };
  const Case cases[] = {
      {"n", 12}, {"neg", -42},     {"plus", 7},        {"abc", 0}, {"empty", 0},
      {"ws", 9}, {"big", INT_MAX}, {"small", INT_MIN}, {"m", -1},
  };
  for (const Case& c : cases) {
    int value = 12345;
    EXPECT_TRUE(m_root->GetAttributeInt(c.name, value)) << c.name;
    EXPECT_EQ(c.value, value) << c.name;
  }
  int value = 12345;
  EXPECT_FALSE(m_root->GetAttributeInt("missing", value));
  EXPECT_EQ(12345, value);
}

TEST_F(XmlAttributes, GetAttributeUIntReadsLikeScanf) {
  struct Case {
    const char* name;
    bool scanned;
    unsigned value;
  };
  const Case cases[] = {
      {"u", true, 4000000000u}, {"m", true, 4294967295u}, {"neg", true, 4294967254u},
      {"n", true, 12u},         {"plus", true, 7u},       {"ws", true, 9u},
      {"wrap", true, 0u},       {"abc", false, 0},        {"empty", false, 0},
  };
  for (const Case& c : cases) {
    unsigned value = 777;
    EXPECT_TRUE(m_root->GetAttributeUInt(c.name, value)) << c.name;
    EXPECT_EQ(c.scanned ? c.value : 777u, value) << c.name;
  }
  unsigned value = 777;
  EXPECT_FALSE(m_root->GetAttributeUInt("missing", value));
  EXPECT_EQ(777u, value);
}

TEST_F(XmlAttributes, GetAttributeOrFallsBackToTheDefault) {
  EXPECT_EQ("text", m_root->GetAttributeOr("s", "default"));
  EXPECT_EQ("", m_root->GetAttributeOr("empty", "default"));
  EXPECT_EQ("default", m_root->GetAttributeOr("missing", "default"));
  EXPECT_EQ("", m_root->GetAttributeOr("missing", nullptr));
}

TEST_F(XmlAttributes, OnlyElementsAnswer) {
  const XmlNode* text = m_root->Child(0);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(XmlNodeKind::Text, text->Kind());
  EXPECT_EQ("", text->GetName());
  EXPECT_EQ("body", text->Text());
  EXPECT_EQ(nullptr, m_root->Child(1));
  EXPECT_EQ("", text->GetAttributeOr("s", "default"));
  std::string value = "untouched";
  int number = 5;
  unsigned unsignedNumber = 6;
  EXPECT_FALSE(text->GetAttribute("s", value));
  EXPECT_FALSE(text->GetAttributeInt("n", number));
  EXPECT_FALSE(text->GetAttributeUInt("n", unsignedNumber));
  EXPECT_EQ("untouched", value);
  EXPECT_EQ("", m_root->Text());

  XmlDocument document;
  ASSERT_TRUE(document.Parse("<?pi a=\"1\" a=\"2\"?><r/>"));
  EXPECT_FALSE(document.Declaration()->GetAttribute("a", value));
  EXPECT_EQ("", document.Declaration()->GetAttributeOr("a", "default"));
}

TEST(XmlAttributeMap, HashesSignedBytesTimes33) {
  EXPECT_EQ(0u, XmlAttributeMap::Hash(""));
  EXPECT_EQ(97u, XmlAttributeMap::Hash("a"));
  EXPECT_EQ(97u * 33u + 98u, XmlAttributeMap::Hash("ab"));
  EXPECT_EQ(0xFFFFFFFFu, XmlAttributeMap::Hash("\xff"));
  EXPECT_EQ(0xFFFFFFFFu * 33u + 0xFFFFFF80u, XmlAttributeMap::Hash("\xff\x80"));
}

}  // namespace
