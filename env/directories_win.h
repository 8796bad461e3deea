// The program's own directory (the anchor for relative file names), the current and the
// temporary directory, existence tests and fresh temporary files. Any thread.
#pragma once

#include <functional>
#include <string>

#include "common/unique_handle_win.h"

// Directory of the program file, ending in a backslash; computed once, the same text on
// every call.
std::string GetModuleDir();
// The current directory as the system reports it (no trailing backslash except for a drive
// root); empty when the system cannot report it within 260 characters.
std::string GetCurrentDir();
// The system temporary directory, ending in a backslash; empty when the system cannot
// report it within 260 characters.
std::string GetTempDir();
// True when the attributes of `path` can be read and mark a directory.
bool DirExists(const std::string& path);
// True when the attributes of `path` can be read and do not mark a directory.
bool FileExists(const std::string& path);

// Creates a new empty file "t" + two digits + five hex digits + ".tmp" and gives its name; the
// hex digits are random (the system's cryptographic generator) and the file is created only
// when nothing of that name exists, so no two callers, in this process or another, get the
// same file. The base is `directory` when it exists and leaves room for the name within 260
// characters; when it is missing or 100 attempts there fail, the user's temporary directory
// is tried the same way. No other folder is ever used: gives the empty text when no file
// could be created.
std::string MakeTempFileName(const std::string& directory = std::string());

// The same with the numbers supplied by the caller (false: none left), so tests can predict
// names.
std::string MakeTempFileNameWith(const std::string& directory,
                                 const std::function<bool(unsigned&)>& nextNumber);

// The same file, kept open for writing and renaming (DELETE access) and shared for reading
// only, so that what the caller writes is what lies there until the handle is closed. An empty
// handle (and `name` empty) when no file could be created.
UniqueFileHandle CreateTempFile(const std::string& directory, std::string& name);
UniqueFileHandle CreateTempFileWith(const std::string& directory,
                                    const std::function<bool(unsigned&)>& nextNumber,
                                    std::string& name);
