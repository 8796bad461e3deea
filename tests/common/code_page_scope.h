// Runs a test in a given ANSI code page and restores the previous one afterwards.
#pragma once

#include "common/codepage.h"

class CodePageScope {
 public:
  explicit CodePageScope(unsigned codePage) : m_previous(ActiveCodePage()) {
    SetActiveCodePage(codePage);
  }
  ~CodePageScope() { SetActiveCodePage(m_previous); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  unsigned m_previous;
};
