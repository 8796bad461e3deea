// When and how a broken download is resumed: what the first answer must offer, the request
// for the rest of the file, and what the answer to that request means. Portable.
#pragma once

#include <cstdint>
#include <string>

// The validator that If-Range names when a download is resumed: the answer's strong ETag,
// else its Last-Modified date. Empty (the download cannot be resumed) when the answer does
// not offer byte ranges ("Accept-Ranges: bytes") or carries neither; a weak ETag ("W/...")
// cannot be used with If-Range.
std::string ResumeValidator(const std::string& acceptRanges, const std::string& etag,
                            const std::string& lastModified);

// The caller's extra request header lines (may be empty, with or without a final CR LF)
// followed by the lines that ask for the bytes from `offset` on, if the file is still the
// one `validator` names.
std::string ResumeRequestHeaders(const std::string& extraHeaders, int64_t offset,
                                 const std::string& validator);

enum class ResumedAnswer {
  Continue,  // 206 whose Content-Range starts at the offset: append to the file
  Restart,   // 200: the whole file again (it changed, or the server ignores ranges)
  Refuse,    // anything else: the download fails
};

ResumedAnswer JudgeResumedAnswer(const char* statusText, const char* contentRange, int64_t offset);

// "bytes FIRST-LAST/TOTAL": FIRST, or -1 when the text is not of that shape.
int64_t ContentRangeFirst(const char* contentRange);
// Its TOTAL, or -1 when unknown ("*") or not of that shape.
int64_t ContentRangeTotal(const char* contentRange);

// Where the file must end after a 206 at `offset`: offset + its Content-Length, else the
// Content-Range's total, else -1 (unknown).
int64_t ExpectedEndAfterResume(int64_t offset, int contentLength, const char* contentRange);
