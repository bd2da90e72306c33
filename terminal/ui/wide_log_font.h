// A FontSpec in the wide form of the font API.
#pragma once

#include <windows.h>

#include "terminal/model/terminal_state.h"

// The face name of a FontSpec is code page 932 text, whatever the system code
// page is (the font dialog stores Japanese names that way); the A functions
// would read it in the system code page, so fonts are made and chosen through
// the wide form. A name that does not convert becomes empty.
LOGFONTW WideLogFont(const FontSpec& font);
