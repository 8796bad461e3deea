// Whether the result code goes to the host's window handle as the parameter gives it.
#pragma once

// False for 0 (no host) and for the two values the system takes as "every top-level window"
// (0xFFFF and 0xFFFFFFFF): a post there would hand the code to every window of the desktop,
// other hosts waiting for their own result included.
bool ShouldPostResult(unsigned handle);
