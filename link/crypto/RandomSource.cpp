#include "link/crypto/RandomSource.h"
#include <sys/random.h>
#include <cerrno>
#include <cstring>

BOOL GetRandomBytes(void* pBuffer, size_t nBytes)
{
    BYTE* p = static_cast<BYTE*>(pBuffer);
    size_t nDone = 0;
    while (nDone < nBytes) {
        const ssize_t n = getrandom(p + nDone, nBytes - nDone, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            explicit_bzero(pBuffer, nBytes);
            return FALSE;
        }
        nDone += static_cast<size_t>(n);
    }
    return TRUE;
}
