#include "app/result_code.h"

std::string ResultCodeMeaning(int code) {
  std::string meaning;
  for (const OutcomeRow& row : kOutcomeTable) {
    if (static_cast<int>(row.code) != code) continue;
    if (!meaning.empty()) meaning += " / ";
    meaning += row.meaning;
  }
  return meaning.empty() ? "unknown code" : meaning;
}
