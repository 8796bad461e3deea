#include "xml/xml_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseCase {
  const char* what;
  std::string input;
  bool parsed;
  int errorCode;
  const char* detail;
};

TEST(XmlDocument, RecordsEachErrorWithItsDetail) {
  const ParseCase cases[] = {
      {"launcher parameter", "<ZULAUNCHER_PARAM Command=\"run\" SilentMessage=\"1\"/>", true, 0,
       ""},
      {"empty input", "", false, kXmlUnexpectedEnd, ""},
      {"whitespace only", " \t\r\n ", false, kXmlUnexpectedEnd, ""},
      {"text before the root", "abc<a/>", false, kXmlNoError, ""},
      {"input cut after the name", "<a", false, kXmlUnexpectedEnd, ""},
      {"no element after a declaration", "<?x?>b", false, kXmlMissingTagOpen, ""},
      {"'>' in content", "<a>x > y</a>", false, kXmlUnexpectedTagClose, ""},
      {"end tag of another element", "<a></b>", false, kXmlTagMismatch, "a,b"},
      {"names are case-sensitive", "<a></A>", false, kXmlTagMismatch, "a,A"},
      {"end tag without a name", "<a></>", false, kXmlTagMismatch, "a,"},
      {"end tag not closed", "<a></a x>", true, kXmlEndTagNotClosed, ""},
      {"instruction without a target", "<a><?=x</a>", true, kXmlBadInstructionName, ""},
      {"'?' inside a bare target", "<?xml?><a/>", true, kXmlBadInstructionToken, ""},
      {"instruction '?' without '>'", "<a><?p ?=</a>", true, kXmlInstructionNotClosed, ""},
      {"no tag name", "<>x", false, kXmlBadTagName, ""},
      {"input ends in the lookahead", "<>", false, kXmlUnexpectedEnd, ""},
      {"attribute without '='", "<a b/>", false, kXmlBadAttribute, ""},
      {"attribute cut off", "<a b", false, kXmlBadAttribute, ""},
      {"attribute without value", "<a b=/>", false, kXmlBadAttributeValue, "b"},
      {"attribute given twice", "<a b=\"1\" b=\"2\"/>", false, kXmlDuplicateAttribute, "b"},
      {"'/' not followed by '>'", "<a b=c/d>", false, kXmlBadEmptyTag, ""},
      {"unclosed element", "<a>", false, kXmlUnexpectedEnd, ""},
      {"comment before the root", "<!-- note --><a/>", true, 0, ""},
      {"'--' inside a comment", "<!-- a -- b --><a/>", false, kXmlCommentNotClosedByTag, ""},
      {"unterminated comment", "<!-- note", false, kXmlUnterminatedComment, ""},
      {"nothing after a comment's '--'", "<!-- note --", false, kXmlBadCommentEnd, ""},
      {"DOCTYPE is passed over", "<!DOCTYPE x><a/>", true, 0, ""},
      {"unterminated declaration", "<a><!DOCTYPE x", false, kXmlUnterminatedComment, ""},
      {"what follows the root is not read", "<a/><b/> >>", true, 0, ""},
  };
  for (const ParseCase& c : cases) {
    XmlDocument document;
    EXPECT_EQ(c.parsed, document.Parse(c.input.c_str())) << c.what;
    EXPECT_EQ(c.errorCode, document.ErrorCode()) << c.what;
    EXPECT_EQ(c.detail, document.ErrorDetail()) << c.what;
  }
}

// The children of the root as one line: elements as <name>, instructions as <?name>,
// text nodes in quotes.
std::string ChildrenOf(const XmlNode& node) {
  std::string children;
  for (size_t i = 0; i < node.ChildCount(); ++i) {
    const XmlNode* child = node.Child(i);
    if (!children.empty()) children += ' ';
    switch (child->Kind()) {
      case XmlNodeKind::Element:
        children += "<" + child->GetName() + ">";
        break;
      case XmlNodeKind::ProcessingInstruction:
        children += "<?" + child->GetName() + ">";
        break;
      case XmlNodeKind::Text:
        children += "\"" + child->Text() + "\"";
        break;
    }
  }
  return children;
}

TEST(XmlDocument, AssemblesContent) {
  struct Case {
    const char* what;
    const char* input;
    const char* children;
  };
  const Case cases[] = {
      {"whitespace collapses", "<a>  hello   world  </a>", "\"hello world\""},
      {"no space before punctuation", "<a>x = y</a>", "\"x= y\""},
      {"punctuation tokens", "<a>x -- y ? z</a>", "\"x-- y? z\""},
      {"slash starts a token of its own", "<a>a/b</a>", "\"a/ b\""},
      {"quoted words keep their spaces", "<a>\"two  spaces\" x</a>", "\"two  spaces x\""},
      {"text is decoded twice", "<a>&amp;lt; &amp;amp;</a>", "\"< &\""},
      {"whitespace alone makes no node", "<a> <b/> </a>", "<b>"},
      {"text around an element", "<a>one<b/>two</a>", "\"one\" <b> \"two\""},
      {"nested content", "<a><b>x</b><c></c></a>", "<b> <c>"},
      {"instructions and comments", "<a><?pi x=\"1\" y ?><!-- c --><b/></a>", "<?pi> <b>"},
      {"a stray '<' is passed over", "<a><>x</a>", "\"x\""},
      {"quoted element name", "<a><\"b c\"/></a>", "<b c>"},
  };
  for (const Case& c : cases) {
    XmlDocument document;
    ASSERT_TRUE(document.Parse(c.input)) << c.what;
    ASSERT_NE(nullptr, document.Root()) << c.what;
    EXPECT_EQ("a", document.Root()->GetName()) << c.what;
    EXPECT_EQ(c.children, ChildrenOf(*document.Root())) << c.what;
  }
}

