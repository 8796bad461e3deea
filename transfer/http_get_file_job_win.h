// The record of one transfer and the routine that runs it. HttpGetFile fills the record on
// the caller's thread; from then on the thread that runs the transfer owns it and frees it,
// with its copy of the headers, at the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/unique_handle_win.h"
#include "transfer/http_file_target_win.h"
#include "transfer/transfer_control_win.h"

constexpr size_t kTransferUrlSize = 1024;
constexpr size_t kTransferAgentSize = 512;

// What bounds a transfer beyond the call's own arguments (see transfer_limits.h).
struct TransferPolicy {
  DWORD deadlineMs = 0;      // the whole transfer ends within this time; 0 = no deadline
  int64_t refuseAbove = -1;  // more bytes than this (announced or stored) fail; -1 = no cap
  bool resume = true;        // a broken file-mode transfer may be resumed
};

struct HttpGetFileJob {
  int toFile = 0;
  char url[kTransferUrlSize] = {};  // canonical form
  UniqueFileHandle file;            // empty when the bytes are discarded or kept in memory
  int id = 0;
  HWND notifyWnd = nullptr;
  char agent[kTransferAgentSize] = {};
  int maxBytes = -1;
  char** outBuffer = nullptr;
  int* outLength = nullptr;
  int priority = 0;
  int* outContentLength = nullptr;
  std::unique_ptr<char[]> headers;  // extra request header lines, or null
  // A transfer into a caller's file (HttpGetFileInto): its size limit and outcome, shared with
  // the caller; released after the completion message (see http_file_target_win.h).
  std::shared_ptr<HttpFileTarget> target;
  std::string path;  // the target file, deleted when the transfer is abandoned
  TransferPolicy policy;
  TransferControl control;  // registered under `id` while the transfer runs
};

// HttpGetFile with a policy of the caller's (HttpGetFile itself uses the default one).
int HttpGetFileWithPolicy(const TransferPolicy& policy, const char* url, const char* filePath,
                          HWND notifyWnd, int* outJobId, int synchronous, const char* agent,
                          int maxBytes, int toFile, char** outBuffer, int* outLength, int priority,
                          int* outContentLength, const char* headers);

// Runs a transfer that has already been counted in g_runningCount and registered, on the
// calling thread, and returns its outcome (1 success, 0 failure or cancel). Posts
// completion, frees the record and takes the transfer off the count at the very end.
int RunHttpGetFileJob(std::unique_ptr<HttpGetFileJob> job);
