#include "versionfile/version_file_download_win.h"

#include <memory>

#include "ini/ini_document.h"
#include "transfer/http_get_file_job_win.h"
#include "transfer/http_get_file_win.h"
#include "transfer/transfer_limits.h"

static_assert(kVersionFileMaxBytes == kIniMaxFileBytes,
              "the refresh accepts exactly what the INI reader reads");

namespace {

TransferPolicy VersionFilePolicy() {
  TransferPolicy policy;
  policy.deadlineMs = CurrentTransferTiming().versionFileDeadlineMs;
  policy.refuseAbove = kVersionFileMaxBytes;
  policy.resume = false;  // small: a broken refresh simply fails
  return policy;
}

struct TransferBufferFree {
  void operator()(char* buffer) const { HttpGetFileFreeBuffer(buffer); }
};

}  // namespace

bool DownloadVersionFileBytes(const std::string& url, const std::string& agent, std::string& body) {
  char* buffer = nullptr;
  int length = 0;
  const int outcome =
      HttpGetFileWithPolicy(VersionFilePolicy(), url.c_str(), nullptr, nullptr, nullptr, 1,
                            agent.c_str(), -1, 0, &buffer, &length, 0, nullptr, nullptr);
  std::unique_ptr<char, TransferBufferFree> owned(buffer);
  if (outcome != 1 || length < 0) return false;
  body.assign(owned ? owned.get() : "", owned ? static_cast<size_t>(length) : 0);
  return true;
}

bool DownloadVersionFile(const std::string& url, const std::string& path,
                         const std::string& agent) {
  return HttpGetFileWithPolicy(VersionFilePolicy(), url.c_str(), path.c_str(), nullptr, nullptr, 1,
                               agent.c_str(), -1, 1, nullptr, nullptr, 0, nullptr, nullptr) == 1;
}
