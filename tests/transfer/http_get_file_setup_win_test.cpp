// Setting a transfer up: what is refused before anything runs, what a refused set-up leaves
// behind (nothing), and the sequence of transfer ids.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_get_file_win.h"

namespace {

class HttpGetFileSetUp : public TransferTest {
 protected:
  // The id of a transfer that runs now and completes with success.
  int RunOne() {
    int id = 0;
    EXPECT_EQ(1, HttpGetFile(test_http::Url("/bytes/10").c_str(), nullptr, recorder.window(),
                             &id, 1, kTestAgent, -1, 1, nullptr, nullptr, 0, nullptr, nullptr));
    return id;
  }
};

TEST_F(HttpGetFileSetUp, RefusedSetUpReturnsZeroPostsNothingAndTakesNoId) {
  const std::string directory = TargetPath("a-directory");
  ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
  struct Row {
    const char* what;
    std::string url;
    std::string agent;
    std::string path;
    bool fileMayExist;
  };
  const std::vector<Row> rows = {
      {"URL too long to canonicalise", test_http::Url("/bytes/10?pad=" + std::string(1100, 'a')),
       kTestAgent, TargetPath("long-url"), false},
      {"agent of 512 characters", test_http::Url("/bytes/10"), std::string(512, 'a'),
       TargetPath("long-agent"), false},
      {"file that cannot be created", test_http::Url("/bytes/10"), kTestAgent, directory, true},
      {"file: address", "file:///C:/windows/win.ini", kTestAgent, TargetPath("file-url"), false},
      {"ftp: address", "ftp://127.0.0.1/setup.exe", kTestAgent, TargetPath("ftp-url"), false},
      {"address without a scheme", test_http::Url("/bytes/10").substr(7), kTestAgent,
       TargetPath("no-scheme"), false},
  };
  std::vector<int> successfulIds;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const int before = RunOne();
    successfulIds.push_back(before);
    for (int synchronous = 0; synchronous <= 1; ++synchronous) {
      int id = -7;
      char* buffer = reinterpret_cast<char*>(1);
      int length = -7;
      EXPECT_EQ(0, HttpGetFile(row.url.c_str(), row.path.c_str(), recorder.window(), &id,
                               synchronous, row.agent.c_str(), -1, 1, &buffer, &length, 0,
                               nullptr, nullptr));
      EXPECT_EQ(-7, id);
      EXPECT_EQ(reinterpret_cast<char*>(1), buffer);
      EXPECT_EQ(-7, length);
      if (!row.fileMayExist) {
        EXPECT_FALSE(PathExists(row.path)) << "no file created";
      }
    }
    successfulIds.push_back(RunOne());
    EXPECT_EQ(before + 1, successfulIds.back()) << "a refused set-up takes no id";
  }
  ::Sleep(50);
  recorder.Drain();
  for (const TransferEvent& event : recorder.events()) {
    EXPECT_NE(successfulIds.end(),
              std::find(successfulIds.begin(), successfulIds.end(), event.id))
        << "message for transfer " << event.id;
  }
  ::RemoveDirectoryA(directory.c_str());
}

TEST_F(HttpGetFileSetUp, AgentOf511CharactersIsSent) {
  const std::string agent(511, 'z');
  const std::string token = test_http::UniqueToken("agent511");
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/10?token=" + token).c_str(), nullptr, nullptr,
                           nullptr, 1, agent.c_str(), -1, 1, nullptr, nullptr, 0, nullptr,
                           nullptr));
  const std::vector<test_http::RecordedRequest> requests = test_http::RecordedRequests(token);
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ(agent, requests[0].Header("User-Agent"));
}

