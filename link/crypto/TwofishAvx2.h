#pragma once
// Twofish eight blocks at a time in AVX2 lanes: one 32-bit lane per block for each state word,
// the key's S-box tables read with gathers. Built for x86-64 only; used only where the CPU says
// it has AVX2. Internal to Twofish.cpp, which handles the blocks these leave over.
#include "link/crypto/Twofish.h"

BOOL TwofishAvx2Available();
// Process the leading multiple of eight of nBlocks; returns how many blocks were done (0 where
// AVX2 is missing). Output may equal input.
size_t TwofishAvx2Encrypt(const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput);
size_t TwofishAvx2Decrypt(const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput);
