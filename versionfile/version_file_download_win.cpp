#include "versionfile/version_file_download_win.h"

#include <new>

#include "ini/ini_document.h"
#include "transfer/transfer_limits.h"
#include "transfer/transfer_win.h"

static_assert(kVersionFileMaxBytes == kIniMaxFileBytes,
              "the refresh accepts exactly what the INI reader reads");

TransferPolicy VersionFileTransferPolicy() {
  TransferPolicy policy;
  policy.deadlineMs = kVersionFileDeadlineMs;
  policy.sizeLimit = kVersionFileMaxBytes;
  policy.resumePausesMs.clear();  // small: a broken refresh simply fails
  return policy;
}

bool DownloadVersionFileBytes(const std::string& url, const std::string& agent, std::string& body,
                              const TransferPolicy& policy) {
  try {
    TransferRequest request;
    request.url = url;
    request.agent = agent;
    request.policy = policy;
    return TransferIntoMemory(request, body);
  } catch (const std::bad_alloc&) {
    return false;
  }
}
