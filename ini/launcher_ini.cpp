#include "ini/ini_document.h"

IniDocument g_launcherIni;
