#pragma once
// The three cipher calls of the link: initialise the process-wide cipher once, then encrypt or
// decrypt whole 16-byte blocks under a session key text. Diagnostics go to stderr only.
#include "platform/win/WinTypes.h"

// Sets the process-wide cipher up in ECB mode: 0, or -1 ("Cipher init failed!").
int TwofishCipherInit();

// nLength is in bytes and a multiple of 16; pszKeyText holds 32 hexadecimal characters.
// 0 on success; -1 before TwofishCipherInit, without a key text (nothing written), for a key
// text that is not hexadecimal ("Key generation failed!") or a bad length ("Encryption failed!",
// "Decryption failed!"). Output may equal input, which is how the link deciphers what it read.
// The expanded key of the last key text is kept, so a new key costs one key schedule and
// every further buffer under it none.
int TwofishEncryptBlocks(BYTE* pOutput, const BYTE* pInput, int nLength, const char* pszKeyText);
int TwofishDecryptBlocks(BYTE* pOutput, const BYTE* pInput, int nLength, const char* pszKeyText);
