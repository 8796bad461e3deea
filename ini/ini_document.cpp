#include "ini/ini_document.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "common/text.h"
#include "ini/ini_line.h"
#include "ini/ini_text_decoding.h"

namespace {

std::string FoldAsciiCase(const std::string& text) {
  std::string folded = text;
  for (char& byte : folded) {
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
  }
  return folded;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file in one buffer, or false when it cannot be opened, measured or read
// completely, or is larger than kIniMaxFileBytes.
bool ReadWholeFile(const char* path, std::vector<char>& bytes) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  long size = std::ftell(file.get());
  if (size < 0 || static_cast<unsigned long>(size) > kIniMaxFileBytes) return false;
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  bytes.resize(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
  // Probing one byte further reveals read errors (such as a directory on POSIX systems)
  // that a zero-byte read does not; a file that grew meanwhile is read as measured.
  std::fgetc(file.get());
  return !std::ferror(file.get());
}

}  // namespace

IniDocument::IniDocument() = default;

IniDocument::~IniDocument() {
  Clear();
}

void IniDocument::Clear() {
  m_sectionsByFoldedName.clear();
  m_sections.Clear();
}

bool IniDocument::LoadFile(const char* path) {
  Clear();
  if (!path) return false;
  try {
    std::vector<char> bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    LoadBuffer(bytes.data(), bytes.size());
    return true;
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
}

void IniDocument::LoadBuffer(const char* bytes, size_t size) {
  Clear();
  std::string converted;
  std::string_view text;
  if (bytes && DecodeIniText(bytes, size, converted, text)) ParseText(text);
}

IniSection& IniDocument::FindOrAddSection(const std::string& name) {
  std::string folded = FoldAsciiCase(name);
  auto range = m_sectionsByFoldedName.equal_range(folded);
  for (auto it = range.first; it != range.second; ++it) {
    if (EqualsNoCase(it->second->name, name)) return *it->second;
  }
  IniSection& section = m_sections.Append(name);
  m_sectionsByFoldedName.emplace(std::move(folded), &section);
  return section;
}

void IniDocument::ParseText(std::string_view text) {
  IniLineReader reader(text);
  IniSection* current = nullptr;
  std::string line;
  std::string key;
  std::string value;
  while (reader.ReadLine(line)) {
    switch (ClassifyLine(line)) {
      case IniLineKind::Section: {
        std::string name = SectionNameOf(line);
        // "[]" ends the current section: its following entries have nowhere to go.
        current = name.empty() ? nullptr : &FindOrAddSection(name);
        break;
      }
      case IniLineKind::KeyValue:
        if (current && SplitKeyValue(line, key, value)) {
          current->entries.Append(std::move(key), std::move(value));
        }
        break;
      default:
        break;
    }
  }
}

void IniDocument::SetValue(const char* section, const char* key, const std::string& value) {
  IniSection& target = FindOrAddSection(section);
  for (IniEntry& entry : target.entries) {
    if (EqualsNoCase(entry.key, key)) {
      entry.value = value;
      return;
    }
  }
  target.entries.Append(std::string(key), value);
}

std::string IniDocument::GetValue(const char* section, const char* key,
                                  const char* defaultValue) const {
  std::string fallback = defaultValue ? defaultValue : "";
  if (!section || !key) return fallback;
  for (const IniSection& candidate : m_sections) {
    if (!EqualsNoCase(candidate.name, section)) continue;
    for (const IniEntry& entry : candidate.entries) {
      if (EqualsNoCase(entry.key, key)) return entry.value;
    }
    return fallback;  // section names are unique
  }
  return fallback;
}
