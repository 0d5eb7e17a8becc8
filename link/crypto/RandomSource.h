#pragma once
// Key material comes from the operating system's random source. A generator seeded with the
// time in seconds would let anyone who recorded a session replay the seconds of a day.
#include "platform/win/WinTypes.h"
#include <cstddef>

// Fills the buffer; FALSE, with the buffer wiped, when the source fails.
BOOL GetRandomBytes(void* pBuffer, size_t nBytes);
