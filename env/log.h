// The diagnostic log: one printf-style line per call, sent to a receiver window of another
// process when one is running ("RECV_CLASS" titled "RECV"); without one a call costs a window
// lookup and nothing else. No file, no levels, no timestamps. Portable declaration, Windows
// implementation (env/log_win.cpp). User-interface thread.
#pragma once

#include "common/format.h"

void LogLine(const char* format, ...) ZU_PRINTF_FORMAT(1, 2);
