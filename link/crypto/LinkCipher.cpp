#include "link/crypto/LinkCipher.h"
#include "link/crypto/Twofish.h"
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The expanded key of the last key text. The link encrypts and decrypts many short lines under
// one session key, and the schedule (4 KB of S-box tables) costs more than a line's blocks.
// Encryption and decryption share it: the two directions use the same tables and subkeys.
class CKeptKey
{
public:
    ~CKeptKey() { Forget(); }   // the key does not outlive the process in freed memory

    const TwofishKeyInstance* KeyFor(const char* pszKeyText)
    {
        if (m_bValid && strncmp(pszKeyText, m_szText, sizeof m_szText) == 0)
            return &m_key;
        Forget();
        if (TwofishMakeKey(&m_key, TWOFISH_DIR_ENCRYPT, TWOFISH_KEY_BITS, pszKeyText) != TWOFISH_TRUE) {
            Forget();
            return nullptr;
        }
        memcpy(m_szText, pszKeyText, sizeof m_szText);   // 32 hexadecimal characters, checked above
        m_bValid = TRUE;
        return &m_key;
    }

    void Forget()
    {
        TwofishWipeKey(&m_key);
        explicit_bzero(m_szText, sizeof m_szText);
        m_bValid = FALSE;
    }

private:
    TwofishKeyInstance m_key;
    char m_szText[32] = {};         // the key text m_key was made from; no terminator
    BOOL m_bValid = FALSE;
};

TwofishCipherInstance s_cipher;
BOOL s_bCipherReady = FALSE;
CKeptKey s_keptKey;

int ProcessBlocks(BOOL bEncrypt, BYTE* pOutput, const BYTE* pInput, int nLength, const char* pszKeyText)
{
    if (!s_bCipherReady || pszKeyText == nullptr)
        return -1;
    const TwofishKeyInstance* pKey = s_keptKey.KeyFor(pszKeyText);
    if (pKey == nullptr) {
        fputs("Key generation failed!\n", stderr);
        return -1;
    }
    const int nBits = (nLength >= 0 && nLength <= INT_MAX / 8) ? nLength * 8 : -1;
    const int nDone = bEncrypt ? TwofishBlockEncrypt(&s_cipher, pKey, pInput, nBits, pOutput)
                               : TwofishBlockDecrypt(&s_cipher, pKey, pInput, nBits, pOutput);
    if (nBits < 0 || nDone != nBits) {
        fputs(bEncrypt ? "Encryption failed!\n" : "Decryption failed!\n", stderr);
        return -1;
    }
    return 0;
}

} // namespace

int TwofishCipherInit()
{
    if (TwofishCipherInitInstance(&s_cipher, TWOFISH_MODE_ECB, nullptr) != TWOFISH_TRUE) {
        fputs("Cipher init failed!\n", stderr);
        return -1;
    }
    s_bCipherReady = TRUE;
    return 0;
}

int TwofishEncryptBlocks(BYTE* pOutput, const BYTE* pInput, int nLength, const char* pszKeyText)
{
    return ProcessBlocks(TRUE, pOutput, pInput, nLength, pszKeyText);
}

int TwofishDecryptBlocks(BYTE* pOutput, const BYTE* pInput, int nLength, const char* pszKeyText)
{
    return ProcessBlocks(FALSE, pOutput, pInput, nLength, pszKeyText);
}
