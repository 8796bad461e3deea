// The record of one transfer and the routine that runs it. The entry points (HttpGetFile,
// transfer_win.h) fill the record on the caller's thread; from then on the thread that runs
// the transfer owns it and frees it at the end.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/unique_handle_win.h"
#include "transfer/http_file_target_win.h"
#include "transfer/transfer_control_win.h"
#include "transfer/transfer_request.h"

constexpr size_t kTransferUrlSize = 1024;
constexpr size_t kTransferAgentSize = 512;

struct TransferJob {
  TransferRequest request;  // its URL in canonical form
  int id = 0;
  HWND notifyWnd = nullptr;

  // Where the body goes: a file (`toFile`; no `file` = discarded) or a growing buffer.
  int toFile = 0;
  UniqueFileHandle file;
  std::string path;  // a file the engine created: deleted when the transfer is abandoned
  // A transfer into a caller's file: the record shared with the caller, told when the size
  // limit was exceeded and released after the completion (see http_file_target_win.h).
  std::shared_ptr<HttpFileTarget> target;

  // HttpGetFile's own arguments: success once this many bytes are stored (-1 = no such
  // limit), and the out-pointers the worker writes until its completion message.
  int maxBytes = -1;
  int* outJobId = nullptr;  // written when the transfer is committed
  char** outBuffer = nullptr;
  int* outLength = nullptr;
  int* outContentLength = nullptr;

  TransferControl control;  // registered under `id` while the transfer runs
};

// A record for `request` with its URL made canonical; null when the URL does not canonicalise
// into 1024 bytes or is no web address, when the agent has 512 or more characters, or when
// memory is short.
std::unique_ptr<TransferJob> NewTransferJob(const TransferRequest& request);

// Commits the transfer and runs it on the calling thread; its outcome (1 success, 0 failure
// or cancel).
int RunTransferHere(std::unique_ptr<TransferJob> job, UniqueFileHandle file);
// Starts a worker that takes the record and `file` along and commits the transfer (its id
// goes to `outJobId`); false when no thread could be started: then `job` and `file` are
// still the caller's.
bool StartTransferWorker(std::unique_ptr<TransferJob>& job, UniqueFileHandle& file);

// Runs a committed transfer on the calling thread and returns its outcome. Posts the
// completion, frees the record and takes the transfer off the registry at the very end
// (http_transfer_win.cpp).
int RunTransferJob(std::unique_ptr<TransferJob> job);
