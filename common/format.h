// printf-style formatting into std::string that never truncates, whatever the length of
// its arguments. Portable.
#pragma once

#include <cstdarg>
#include <string>

#if defined(__clang__)
#define ZU_PRINTF_FORMAT(format_index, first_arg) \
  __attribute__((format(printf, format_index, first_arg)))
#elif defined(__GNUC__)
#define ZU_PRINTF_FORMAT(format_index, first_arg) \
  __attribute__((format(gnu_printf, format_index, first_arg)))
#else
#define ZU_PRINTF_FORMAT(format_index, first_arg)
#endif

std::string Format(const char* format, ...) ZU_PRINTF_FORMAT(1, 2);
std::string FormatV(const char* format, va_list args);
