// hostile_writer.exe RECORD PATH ENDED: another process of the same user that keeps trying to
// open PATH for writing, offering every sharing mode, as a program that wants to change the
// installer between its check and its run would: from its start until the installer has ended
// (the file ENDED appears), the file is gone, or 60 s have passed. Then writes to RECORD, one
// KEY=VALUE line each: ATTEMPTS; OPENED, how many opens succeeded; LAST_ERROR, the last
// refusal's error; CHANGES, each change of outcome as "error@attempt" ("0" for an open).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 4) return 2;
  const std::string record = __argv[1], path = __argv[2], ended = __argv[3];
  unsigned long attempts = 0, opened = 0, lastError = 0;
  std::string changes;
  unsigned long previous = 1;
  const DWORD started = ::GetTickCount();
  while (::GetTickCount() - started < 60000 &&
         ::GetFileAttributesA(ended.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ++attempts;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const unsigned long outcome = file != INVALID_HANDLE_VALUE ? 0 : ::GetLastError();
    if (outcome != previous) {
      changes += std::to_string(outcome) + "@" + std::to_string(attempts) + " ";
      previous = outcome;
    }
    if (outcome == 0) {
      ++opened;
      ::CloseHandle(file);
      continue;
    }
    if (outcome == ERROR_FILE_NOT_FOUND || outcome == ERROR_PATH_NOT_FOUND) break;
    lastError = outcome;
  }
  FILE* out = std::fopen(record.c_str(), "wb");
  if (!out) return 3;
  std::fprintf(out, "ATTEMPTS=%lu\r\nOPENED=%lu\r\nLAST_ERROR=%lu\r\nCHANGES=%s\r\n", attempts,
               opened, lastError, changes.c_str());
  return std::fclose(out) == 0 ? 0 : 3;
}