TEST_F(HttpGetFileSetUp, SuccessiveTransfersTakeSuccessiveIds) {
  const int first = RunOne();
  int second = 0;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/10").c_str(), nullptr, recorder.window(),
                           &second, 0, kTestAgent, -1, 0, nullptr, nullptr, 0, nullptr, nullptr));
  Started(second);
  int third = 0;  // a transfer that fails once running has still taken its id
  EXPECT_EQ(0, HttpGetFile(test_http::RefusedUrl().c_str(), nullptr, nullptr, &third, 1,
                           kTestAgent, -1, 1, nullptr, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(first + 1, second);
  EXPECT_EQ(first + 2, third);
  EXPECT_EQ(first + 3, RunOne());
}

// Each transfer takes handles (threads, WinINet requests, locks) and must give them all back.
// Written with the fix that lets an attempt's lock delete its critical section (it was kept
// because the attempt ended while its own transfer still counted as running); a kept section
// costs no handle under Wine, so this row guards the handles in general, not that leak alone.
TEST_F(HttpGetFileSetUp, AThousandTransfersLeaveTheHandleCountWhereItWas) {
  const std::string url = test_http::Url("/bytes/10");
  const auto runOne = [&url] {
    int id = 0;
    return HttpGetFile(url.c_str(), nullptr, nullptr, &id, 1, kTestAgent, -1, 1, nullptr, nullptr,
                       0, nullptr, nullptr);
  };
  // The first transfers settle what WinINet keeps for the whole process.
  for (int i = 0; i < 10; ++i) ASSERT_EQ(1, runOne());
  DWORD before = 0, after = 0;
  ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(1, runOne()) << "transfer " << i;
  // The last readers may still be letting their records go.
  for (int wait = 0; wait < 20; ++wait) {
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    if (after <= before) break;
    ::Sleep(100);
  }
  EXPECT_LE(after, before);
}

// Run in a process of its own (the test starts its own program again), where no transfer
// has run before.
TEST(HttpGetFileIds, FirstTransfersOfAProcessAreOneTwoThree) {
  ASSERT_TRUE(test_http::Running());
  const char* probeVariable = "ZU_TRANSFER_ID_PROBE";
  if (std::getenv(probeVariable)) {
    const std::string url = test_http::Url("/bytes/10");
    const std::string tooLong(600, 'a');
    std::vector<int> ids;
    for (int i = 0; i < 3; ++i) {
      int id = -7;
      EXPECT_EQ(0, HttpGetFile(url.c_str(), nullptr, nullptr, &id, 1, tooLong.c_str(), -1, 1,
                               nullptr, nullptr, 0, nullptr, nullptr));
      EXPECT_EQ(1, HttpGetFile(url.c_str(), nullptr, nullptr, &id, 1, kTestAgent, -1, 1,
                               nullptr, nullptr, 0, nullptr, nullptr));
      ids.push_back(id);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3}), ids);
    return;
  }
  char program[MAX_PATH];
  ASSERT_NE(0u, ::GetModuleFileNameA(nullptr, program, sizeof(program)));
  std::string commandLine = std::string("\"") + program +
                            "\" --gtest_filter=HttpGetFileIds.FirstTransfersOfAProcessAreOneTwoThree";
  ::SetEnvironmentVariableA(probeVariable, "1");
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const BOOL started = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &process);
  ::SetEnvironmentVariableA(probeVariable, nullptr);
  ASSERT_TRUE(started);
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
  DWORD exitCode = 1;
  ASSERT_TRUE(::GetExitCodeProcess(processHandle.get(), &exitCode));
  EXPECT_EQ(0u, exitCode) << "the fresh process saw other ids (its output tells which)";
}

// Reserves the free address space in large blocks, so that no thread stack fits, and gives
// it back when destroyed. Small blocks stay free for the heap.
class AddressSpaceHog {
 public:
  explicit AddressSpaceHog(SIZE_T smallestBlock) {
    m_blocks.reserve(kMaxBlocks);  // no heap growth while the space runs out
    for (SIZE_T size = SIZE_T(1) << 30; size >= smallestBlock; size /= 2) {
      while (m_blocks.size() < kMaxBlocks) {
        void* block = ::VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
        if (!block) break;
        m_blocks.push_back(block);
      }
    }
  }
  ~AddressSpaceHog() { Release(); }
  void Release() {
    for (void* block : m_blocks) ::VirtualFree(block, 0, MEM_RELEASE);
    m_blocks.clear();
  }
  AddressSpaceHog(const AddressSpaceHog&) = delete;
  AddressSpaceHog& operator=(const AddressSpaceHog&) = delete;

 private:
  static constexpr size_t kMaxBlocks = 65536;
  std::vector<void*> m_blocks;
};

TEST_F(HttpGetFileSetUp, ThreadThatCannotStartLeavesNothingBehind) {
  const int before = RunOne();
  const std::string path = TargetPath("no-thread");
  const std::string url = test_http::Url("/bytes/10");
  int id = -7;
  char* buffer = reinterpret_cast<char*>(1);
  int result = -1;
  {
    AddressSpaceHog hog(256 * 1024);
    // Files and small allocations still work: only a thread stack cannot be had.
    const std::string probe = TargetPath("probe");
    UniqueFileHandle probeFile(::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE,
                                             nullptr));
    std::unique_ptr<char[]> probeMemory(new (std::nothrow) char[4096]);
    ASSERT_TRUE(probeFile && probeMemory);
    result = HttpGetFile(url.c_str(), path.c_str(), recorder.window(), &id, 0, kTestAgent, -1,
                         1, &buffer, nullptr, 0, nullptr, nullptr);
  }
  ASSERT_EQ(0, result) << "the worker started although no stack fits: the test is void";
  EXPECT_EQ(-7, id);
  EXPECT_EQ(reinterpret_cast<char*>(1), buffer);
  EXPECT_FALSE(PathExists(path)) << "the created file is removed again";
  EXPECT_EQ(before + 1, RunOne()) << "no id taken";
  // Not counted as running: cancelling everything succeeds at the first look.
  const DWORD started = ::GetTickCount();
  EXPECT_EQ(1, HttpGetFileCancel(-1));
  EXPECT_LT(::GetTickCount() - started, 1000u);
  ::Sleep(50);
  recorder.Drain();
  for (const TransferEvent& event : recorder.events()) {
    EXPECT_TRUE(event.id == before || event.id == before + 1) << "message for " << event.id;
  }
}

}  // namespace
