#include "app/result_target.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultTarget, PostsToEveryHandleButNoneAndTheBroadcastOnes) {
  struct Case {
    const char* what;
    unsigned handle;
    bool posted;
  };
  const Case cases[] = {
      {"0 means no host", 0, false},
      {"an ordinary handle", 0x000A0132u, true},
      {"the broadcast handle", 0xFFFFu, false},
      {"the other broadcast value (-1 in the parameter wraps to it)", 0xFFFFFFFFu, false},
      {"a handle whose low word is 0xFFFF is an ordinary one", 0x0001FFFFu, true},
      {"the handle after the broadcast one", 0x10000u, true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.posted, ShouldPostResult(c.handle)) << c.what;
}

}  // namespace
