// The link's cipher per block and per padded line, and the key exchange's modular
// exponentiation, each beside nettle or GMP on the same data.
#include "link/crypto/BigInt.h"
#include "link/crypto/LinkCipher.h"
#include "link/crypto/Twofish.h"
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <nettle/twofish.h>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char s_szKeyText[] = "3A7F0C19B2D4E65801F9C7A3E2B4D6C8";
const BYTE s_key[16] = {0x3A, 0x7F, 0x0C, 0x19, 0xB2, 0xD4, 0xE6, 0x58,
                        0x01, 0xF9, 0xC7, 0xA3, 0xE2, 0xB4, 0xD6, 0xC8};
const int LINE_LENGTH = 100;            // a typical server line with its LF
const int PADDED_LENGTH = 112;          // padded with '-' to whole blocks

struct LineBuffer
{
    BYTE line[LINE_LENGTH];
    LineBuffer()
    {
        for (int i = 0; i < LINE_LENGTH - 1; ++i)
            line[i] = static_cast<BYTE>("&GS|1|XC|12345|KWD|0.345|1200|"[i % 30]);
        line[LINE_LENGTH - 1] = '\n';
    }
    // What the link does before it writes a line: copy, pad, encipher.
    void Pad(BYTE* pOut) const
    {
        memcpy(pOut, line, LINE_LENGTH);
        memset(pOut + LINE_LENGTH, '-', PADDED_LENGTH - LINE_LENGTH);
    }
};

void BM_TwofishEncryptBlock(benchmark::State& state)
{
    TwofishCipherInit();
    BYTE block[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        TwofishEncryptBlocks(block, block, 16, s_szKeyText);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * 16);
}

void BM_NettleEncryptBlock(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    BYTE block[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        twofish_encrypt(&ctx, 16, block, block);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * 16);
}

void BM_TwofishDecryptBlock(benchmark::State& state)
{
    TwofishCipherInit();
    BYTE block[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        TwofishDecryptBlocks(block, block, 16, s_szKeyText);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * 16);
}

void BM_NettleDecryptBlock(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    BYTE block[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        twofish_decrypt(&ctx, 16, block, block);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * 16);
}

void BM_TwofishEncryptLine(benchmark::State& state)
{
    TwofishCipherInit();
    const LineBuffer source;
    BYTE padded[PADDED_LENGTH], out[PADDED_LENGTH];
    for (auto _ : state) {
        source.Pad(padded);
        TwofishEncryptBlocks(out, padded, PADDED_LENGTH, s_szKeyText);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LINE_LENGTH);
}

void BM_NettleEncryptLine(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    const LineBuffer source;
    BYTE padded[PADDED_LENGTH], out[PADDED_LENGTH];
    for (auto _ : state) {
        source.Pad(padded);
        twofish_encrypt(&ctx, PADDED_LENGTH, out, padded);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LINE_LENGTH);
}

// Receiving: the blocks of one line deciphered in place, as the link does with what it read.
void BM_TwofishDecryptLine(benchmark::State& state)
{
    TwofishCipherInit();
    const LineBuffer source;
    BYTE buffer[PADDED_LENGTH];
    source.Pad(buffer);
    for (auto _ : state) {
        TwofishDecryptBlocks(buffer, buffer, PADDED_LENGTH, s_szKeyText);
        benchmark::DoNotOptimize(buffer);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LINE_LENGTH);
}

void BM_NettleDecryptLine(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    const LineBuffer source;
    BYTE buffer[PADDED_LENGTH];
    source.Pad(buffer);
    for (auto _ : state) {
        twofish_decrypt(&ctx, PADDED_LENGTH, buffer, buffer);
        benchmark::DoNotOptimize(buffer);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * LINE_LENGTH);
}

// A whole 64 KiB read deciphered in place (and the same run enciphered): the stream's runs of
// blocks, where several blocks can be in flight at once.
const int RUN_LENGTH = 64 * 1024;

