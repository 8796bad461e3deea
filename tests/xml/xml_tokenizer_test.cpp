#include "xml/xml_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/xml_entities.h"

namespace {

// Tokens as one line: kinds as punctuation, words in brackets.
std::string Describe(const XmlToken& token) {
  switch (token.kind) {
    case XmlTokenKind::TagOpen:
      return "<";
    case XmlTokenKind::TagClose:
      return ">";
    case XmlTokenKind::Slash:
      return "/";
    case XmlTokenKind::Equals:
      return "=";
    case XmlTokenKind::Question:
      return "?";
    case XmlTokenKind::DoubleDash:
      return "--";
    case XmlTokenKind::Word:
      return "[" + token.text + "]";
  }
  return "!";
}

// Reads every token of `input`; the last entry is "#<code>" for the error that ended it.
std::string TokensOf(const char* input, bool slashEndsWord) {
  XmlErrorRecord error;
  XmlTokenizer tokenizer(input, error);
  std::string tokens;
  XmlToken token;
  while (tokenizer.NextToken(token, slashEndsWord)) tokens += Describe(token) + " ";
  return tokens + "#" + std::to_string(error.code);
}

TEST(XmlTokenizer, ReadsEveryKindOfToken) {
  struct Case {
    const char* input;
    bool slashEndsWord;
    const char* tokens;
  };
  const Case cases[] = {
      {"", true, "#13"},
      {" \t\r\n", true, "#13"},
      {"<a b=\"1\"/>", true, "< [a] [b] = [1] / > #13"},
      {"<a/b>", true, "< [a] / [b] > #13"},
      {"<a/b>", false, "< [a/b] > #13"},
      {"x -- y", true, "[x] -- [y] #13"},
      {"a--b -x", true, "[a--b] [-x] #13"},
      {"?x? \"q?\"", true, "? [x?] [q?] #13"},
      {"\"two words\"=\"\"", true, "[two words] = [] #13"},
      {"\"unterminated <b>", true, "[unterminated <b>] #13"},
      {"'single'", true, "['single'] #13"},
      {"a\"b c", true, "[a\"b] [c] #13"},
      {"<!-- note --> x", true, "[x] #13"},
      {"<!-- a --> <!-- b -->>", true, "> #13"},
      {"<!-- outer --<!-- inner -->>x", true, "[x] #13"},
      {"<!DOCTYPE x [y]> z", true, "[z] #13"},
      {"<![CDATA[ a>b ]]> z", true, "[b] []]] > [z] #13"},
      {"<!-- a/b --> c/d", true, "[c/d] #13"},
      {"<!-- a --<!-- b -- c", true, "#14"},
      {"<!-- a --<!-- b", true, "#14"},
      {"<!DOCTYPE", true, "#16"},
      {"<!--->", true, "#16"},
      {"<!---->x", true, "[x] #13"},
      {"<", true, "< #13"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.tokens, TokensOf(c.input, c.slashEndsWord)) << c.input;
  }
}

TEST(XmlTokenizer, WordsAreEntityDecoded) {
  EXPECT_EQ("[a&b] [<x>] #13", TokensOf("a&amp;b \"&lt;x&gt;\"", true));
}

TEST(XmlTokenizer, RestoringKeepsTheAtEndFlag) {
  XmlErrorRecord error;
  XmlTokenizer tokenizer("<abc", error);
  XmlToken token;
  ASSERT_TRUE(tokenizer.NextToken(token));
  size_t afterOpen = tokenizer.Position();
  ASSERT_TRUE(tokenizer.NextToken(token));
  EXPECT_EQ("abc", token.text);
  EXPECT_TRUE(tokenizer.AtEnd());
  tokenizer.Restore(afterOpen);
  EXPECT_TRUE(tokenizer.AtEnd());
  EXPECT_FALSE(tokenizer.NextToken(token));
  EXPECT_EQ(kXmlUnexpectedEnd, error.code);
}

TEST(XmlTokenizer, LongCommentChainsNeedNoStack) {
  // Each comment's closing "--" waits for a ">" behind all the following comments.
  std::string chain;
  for (int i = 0; i < 200000; ++i) chain += "<!--c--";
  std::string closed = chain + std::string(200000, '>') + " word";
  EXPECT_EQ("[word] #13", TokensOf(closed.c_str(), true));
  EXPECT_EQ("#14", TokensOf(chain.c_str(), true));
}

TEST(XmlTokenizer, ScriptBodyRunsToTheInstructionEnd) {
  XmlErrorRecord error;
  XmlTokenizer tokenizer(" if (a<b) x?>rest", error);
  std::string raw;
  ASSERT_TRUE(tokenizer.ReadUntilInstructionEnd(raw));
  EXPECT_EQ(" if (a<b) x", raw);
  XmlToken token;
  ASSERT_TRUE(tokenizer.NextToken(token));
  EXPECT_EQ("rest", token.text);

  XmlTokenizer unterminated(" x ? >", error);
  EXPECT_FALSE(unterminated.ReadUntilInstructionEnd(raw));
  EXPECT_TRUE(unterminated.AtEnd());
}

TEST(XmlEntities, DecodeLeftToRight) {
  struct Case {
    const char* input;
    const char* decoded;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"x&amp;y", "x&y"},
      {"&&", "&"},
      {"&&&", "&&"},
      {"&&amp;", "&amp;"},
      {"&amp;lt;", "&lt;"},
      {"&gt;&lt;&quot;&apos;", "><\"'"},
      {"&foo;", "&foo;"},
      {"&#65;", "&#65;"},
      {"&am", "&am"},
      {"&", "&"},
      {"a&", "a&"},
      {"&AMP;", "&AMP;"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.decoded, DecodeEntities(c.input)) << c.input;
}

TEST(XmlEntities, TextRunsReplaceEachEntityInTurn) {
  struct Case {
    const char* input;
    const char* replaced;
  };
  const Case cases[] = {
      {"a &lt; b", "a < b"},
      {"&amp;lt;", "<"},  // "&amp;" first gives "&lt;", which the "&lt;"
                          // pass then replaces
      {"&lt;amp;", "<amp;"},
      {"&&", "&&"},
      {"&quot;&apos;&gt;", "\"'>"},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    ReplaceTextEntities(text);
    EXPECT_EQ(c.replaced, text) << c.input;
  }
}

}  // namespace
