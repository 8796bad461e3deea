// The arithmetic of the installer download dialog's progress display: the percentage, the
// throttle that decides whether a progress message refreshes the display, and the grouping
// of the byte count. Portable, so it is tested natively; the dialog only measures and draws.
#pragma once

#include <cstdint>
#include <string>

// The size that 100 % stands for when the server announces no length.
constexpr int kUnknownLengthFullBar = 1048576;

// The dialog refreshes at most once per this many milliseconds while the percentage stays.
constexpr uint32_t kProgressRefreshInterval = 100;

// bytes * 100 / total, the product taken at 64 bits and rounded to the nearest integer (half
// away from zero). -1 when total is 0 or the result does not fit a 32-bit int: the platform's
// MulDiv answers, so a zero-length download keeps the bar at 0.
int ProgressPercent(int bytes, int total);

// The size a start message's content length stands for: itself; when the length is unknown
// (-1), the installer's expected size (clamped to the int range) when one is known (above 0),
// else 1 MiB.
int ProgressTotal(int contentLength, int64_t expectedSize = -1);

// True when a progress message at tick `now` with `percent` must refresh the display that
// was last refreshed at `lastTick` with `lastPercent`: the percentage changed, or more than
// 100 ms have passed. Elapsed time is measured modulo 2^32, so the tick count's wrap-around
// after 49.7 days neither freezes nor floods the display.
bool ShouldRefreshProgress(uint32_t lastTick, int lastPercent, uint32_t now, int percent);

// The byte count with thousands separated by commas: 999, 1,000, 1,234,567. A minus sign
// stays in front of the digits and is not grouped.
std::string FormatByteCount(int bytes);
