// Every block path of the cipher against nettle and against each other: random keys, runs of 1 to
// 64 blocks (so every remainder of the four- and eight-block groups), every byte alignment of
// input and output, in place and not.
#include "link/crypto/LinkCipher.h"
#include "link/crypto/Twofish.h"
#include <gtest/gtest.h>
#include <nettle/twofish.h>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const BYTE GUARD = 0xC5;            // around each output run: a path must write its blocks only
const size_t GUARD_BYTES = 32;

std::string Hex(const BYTE* p, size_t n)
{
    static const char s_hex[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += s_hex[p[i] >> 4];
        s += s_hex[p[i] & 15];
    }
    return s;
}

struct RandomKey
{
    char szText[33] = {};
    BYTE bytes[16] = {};
    TwofishKeyInstance key;
    twofish_ctx nettle;

    explicit RandomKey(std::mt19937& rng)
    {
        static const char s_hex[] = "0123456789ABCDEF";
        for (int i = 0; i < 16; ++i) {
            bytes[i] = static_cast<BYTE>(rng());
            szText[2 * i] = s_hex[bytes[i] >> 4];
            szText[2 * i + 1] = s_hex[bytes[i] & 15];
        }
        EXPECT_EQ(TWOFISH_TRUE, TwofishMakeKey(&key, TWOFISH_DIR_ENCRYPT, TWOFISH_KEY_BITS, szText));
        twofish128_set_key(&nettle, bytes);
    }
    ~RandomKey() { TwofishWipeKey(&key); }
};

std::vector<int> AvailablePaths()
{
    std::vector<int> paths;
    for (int nPath = 0; nPath < TWOFISH_PATH_COUNT; ++nPath) {
        if (TwofishPathAvailable(nPath))
            paths.push_back(nPath);
    }
    return paths;
}

using RunFn = BOOL (*)(int, const TwofishKeyInstance*, const BYTE*, size_t, BYTE*);

// One run on one path at the given alignments, in place or into a separate buffer; returns the
// output bytes and checks that nothing around them changed.
std::vector<BYTE> RunAt(RunFn pfnRun, int nPath, const TwofishKeyInstance& key, const std::vector<BYTE>& in,
                        size_t nInAlign, size_t nOutAlign, bool bInPlace)
{
    const size_t n = in.size();
    std::vector<BYTE> outBuf(GUARD_BYTES + 16 + n + GUARD_BYTES, GUARD);
    BYTE* pOut = outBuf.data() + GUARD_BYTES + nOutAlign;
    std::vector<BYTE> inBuf(16 + n);
    const BYTE* pIn = pOut;
    if (bInPlace) {
        memcpy(pOut, in.data(), n);
    } else {
        memcpy(inBuf.data() + nInAlign, in.data(), n);
        pIn = inBuf.data() + nInAlign;
    }
    EXPECT_TRUE(pfnRun(nPath, &key, pIn, n / 16, pOut));
    for (BYTE* p = outBuf.data(); p < pOut; ++p)
        EXPECT_EQ(GUARD, *p) << "path " << nPath << ": a byte before the run changed";
    for (BYTE* p = pOut + n; p < outBuf.data() + outBuf.size(); ++p)
        EXPECT_EQ(GUARD, *p) << "path " << nPath << ": a byte after the run changed";
    if (!bInPlace) {
        EXPECT_EQ(0, memcmp(pIn, in.data(), n)) << "path " << nPath << ": the input changed";
    }
    return std::vector<BYTE>(pOut, pOut + n);
}

} // namespace

