#include "download/version_file_download_win.h"

#include "download/http_get_file_job_win.h"
#include "download/transfer_limits.h"
#include "ini/ini_document.h"

static_assert(kVersionFileMaxBytes == kIniMaxFileBytes,
              "the refresh accepts exactly what the INI reader reads");

bool DownloadVersionFile(const std::string& url, const std::string& path,
                         const std::string& agent) {
  TransferPolicy policy;
  policy.deadlineMs = CurrentTransferTiming().versionFileDeadlineMs;
  policy.refuseAbove = kVersionFileMaxBytes;
  policy.resume = false;  // small: a broken refresh simply fails
  return HttpGetFileWithPolicy(policy, url.c_str(), path.c_str(), nullptr, nullptr, 1,
                               agent.c_str(), -1, 1, nullptr, nullptr, 0, nullptr, nullptr) == 1;
}
