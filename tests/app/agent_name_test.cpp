// An agent name that could split the request into extra header lines is not used.
#include "app/agent_name.h"

#include <gtest/gtest.h>

namespace {

TEST(AgentName, ControlCharactersMakeANameUnusable) {
  struct Row {
    const char* what;
    std::string name;
    bool usable;
  };
  const Row rows[] = {
      {"plain", "HostAgent/2.1 (Windows)", true},
      {"empty", "", true},
      {"every printable ASCII byte", " !~", true},
      {"code page bytes above 0x7F", "\xC0\xE3\xE5\xED\xF2 \x80\xFF", true},
      {"CR LF", "Agent\r\nX-Injected: 1", false},
      {"LF alone", "Agent\nX: 1", false},
      {"CR alone", "Agent\r", false},
      {"tab", "Agent\tName", false},
      {"byte 0x01", std::string("A\x01", 2), false},
      {"byte 0x1F", "A\x1F", false},
      {"DEL", "A\x7F", false},
  };
  for (const Row& row : rows) EXPECT_EQ(row.usable, IsUsableAgentName(row.name)) << row.what;
}

}  // namespace