TEST(TwofishPaths, PortablePathsAreAlwaysThereAndTheChoiceIsOneOfThem)
{
    EXPECT_TRUE(TwofishPathAvailable(TWOFISH_PATH_SINGLE));
    EXPECT_TRUE(TwofishPathAvailable(TWOFISH_PATH_INTERLEAVED));
    EXPECT_FALSE(TwofishPathAvailable(-1));
    EXPECT_FALSE(TwofishPathAvailable(TWOFISH_PATH_COUNT));
    const int nSelected = TwofishSelectedPath();
    EXPECT_TRUE(nSelected == TWOFISH_PATH_INTERLEAVED || nSelected == TWOFISH_PATH_AVX2) << nSelected;
    EXPECT_TRUE(TwofishPathAvailable(nSelected));
    EXPECT_EQ(nSelected, TwofishSelectedPath());
}

TEST(TwofishPaths, RefuseAMissingPathOrKeyWithoutWriting)
{
    TwofishKeyInstance unmade;
    BYTE block[16] = {};
    BYTE out[16];
    memset(out, GUARD, sizeof out);
    EXPECT_FALSE(TwofishEncryptRun(TWOFISH_PATH_INTERLEAVED, &unmade, block, 1, out));
    EXPECT_FALSE(TwofishDecryptRun(TWOFISH_PATH_SINGLE, nullptr, block, 1, out));
    std::mt19937 rng(3);
    RandomKey k(rng);
    EXPECT_FALSE(TwofishEncryptRun(TWOFISH_PATH_COUNT, &k.key, block, 1, out));
    EXPECT_FALSE(TwofishDecryptRun(TWOFISH_PATH_INTERLEAVED, &k.key, nullptr, 1, out));
    for (BYTE b : out)
        ASSERT_EQ(GUARD, b);
    EXPECT_TRUE(TwofishEncryptRun(TWOFISH_PATH_INTERLEAVED, &k.key, nullptr, 0, nullptr));
}

TEST(TwofishPaths, KnownAnswerOnEveryPath)
{
    // The first rows of the cipher authors' 128-bit table, as one run: row 1 under the zero key
    // four times over and more, so that whole groups and the rest both meet it.
    TwofishKeyInstance key;
    ASSERT_EQ(TWOFISH_TRUE, TwofishMakeKey(&key, TWOFISH_DIR_ENCRYPT, TWOFISH_KEY_BITS, "00000000000000000000000000000000"));
    std::vector<BYTE> zeros(16 * 13, 0);
    std::string expected;
    for (int i = 0; i < 13; ++i)
        expected += "9F589F5CF6122C32B6BFEC2F2AE8C35A";
    for (int nPath : AvailablePaths()) {
        std::vector<BYTE> buf = zeros;
        ASSERT_TRUE(TwofishEncryptRun(nPath, &key, buf.data(), 13, buf.data()));
        EXPECT_EQ(expected, Hex(buf.data(), buf.size())) << "path " << nPath;
        ASSERT_TRUE(TwofishDecryptRun(nPath, &key, buf.data(), 13, buf.data()));
        EXPECT_EQ(Hex(zeros.data(), zeros.size()), Hex(buf.data(), buf.size())) << "path " << nPath;
    }
    TwofishWipeKey(&key);
}

TEST(TwofishPaths, EveryPathMatchesNettleAtEveryLengthAndAlignment)
{
    std::mt19937 rng(17);
    const std::vector<int> paths = AvailablePaths();
    for (size_t nBlocks = 1; nBlocks <= 64; ++nBlocks) {
        RandomKey k(rng);
        std::vector<BYTE> plain(16 * nBlocks), cipher(16 * nBlocks);
        for (BYTE& b : plain)
            b = static_cast<BYTE>(rng());
        twofish_encrypt(&k.nettle, plain.size(), cipher.data(), plain.data());
        const std::string wantCipher = Hex(cipher.data(), cipher.size());
        const std::string wantPlain = Hex(plain.data(), plain.size());
        for (size_t nAlign = 0; nAlign < 16; ++nAlign) {
            const size_t nOutAlign = (nAlign * 7 + nBlocks) % 16;     // a different offset for the output
            for (bool bInPlace : {false, true}) {
                for (int nPath : paths) {
                    const std::vector<BYTE> enc = RunAt(TwofishEncryptRun, nPath, k.key, plain, nAlign, nOutAlign, bInPlace);
                    ASSERT_EQ(wantCipher, Hex(enc.data(), enc.size()))
                        << "encrypt, path " << nPath << ", " << nBlocks << " blocks, alignment " << nAlign
                        << "/" << nOutAlign << (bInPlace ? ", in place" : "");
                    const std::vector<BYTE> dec = RunAt(TwofishDecryptRun, nPath, k.key, cipher, nAlign, nOutAlign, bInPlace);
                    ASSERT_EQ(wantPlain, Hex(dec.data(), dec.size()))
                        << "decrypt, path " << nPath << ", " << nBlocks << " blocks, alignment " << nAlign
                        << "/" << nOutAlign << (bInPlace ? ", in place" : "");
                }
            }
        }
    }
}

