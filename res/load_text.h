// Texts of the program's string table, as narrow text in the ANSI code page.
#pragma once

#include "res/text_id.h"

// Loads string `id` into one process-wide buffer of 1024 characters and returns it; "--"
// when the table has no such id. The next call overwrites the buffer: copy at once.
// User-interface thread only.
const char* LoadText(TextId id);
