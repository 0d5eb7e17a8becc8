// Sounds, played by the display.
#include <sys/stat.h>
#include "platform/win/user/Display.h"
#include "platform/win/user/Sound.h"

namespace {
struct BeepRecord {
    UINT nCount = 0;
    UINT uLastType = 0;
};
BeepRecord& Beeps()
{
    static BeepRecord s_beeps;
    return s_beeps;
}
}  // namespace

BOOL MessageBeep(UINT uType)
{
    ++Beeps().nCount;
    Beeps().uLastType = uType;
    TbGetDisplay()->Beep(uType);
    return TRUE;
}

UINT TbGetBeepCount()
{
    return Beeps().nCount;
}

UINT TbGetLastBeepType()
{
    return Beeps().uLastType;
}

BOOL PlaySoundA(LPCSTR pszSound, HMODULE, DWORD fdwSound)
{
    if (!pszSound || (fdwSound & SND_PURGE))
        return TbGetDisplay()->PlayWave("", FALSE);
    if ((fdwSound & SND_MEMORY) || (fdwSound & SND_ALIAS) == SND_ALIAS || (fdwSound & SND_RESOURCE) == SND_RESOURCE)
        return FALSE;
    struct stat st;
    if (stat(pszSound, &st) != 0 || !S_ISREG(st.st_mode)) {
        // The original plays the default sound for a missing file unless told not to.
        if (!(fdwSound & SND_NODEFAULT))
            TbGetDisplay()->Beep(0);
        return FALSE;
    }
    return TbGetDisplay()->PlayWave(pszSound, (fdwSound & SND_LOOP) != 0);
}

BOOL sndPlaySoundA(LPCSTR pszSound, UINT fuSound)
{
    return PlaySoundA(pszSound, nullptr, (fuSound & (SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP)) | SND_FILENAME);
}