TEST(XmlDocument, KeepsTheDeclaration) {
  XmlDocument document;
  ASSERT_TRUE(document.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a/>"));
  ASSERT_NE(nullptr, document.Declaration());
  EXPECT_EQ(XmlNodeKind::ProcessingInstruction, document.Declaration()->Kind());
  EXPECT_EQ("xml", document.Declaration()->GetName());
  std::string value = "untouched";
  EXPECT_FALSE(document.Declaration()->GetAttribute("version", value));
  EXPECT_EQ("untouched", value);

  ASSERT_TRUE(document.Parse("<a/>"));
  EXPECT_EQ(nullptr, document.Declaration());
}

TEST(XmlDocument, ScriptInstructionKeepsItsRawBody) {
  XmlDocument document;
  ASSERT_TRUE(document.Parse("<?Script if (a<b) x?><a/>"));
  ASSERT_NE(nullptr, document.Declaration());
  EXPECT_EQ("Script", document.Declaration()->GetName());
  EXPECT_EQ(" if (a<b) x", document.Declaration()->RawText());

  EXPECT_FALSE(document.Parse("<?Script never closed <a/>"));
  EXPECT_EQ(kXmlUnexpectedEnd, document.ErrorCode());
  EXPECT_EQ("", document.Declaration()->RawText());
}

TEST(XmlDocument, CommentMayStandWhereverATokenMay) {
  XmlDocument document;
  ASSERT_TRUE(document.Parse("<a <!-- note --> b=\"1\"/>"));
  std::string value;
  EXPECT_TRUE(document.Root()->GetAttribute("b", value));
  EXPECT_EQ("1", value);
}

TEST(XmlDocument, ParseStartsFromScratch) {
  XmlDocument document;
  ASSERT_FALSE(document.Parse("<a b/>"));
  EXPECT_EQ(kXmlBadAttribute, document.ErrorCode());
  ASSERT_TRUE(document.Parse("<c d=\"1\"/>"));
  EXPECT_EQ(kXmlNoError, document.ErrorCode());
  EXPECT_EQ("c", document.Root()->GetName());

  EXPECT_FALSE(document.Parse(""));
  EXPECT_EQ(nullptr, document.Root());
  EXPECT_FALSE(document.Parse(nullptr));
  EXPECT_EQ(kXmlUnexpectedEnd, document.ErrorCode());
}

std::string Nested(int depth, const char* innermost) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  text += innermost;
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

TEST(XmlDocument, NestingDepthIsBounded) {
  XmlDocument document;
  ASSERT_TRUE(document.Parse(Nested(kXmlMaxElementDepth, "x").c_str()));
  const XmlNode* node = document.Root();
  for (int depth = 1; depth < kXmlMaxElementDepth; ++depth) {
    ASSERT_EQ(1u, node->ChildCount());
    node = node->Child(0);
  }
  EXPECT_EQ("x", node->Child(0)->Text());

  EXPECT_FALSE(document.Parse(Nested(kXmlMaxElementDepth + 1, "").c_str()));
  EXPECT_EQ(kXmlTooDeep, document.ErrorCode());
  EXPECT_FALSE(document.Parse(Nested(kXmlMaxElementDepth, "<b/>").c_str()));
  EXPECT_EQ(kXmlTooDeep, document.ErrorCode());

  // As deep as a full command line allows, and far deeper.
  std::string commandLine;
  while (commandLine.size() + 3 <= 32767) commandLine += "<a>";
  EXPECT_FALSE(document.Parse(commandLine.c_str()));
  EXPECT_EQ(kXmlTooDeep, document.ErrorCode());
  EXPECT_FALSE(document.Parse(Nested(1000000, "").c_str()));
  EXPECT_EQ(kXmlTooDeep, document.ErrorCode());
}

TEST(XmlErrorText, HasOneMessagePerCode) {
  EXPECT_STREQ("\xbf\xc0\xb7\xf9 \xbe\xf8\xc0\xbd", XmlErrorText(kXmlNoError));
  EXPECT_STREQ("\xc0\xdf\xb8\xf8\xb5\xc8 \xb3\xa1", XmlErrorText(kXmlUnexpectedEnd));
  for (int code = 0; code < kXmlErrorCodeCount; ++code) {
    EXPECT_NE('\0', XmlErrorText(code)[0]) << code;
    for (int other = 0; other < code; ++other) {
      EXPECT_STRNE(XmlErrorText(other), XmlErrorText(code)) << other << " " << code;
    }
  }
  EXPECT_STREQ("Code:18", XmlErrorText(kXmlErrorCodeCount));
  EXPECT_STREQ("Code:-1", XmlErrorText(-1));
  EXPECT_STREQ("Code:2147483647", XmlErrorText(2147483647));
}

}  // namespace
