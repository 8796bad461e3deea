// The module resources every message box uses, set once by SetMessageDlgResources before
// the first box and only read afterwards.
#pragma once

#include <windows.h>

// The module that owns the boxes and their icon: the one given to SetMessageDlgResources,
// else the program's own module.
HINSTANCE MessageDlgInstance();
// The icon resource id: 102 until SetMessageDlgResources sets another.
int MessageDlgIconId();
