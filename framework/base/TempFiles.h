#pragma once
// Temporary files of the framework (print spooling, clipboard exports).
#include "framework/base/TBString.h"

// The system's temporary directory, with its trailing separator; empty when unknown.
CTBString GetTempDirectory();
// A new, empty, unique file made by the system in that directory (at most 259 characters);
// empty when none could be made.
CTBString MakeTempFileName(const char* pszPrefix);
