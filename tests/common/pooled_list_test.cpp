#include "common/pooled_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PooledList, EntriesKeepTheirPlaceAsTheListGrows) {
  PooledList<std::string> list;
  EXPECT_TRUE(list.Empty());
  std::vector<const std::string*> addresses;
  for (int i = 0; i < 95; ++i) addresses.push_back(&list.Append(std::to_string(i)));
  ASSERT_EQ(95u, list.Size());
  for (int i = 0; i < 95; ++i) {
    EXPECT_EQ(addresses[i], &list[i]) << i;
    EXPECT_EQ(std::to_string(i), list[i]);
  }
  EXPECT_EQ("94", list.Back());

  std::string joined;
  for (const std::string& entry : list) joined += entry + ",";
  EXPECT_EQ(0u, joined.find("0,1,2,"));
  EXPECT_EQ(joined.size() - 3, joined.find("94,"));

  list.Clear();
  EXPECT_EQ(0u, list.Size());
  EXPECT_TRUE(list.begin() == list.end());
  list.Append("again");
  EXPECT_EQ("again", list[0]);
}

}  // namespace
