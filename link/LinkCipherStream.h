#pragma once
// The link's bytes through Twofish under the session key. Out: each line with its ending is
// padded with '-' to the next multiple of 16 bytes and enciphered, so every write is a whole
// number of blocks. In: whole blocks are deciphered as they complete, the rest is carried to
// the next read, and the padding after each line feed is removed.
#include <vector>
#include "platform/win/WinTypes.h"

#define LINK_CIPHER_BLOCK 16
#define LINK_SESSION_KEY_SIZE 33        // 32 hexadecimal characters and a NUL

class CLinkCipherStream
{
public:
    CLinkCipherStream();

    // Switching on or off empties the carry and starts counting blocks afresh.
    void SetOn(BOOL bOn);
    BOOL IsOn() const { return m_bOn; }
    char* GetKeyBuffer() { return m_szKey; }
    const char* GetKey() const { return m_szKey; }
    void ClearKey();
    int  GetCarryLength() const { return m_nCarry; }

    // Appends the padded, enciphered bytes to out. FALSE, with nothing appended, when the
    // cipher refuses (not initialised, or a key that is not 32 hexadecimal characters).
    BOOL Encrypt(const char* pBytes, int nLength, std::vector<BYTE>& out) const;

    // Deciphers the carry and the new bytes as one run of whole blocks (ECB: the cipher may take
    // several blocks at once) and appends the plain bytes to out,
    // without the padding. Padding is a run of '-' that follows a line feed and ends exactly at
    // a block boundary of the deciphered stream: the sender pads every line on its own, so a
    // line always starts on a boundary and its own leading '-' or "-5" stays. FALSE when the
    // cipher refuses; those blocks are lost, the stream keeps its block count.
    BOOL Decrypt(const BYTE* pBytes, int nLength, std::vector<BYTE>& out);

private:
    BOOL m_bOn = FALSE;
    char m_szKey[LINK_SESSION_KEY_SIZE];
    BYTE m_carry[LINK_CIPHER_BLOCK];
    int  m_nCarry = 0;
};