TEST(TwofishPaths, PathsAgreeWithEachOtherOnRandomRuns)
{
    // Random bytes in both directions (deciphering what nobody enciphered is still a permutation),
    // each path against the one-block path.
    std::mt19937 rng(29);
    const std::vector<int> paths = AvailablePaths();
    for (int nCase = 0; nCase < 200; ++nCase) {
        RandomKey k(rng);
        const size_t nBlocks = 1 + rng() % 64;
        std::vector<BYTE> in(16 * nBlocks);
        for (BYTE& b : in)
            b = static_cast<BYTE>(rng());
        const size_t nAlign = rng() % 16;
        std::vector<BYTE> refEnc(in.size()), refDec(in.size());
        ASSERT_TRUE(TwofishEncryptRun(TWOFISH_PATH_SINGLE, &k.key, in.data(), nBlocks, refEnc.data()));
        ASSERT_TRUE(TwofishDecryptRun(TWOFISH_PATH_SINGLE, &k.key, in.data(), nBlocks, refDec.data()));
        for (int nPath : paths) {
            const std::vector<BYTE> enc = RunAt(TwofishEncryptRun, nPath, k.key, in, nAlign, 15 - nAlign, nCase % 2 == 0);
            ASSERT_EQ(Hex(refEnc.data(), refEnc.size()), Hex(enc.data(), enc.size())) << "path " << nPath << " case " << nCase;
            const std::vector<BYTE> dec = RunAt(TwofishDecryptRun, nPath, k.key, in, nAlign, 15 - nAlign, nCase % 2 == 1);
            ASSERT_EQ(Hex(refDec.data(), refDec.size()), Hex(dec.data(), dec.size())) << "path " << nPath << " case " << nCase;
        }
    }
}

TEST(TwofishPaths, LinkCallsMatchNettleOnLongRuns)
{
    // The link's calls take the chosen path; a 64 KiB read and the odd lengths around groups.
    ASSERT_EQ(0, TwofishCipherInit());
    std::mt19937 rng(41);
    for (int nBlocks : {4096, 4095, 9, 7, 5, 3}) {
        RandomKey k(rng);
        std::vector<BYTE> plain(16 * static_cast<size_t>(nBlocks)), theirs(plain.size());
        for (BYTE& b : plain)
            b = static_cast<BYTE>(rng());
        twofish_encrypt(&k.nettle, plain.size(), theirs.data(), plain.data());
        std::vector<BYTE> buffer = plain;
        ASSERT_EQ(0, TwofishEncryptBlocks(buffer.data(), buffer.data(), 16 * nBlocks, k.szText));
        ASSERT_EQ(Hex(theirs.data(), theirs.size()), Hex(buffer.data(), buffer.size())) << nBlocks << " blocks";
        ASSERT_EQ(0, TwofishDecryptBlocks(buffer.data(), buffer.data(), 16 * nBlocks, k.szText));
        EXPECT_EQ(Hex(plain.data(), plain.size()), Hex(buffer.data(), buffer.size())) << nBlocks << " blocks";
    }
}