struct RunBuffer
{
    std::vector<BYTE> bytes = std::vector<BYTE>(RUN_LENGTH);
    RunBuffer()
    {
        for (int i = 0; i < RUN_LENGTH; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<BYTE>(i * 131 + 7);
    }
};

void BM_TwofishEncrypt64K(benchmark::State& state)
{
    TwofishCipherInit();
    state.SetLabel("path " + std::to_string(TwofishSelectedPath()));
    RunBuffer run;
    for (auto _ : state) {
        TwofishEncryptBlocks(run.bytes.data(), run.bytes.data(), RUN_LENGTH, s_szKeyText);
        benchmark::DoNotOptimize(run.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * RUN_LENGTH);
}

void BM_NettleEncrypt64K(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    RunBuffer run;
    for (auto _ : state) {
        twofish_encrypt(&ctx, RUN_LENGTH, run.bytes.data(), run.bytes.data());
        benchmark::DoNotOptimize(run.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * RUN_LENGTH);
}

void BM_TwofishDecrypt64K(benchmark::State& state)
{
    TwofishCipherInit();
    state.SetLabel("path " + std::to_string(TwofishSelectedPath()));
    RunBuffer run;
    for (auto _ : state) {
        TwofishDecryptBlocks(run.bytes.data(), run.bytes.data(), RUN_LENGTH, s_szKeyText);
        benchmark::DoNotOptimize(run.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * RUN_LENGTH);
}

void BM_NettleDecrypt64K(benchmark::State& state)
{
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    RunBuffer run;
    for (auto _ : state) {
        twofish_decrypt(&ctx, RUN_LENGTH, run.bytes.data(), run.bytes.data());
        benchmark::DoNotOptimize(run.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * RUN_LENGTH);
}

// Each path beside nettle on the same run, the two timed in turns inside one loop so that a load
// that comes and goes falls on both alike; "x_nettle" is nettle's time over the path's.
// Argument: TWOFISH_PATH_..., or -1 for the path chosen on first use (named in the label).
template <bool bEncrypt>
void BM_TwofishPathVsNettle64K(benchmark::State& state)
{
    const int nPath = state.range(0) < 0 ? TwofishSelectedPath() : static_cast<int>(state.range(0));
    if (!TwofishPathAvailable(nPath)) {
        state.SkipWithError("path not available on this machine");
        return;
    }
    state.SetLabel("path " + std::to_string(nPath));
    TwofishKeyInstance key;
    TwofishMakeKey(&key, TWOFISH_DIR_ENCRYPT, TWOFISH_KEY_BITS, s_szKeyText);
    twofish_ctx ctx;
    twofish128_set_key(&ctx, s_key);
    RunBuffer ours, theirs;
    std::chrono::duration<double> ourTime{}, theirTime{};
    bool bOursFirst = true;
    for (auto _ : state) {
        for (int nTurn = 0; nTurn < 2; ++nTurn) {
            const auto start = std::chrono::steady_clock::now();
            if (bOursFirst == (nTurn == 0)) {
                (bEncrypt ? TwofishEncryptRun : TwofishDecryptRun)(nPath, &key, ours.bytes.data(), RUN_LENGTH / 16,
                                                                   ours.bytes.data());
                ourTime += std::chrono::steady_clock::now() - start;
            } else {
                (bEncrypt ? twofish_encrypt : twofish_decrypt)(&ctx, RUN_LENGTH, theirs.bytes.data(), theirs.bytes.data());
                theirTime += std::chrono::steady_clock::now() - start;
            }
        }
        bOursFirst = !bOursFirst;
        benchmark::DoNotOptimize(ours.bytes.data());
        benchmark::DoNotOptimize(theirs.bytes.data());
    }
    state.counters["x_nettle"] = ourTime.count() > 0 ? theirTime / ourTime : 0;
    TwofishWipeKey(&key);
}

// 256-bit operands, as in the key exchange: an odd modulus with its top bit set.
const char s_szBase[] = "6B1F0C3E9A2D7F4851C0B6E3A9D2F7C4E1B8A5D2F9C6E3B0A7D4F1C8E5B2A9D6";
const char s_szExponent[] = "D3C1A5F7E9B2C4D6A8F1E3B5C7D9A2F4E6B8C1D3A5F7E9B2C4D6A8F1E3B5C7D9";
const char s_szModulus[] = "F1E2D3C4B5A69788796A5B4C3D2E1F00112233445566778899AABBCCDDEEFF13";

void BM_BigIntExpMod256(benchmark::State& state)
{
    BIGINT g, x, m, y;
    BigIntInit(&g);
    BigIntInit(&x);
    BigIntInit(&m);
    BigIntInit(&y);
    BigIntReadRadix(&g, s_szBase, 16);
    BigIntReadRadix(&x, s_szExponent, 16);
    BigIntReadRadix(&m, s_szModulus, 16);
    for (auto _ : state) {
        BigIntExpMod(&g, &x, &m, &y);
        benchmark::DoNotOptimize(y.pDigits);
    }
    state.SetItemsProcessed(state.iterations());
    BigIntClear(&g);
    BigIntClear(&x);
    BigIntClear(&m);
    BigIntClear(&y);
}

void BM_GmpPowm256(benchmark::State& state)
{
    mpz_t g, x, m, y;
    mpz_init_set_str(g, s_szBase, 16);
    mpz_init_set_str(x, s_szExponent, 16);
    mpz_init_set_str(m, s_szModulus, 16);
    mpz_init(y);
    for (auto _ : state) {
        mpz_powm(y, g, x, m);
        benchmark::DoNotOptimize(y);
    }
    state.SetItemsProcessed(state.iterations());
    mpz_clears(g, x, m, y, nullptr);
}

} // namespace

BENCHMARK(BM_TwofishEncryptBlock);
BENCHMARK(BM_NettleEncryptBlock);
BENCHMARK(BM_TwofishDecryptBlock);
BENCHMARK(BM_NettleDecryptBlock);
BENCHMARK(BM_TwofishEncryptLine);
BENCHMARK(BM_NettleEncryptLine);
BENCHMARK(BM_TwofishDecryptLine);
BENCHMARK(BM_NettleDecryptLine);
BENCHMARK(BM_TwofishEncrypt64K);
BENCHMARK(BM_NettleEncrypt64K);
BENCHMARK(BM_TwofishDecrypt64K);
BENCHMARK(BM_NettleDecrypt64K);
BENCHMARK(BM_TwofishPathVsNettle64K<true>)->Name("BM_TwofishPathVsNettleEncrypt64K")->DenseRange(-1, TWOFISH_PATH_COUNT - 1);
BENCHMARK(BM_TwofishPathVsNettle64K<false>)->Name("BM_TwofishPathVsNettleDecrypt64K")->DenseRange(-1, TWOFISH_PATH_COUNT - 1);
BENCHMARK(BM_BigIntExpMod256);
BENCHMARK(BM_GmpPowm256);
