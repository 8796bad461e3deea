// Test failures name an outcome by its code and meaning rather than by its bytes.
#pragma once

#include <ostream>

#include "app/result_code.h"

inline void PrintTo(Outcome outcome, std::ostream* out) {
  if (outcome >= Outcome::Count) {
    *out << "(no outcome)";
    return;
  }
  *out << "code " << CodeOf(outcome) << " (" << RowOf(outcome).meaning << ")";
}
