// The in-memory dialog template of the message box: a bare popup with no items; the box
// creates its controls and sets its size and place itself.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kMessageDlgTemplateSize = 1024;
// The template title holds at most this many UTF-16 units, terminator included.
constexpr size_t kMessageDlgTitleUnits = 100;

// Writes the template into a zero-filled block of kMessageDlgTemplateSize bytes (DWORD
// aligned, as GlobalAlloc gives it). The title is `caption` converted from the ANSI code
// page, cut to fit without splitting a surrogate pair.
void WriteMessageDlgTemplate(void* block, const std::string& caption);
