// The rules of a resumed download: what makes an answer resumable, the request for the
// rest, and what the answer to it means.
#include "transfer/resume_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ResumeRules, ValidatorNeedsByteRangesAndAStrongETagOrADate) {
  struct Row {
    const char* shows;
    const char* acceptRanges;
    const char* etag;
    const char* lastModified;
    const char* validator;
  };
  const char* date = "Sat, 01 Jan 2022 00:00:00 GMT";
  const Row rows[] = {
      {"ETag preferred", "bytes", "\"v1\"", date, "\"v1\""},
      {"date when there is no ETag", "bytes", "", date, date},
      {"a weak ETag cannot name the file: the date", "bytes", "W/\"v1\"", date, date},
      {"weak ETag and no date", "bytes", "W/\"v1\"", "", ""},
      {"no ranges offered", "", "\"v1\"", date, ""},
      {"ranges refused", "none", "\"v1\"", date, ""},
      {"unit in a list, any case", "foo, Bytes ", "\"v1\"", "", "\"v1\""},
      {"a unit that only begins with bytes", "bytesx", "\"v1\"", "", ""},
      {"no validator", "bytes", "", "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.validator, ResumeValidator(row.acceptRanges, row.etag, row.lastModified))
        << row.shows;
  }
}

TEST(ResumeRules, RequestAppendsRangeAndIfRangeToTheCallersLines) {
  EXPECT_EQ("Range: bytes=30000-\r\nIf-Range: \"v1\"\r\n",
            ResumeRequestHeaders("", 30000, "\"v1\""));
  EXPECT_EQ("X-A: 1\r\nRange: bytes=5-\r\nIf-Range: d\r\n", ResumeRequestHeaders("X-A: 1", 5, "d"));
  EXPECT_EQ("X-A: 1\r\nRange: bytes=5-\r\nIf-Range: d\r\n",
            ResumeRequestHeaders("X-A: 1\r\n", 5, "d"));
  EXPECT_EQ("Range: bytes=3000000000-\r\nIf-Range: d\r\n",
            ResumeRequestHeaders("", 3000000000LL, "d"))
      << "offsets past 2 GiB";
}

TEST(ResumeRules, AnswerToTheRequestForTheRest) {
  struct Row {
    const char* shows;
    const char* status;
    const char* contentRange;
    long long offset;
    ResumedAnswer answer;
  };
  const Row rows[] = {
      {"206 at the offset continues", "206", "bytes 300-999/1000", 300, ResumedAnswer::Continue},
      {"206 of unknown total", "206", "bytes 300-999/*", 300, ResumedAnswer::Continue},
      {"206 elsewhere is refused", "206", "bytes 0-999/1000", 300, ResumedAnswer::Refuse},
      {"206 without Content-Range", "206", "", 300, ResumedAnswer::Refuse},
      {"206 with a malformed range", "206", "bytes 300-200/1000", 300, ResumedAnswer::Refuse},
      {"200: the whole file again", "200", "", 300, ResumedAnswer::Restart},
      {"other success statuses are refused", "204", "", 300, ResumedAnswer::Refuse},
      {"416", "416", "bytes */1000", 300, ResumedAnswer::Refuse},
      {"no status at all", nullptr, "", 300, ResumedAnswer::Refuse},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.answer, JudgeResumedAnswer(row.status, row.contentRange, row.offset))
        << row.shows;
  }
}

TEST(ResumeRules, ContentRangeAndTheExpectedEnd) {
  struct Row {
    const char* text;
    long long first;
    long long total;
  };
  const Row rows[] = {
      {"bytes 0-9/10", 0, 10},
      {"  BYTES 5-9/10", 5, 10},
      {"bytes 5-9/*", 5, -1},
      {"bytes 5-9/9", -1, -1},  // the last byte must lie inside the total
      {"bytes 5-/10", -1, -1},
      {"bytes=5-9/10", -1, -1},
      {"items 5-9/10", -1, -1},
      {"bytes 99999999999999999999-1/2", -1, -1},
      {"", -1, -1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.first, ContentRangeFirst(row.text)) << row.text;
    EXPECT_EQ(row.total, ContentRangeTotal(row.text)) << row.text;
  }
  EXPECT_EQ(-1, ContentRangeFirst(nullptr));
  EXPECT_EQ(1000, ExpectedEndAfterResume(300, 700, "bytes 300-999/1000"));
  EXPECT_EQ(1000, ExpectedEndAfterResume(300, -1, "bytes 300-999/1000")) << "chunked 206";
  EXPECT_EQ(-1, ExpectedEndAfterResume(300, -1, "bytes 300-999/*"));
}

}  // namespace
