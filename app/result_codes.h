// The launcher's result codes with a short English meaning, for hosts' tools and logs.
// The user-visible texts are the Russian ones of the string table. Portable.
#pragma once

// "unknown code" for a number the launcher never produces.
const char* ResultCodeMeaning(int code);
