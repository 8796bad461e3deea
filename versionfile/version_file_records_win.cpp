#include "versionfile/version_file_records_win.h"

#include <windows.h>

#include "common/unique_handle_win.h"
#include "versionfile/signed_version_file.h"
#include "versionfile/version_refresh.h"

namespace {

const char kHighestIssuedKey[] = "Software\\ZuLauncher\\VersionFiles\\HighestIssued";
const char kRefreshTimeKey[] = "Software\\ZuLauncher\\VersionFiles\\RefreshTime";
const char kFeedHighestIssuedKey[] = "Software\\ZuLauncher\\VersionFiles\\Feeds\\HighestIssued";
const char kFeedRefreshTimeKey[] = "Software\\ZuLauncher\\VersionFiles\\Feeds\\RefreshTime";
// Value names may hold any character but are limited in length; addresses and paths are
// shorter than this in practice, and a longer one is simply not remembered.
constexpr size_t kMaxValueName = 16383;
// A record is a number or an address; anything longer is no record of ours.
constexpr DWORD kMaxRecordBytes = 4096;
const char kServingAddressKey[] = "Software\\ZuLauncher\\VersionFiles\\ServedBy";

// The value's text (REG_SZ), or false when the key or the value is missing or not text.
bool ReadText(const char* subkey, const std::string& name, std::string& text) {
  if (name.empty() || name.size() > kMaxValueName) return false;
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return false;
  UniqueRegistryKey key(opened);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size > kMaxRecordBytes)
    return false;
  std::string buffer(size + 1, '\0');
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
      type != REG_SZ || size >= buffer.size())
    return false;
  buffer.resize(size);
  text = buffer.c_str();  // up to the first zero byte
  return true;
}

bool WriteText(const char* subkey, const std::string& name, const std::string& text) {
  if (name.empty() || name.size() > kMaxValueName) return false;
  HKEY created = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  UniqueRegistryKey key(created);
  return ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

const char* FloorKey(const VersionFileRecords& records) {
  return records.feedId.empty() ? kHighestIssuedKey : kFeedHighestIssuedKey;
}
const std::string& FloorName(const VersionFileRecords& records) {
  return records.feedId.empty() ? records.url : records.feedId;
}
const char* RefreshTimeKey(const VersionFileRecords& records) {
  return records.feedId.empty() ? kRefreshTimeKey : kFeedRefreshTimeKey;
}
const std::string& RefreshTimeName(const VersionFileRecords& records) {
  return records.feedId.empty() ? records.localCopy : records.feedId;
}

}  // namespace

bool ReadHighestIssued(const VersionFileRecords& records, uint64_t& issued) {
  std::string text;
  // The same decimal form as ISSUED itself; anything else counts as no record.
  return ReadText(FloorKey(records), FloorName(records), text) &&
         ReadIssued("[GENERAL]\nISSUED=" + text, issued);
}

bool RaiseHighestIssued(const VersionFileRecords& records, uint64_t issued) {
  uint64_t recorded = 0;
  if (ReadHighestIssued(records, recorded) && recorded >= issued) return true;
  return WriteText(FloorKey(records), FloorName(records), std::to_string(issued));
}

int64_t ReadRefreshTime(const VersionFileRecords& records) {
  std::string text;
  return ReadText(RefreshTimeKey(records), RefreshTimeName(records), text) ? ParseUpdateTime(text)
                                                                           : 0;
}

bool WriteRefreshTime(const VersionFileRecords& records, int64_t seconds) {
  return WriteText(RefreshTimeKey(records), RefreshTimeName(records), FormatUpdateTime(seconds));
}

bool ReadServingAddress(const std::string& localCopy, std::string& url) {
  return ReadText(kServingAddressKey, localCopy, url) && !url.empty();
}

bool WriteServingAddress(const std::string& localCopy, const std::string& url) {
  return WriteText(kServingAddressKey, localCopy, url);
}
