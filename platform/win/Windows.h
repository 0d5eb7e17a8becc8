#pragma once
// The layer's whole Win32 subset in one include, as the system's code expects it.
#include "platform/win/WinTypes.h"
#include "platform/win/Records.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Profile.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/Time64.h"
