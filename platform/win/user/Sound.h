#pragma once
// Sounds: the beep and wave files. Both return at once; a machine without sound stays silent and
// the calls still succeed, so no caller ever waits on or fails for the sound card.
#include "platform/win/WinTypes.h"

#define MB_OK              0x00000000L
#define MB_ICONHAND        0x00000010L
#define MB_ICONQUESTION    0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK    0x00000040L
#define MB_ICONERROR       MB_ICONHAND
#define MB_ICONSTOP        MB_ICONHAND
#define MB_ICONWARNING     MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK

#define SND_SYNC        0x0000
#define SND_ASYNC       0x0001
#define SND_NODEFAULT   0x0002
#define SND_MEMORY      0x0004
#define SND_LOOP        0x0008
#define SND_NOSTOP      0x0010
#define SND_NOWAIT      0x00002000L
#define SND_ALIAS       0x00010000L
#define SND_FILENAME    0x00020000L
#define SND_RESOURCE    0x00040004L
#define SND_PURGE       0x0040

BOOL MessageBeep(UINT uType);
// How many times MessageBeep has sounded in this process, and its last kind: a machine without
// sound, or a test, still tells that a beep was given.
UINT TbGetBeepCount();
UINT TbGetLastBeepType();
// A file name (SND_FILENAME or a plain name) is started and the call returns at once, SND_SYNC
// included: nothing in the program may block on the sound. A null name stops what plays.
// Memory images and aliases are not played (FALSE).
BOOL PlaySoundA(LPCSTR pszSound, HMODULE hModule, DWORD fdwSound);
BOOL sndPlaySoundA(LPCSTR pszSound, UINT fuSound);
