// The launcher's language, from LANGUAGE in [GENERAL] of the launcher INI: absent or empty,
// the string table speaks as it always has; "auto", the user's interface language when the
// launcher carries it, else English; a tag (en, ru, de, ...), that language. A language whose
// texts the ANSI code page cannot show falls back to English. The log says what was chosen.
#pragma once

#include "ini/ini_document.h"

void ApplyLanguageSetting(const IniDocument& launcherIni);
