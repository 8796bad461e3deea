#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"
#include "xml/xml_document.h"

namespace {

// "한글" (Korean) and "Привет" (Russian) in UTF-8 and in their ANSI code pages.
const std::string kKoreanUtf8 = "\xed\x95\x9c\xea\xb8\x80";
const std::string kKorean949 = "\xc7\xd1\xb1\xdb";
const std::string kRussianUtf8 = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
const std::string kRussian1251 = "\xcf\xf0\xe8\xe2\xe5\xf2";

std::string AttributeOf(const std::string& document, const char* name = "v") {
  XmlDocument parsed;
  EXPECT_TRUE(parsed.Parse(document.c_str())) << document;
  std::string value = "untouched";
  EXPECT_TRUE(parsed.Root()->GetAttribute(name, value)) << document;
  return value;
}

TEST(XmlUtf8Cp949, DeclarationSwitchesConversionOn) {
  CodePageScope codePage(949);
  struct Case {
    const char* what;
    std::string document;
    std::string value;
  };
  const Case cases[] = {
      {"utf-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a v=\"" + kKoreanUtf8 + "\"/>",
       kKorean949},
      {"case of the value does not matter",
       "<?xml encoding=\"uTf-8\"?><a v=\"x" + kKoreanUtf8 + "\"/>", "x" + kKorean949},
      {"no declaration", "<a v=\"" + kKoreanUtf8 + "\"/>", kKoreanUtf8},
      {"EUC-KR declared", "<?xml encoding=\"EUC-KR\"?><a v=\"" + kKorean949 + "\"/>", kKorean949},
      {"pseudo-attribute name is case-sensitive",
       "<?xml Encoding=\"utf-8\"?><a v=\"" + kKoreanUtf8 + "\"/>", kKoreanUtf8},
      {"only the xml target counts", "<?XML encoding=\"utf-8\"?><a v=\"" + kKoreanUtf8 + "\"/>",
       kKoreanUtf8},
      {"ASCII values are stored as they are", "<?xml encoding=\"utf-8\"?><a v=\"plain\"/>",
       "plain"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, AttributeOf(c.document)) << c.what;
}

TEST(XmlUtf8Cp949, NamesTextAndPseudoAttributesStayUnconverted) {
  CodePageScope codePage(949);
  XmlDocument document;
  std::string text = "<?xml encoding=\"utf-8\" note=\"" + kKoreanUtf8 + "\"?><" + kKoreanUtf8 +
                     " " + kKoreanUtf8 + "=\"" + kKoreanUtf8 + "\">" + kKoreanUtf8 + "</" +
                     kKoreanUtf8 + ">";
  ASSERT_TRUE(document.Parse(text.c_str()));
  EXPECT_EQ(kKoreanUtf8, document.Root()->GetName());
  EXPECT_EQ(kKorean949, document.Root()->GetAttributeOr(kKoreanUtf8.c_str(), ""));
  EXPECT_EQ(kKoreanUtf8, document.Root()->Child(0)->Text());
}

TEST(XmlUtf8Cp949, InstructionInsideAnElementConvertsWhatFollows) {
  CodePageScope codePage(949);
  XmlDocument document;
  std::string text =
      "<a v=\"" + kKoreanUtf8 + "\"><?xml encoding=\"utf-8\"?><b v=\"" + kKoreanUtf8 + "\"/></a>";
  ASSERT_TRUE(document.Parse(text.c_str()));
  EXPECT_EQ(kKoreanUtf8, document.Root()->GetAttributeOr("v", ""));
  EXPECT_EQ(kKorean949, document.Root()->Child(1)->GetAttributeOr("v", ""));

  // A new parse starts with the conversion off.
  text = "<a v=\"" + kKoreanUtf8 + "\"/>";
  ASSERT_TRUE(document.Parse(text.c_str()));
  EXPECT_EQ(kKoreanUtf8, document.Root()->GetAttributeOr("v", ""));
}

TEST(XmlUtf8Cp949, UnconvertibleValueIsPresentWithoutValue) {
  CodePageScope codePage(949);
  XmlDocument document;
  // A lone continuation byte is not UTF-8.
  ASSERT_TRUE(document.Parse("<?xml encoding=\"utf-8\"?><a v=\"x\x80y\" n=\"5\x80\"/>"));
  const XmlNode* root = document.Root();
  std::string value = "untouched";
  EXPECT_TRUE(root->GetAttribute("v", value));
  EXPECT_EQ("untouched", value);
  EXPECT_EQ("default", root->GetAttributeOr("v", "default"));
  int number = 1;
  unsigned unsignedNumber = 2;
  EXPECT_FALSE(root->GetAttributeInt("n", number));
  EXPECT_FALSE(root->GetAttributeUInt("n", unsignedNumber));
  EXPECT_EQ(1, number);
  EXPECT_EQ(2u, unsignedNumber);
}

TEST(XmlUtf8Cp1251, ConvertsIntoTheRussianCodePage) {
  CodePageScope codePage(1251);
  EXPECT_EQ(kRussian1251, AttributeOf("<?xml encoding=\"utf-8\"?><a v=\"" + kRussianUtf8 + "\"/>"));
  EXPECT_EQ(kRussianUtf8, AttributeOf("<a v=\"" + kRussianUtf8 + "\"/>"));
  // Korean has no place in 1251: each character becomes the default character.
  EXPECT_EQ("??", AttributeOf("<?xml encoding=\"utf-8\"?><a v=\"" + kKoreanUtf8 + "\"/>"));
}

TEST(XmlErrorTextCp949, MessagesAreKoreanInCodePage949) {
  CodePageScope codePage(949);
  const char* const expected[] = {
      "오류 없음",
      "태그 시작(<)이 없음",
      "잘못된 토큰",
      "태그의 시작과 끝이 일치하지 않음",
      "태그의 종료('>')가 제대로 안됨",
      "잘못된 태그 이름(Processing Instruction)",
      "Processing Instruction 내 잘못된 토큰",
      "Processing Instruction 태그의 끝이 > 로 끝나지 않음",
      "잘못된 태그 이름",
      "태그내 잘못된 속성",
      "태그내 잘못된 속성값",
      "중복된 속성값",
      "태그가 제대로 종료 안됨",
      "잘못된 끝",
      "주석문의 종료가 잘못됨",
      "--> 형태로 주석문이 끝나지 않음",
      "주석의 끝이 닫히지 않음",
      "요소의 중첩이 너무 깊음",
  };
  static_assert(sizeof expected / sizeof expected[0] == kXmlErrorCodeCount, "every code");
  for (int code = 0; code < kXmlErrorCodeCount; ++code) {
    std::string utf8;
    ASSERT_TRUE(AnsiToUtf8(XmlErrorText(code), utf8)) << code;
    EXPECT_EQ(expected[code], utf8) << code;
  }
}

}  // namespace
