// The launcher's own INI reader: loads a whole file (at most 1,000,000 bytes; narrow text,
// or UTF-16LE or UTF-8 with a byte-order mark) into memory once and answers lookups from it.
// Section and key names compare without regard to case. The process has one instance,
// g_launcherIni. Portable; used on the main thread only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/pooled_list.h"

struct IniEntry {
  IniEntry(std::string entryKey, std::string entryValue)
      : key(std::move(entryKey)), value(std::move(entryValue)) {}
  std::string key;
  std::string value;
};

struct IniSection {
  explicit IniSection(std::string sectionName) : name(std::move(sectionName)) {}
  std::string name;              // as written between the brackets, trimmed
  PooledList<IniEntry> entries;  // in file order; repeated keys are all kept
};

// Larger files are refused whole.
constexpr size_t kIniMaxFileBytes = 1000000;

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Empties the document, then reads and parses the file. True when the file could be
  // opened and read completely, whatever its lines held; after false the document is empty.
  bool LoadFile(const char* path);
  // Empties the document, then parses `size` bytes as the content of a file. LoadFile
  // hands the bytes it read to this same parser.
  void LoadBuffer(const char* bytes, size_t size);
  // The value of the first entry named `key` in section `section`, or `defaultValue`.
  std::string GetValue(const char* section, const char* key, const char* defaultValue) const;
  // Gives the first entry named `key` in `section` the value `value`, adding the section and
  // the entry when they are missing. The file itself is not touched.
  void SetValue(const char* section, const char* key, const std::string& value);
  void Clear();

  // Sections in order of first appearance; a later header of the same name (without regard
  // to case) adds to the earlier section.
  const PooledList<IniSection>& Sections() const { return m_sections; }

 private:
  void ParseText(std::string_view text);
  IniSection& FindOrAddSection(const std::string& name);

  PooledList<IniSection> m_sections;
  // Sections by name with ASCII letters folded to lower case, so that a file with many
  // sections is still read in linear time.
  std::unordered_multimap<std::string, IniSection*> m_sectionsByFoldedName;
};

// The launcher INI, loaded once by the main routine.
extern IniDocument g_launcherIni;
