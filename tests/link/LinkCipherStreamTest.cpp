// The cipher stream on long reads, where whole runs of blocks go through the cipher's grouped
// paths: what it deciphers and enciphers must match the one-block path exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include "link/LinkCipherStream.h"
#include "link/crypto/LinkCipher.h"
#include "link/crypto/Twofish.h"

namespace {

const char* const s_pszKey = "0F1E2D3C4B5A69788796A5B4C3D2E1F0";

// The server's side, one block at a time and independent of the path the link chose.
struct COneBlockServer {
    TwofishKeyInstance key;
    COneBlockServer() { TwofishMakeKey(&key, TWOFISH_DIR_ENCRYPT, TWOFISH_KEY_BITS, s_pszKey); }
    ~COneBlockServer() { TwofishWipeKey(&key); }
    std::string Line(const std::string& line)
    {
        std::string buf = line;
        buf.append((16 - buf.size() % 16) % 16, '-');
        std::string out(buf.size(), '\0');
        TwofishEncryptRun(TWOFISH_PATH_SINGLE, &key, reinterpret_cast<const BYTE*>(buf.data()), buf.size() / 16,
                          reinterpret_cast<BYTE*>(out.data()));
        return out;
    }
};

std::vector<std::string> RandomLines(std::mt19937& rng, size_t nBytes)
{
    std::vector<std::string> lines;
    size_t nTotal = 0;
    while (nTotal < nBytes) {
        std::string line;
        const size_t nLength = rng() % 90;
        for (size_t i = 0; i < nLength; ++i)
            line += "0123456789|ABCDEFXYZ.-"[rng() % 22];
        line += '\n';
        nTotal += line.size();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(LinkCipherStream, DeciphersLongReadsSplitAnywhereAsTheOneBlockPathWould)
{
    ASSERT_EQ(0, TwofishCipherInit());
    std::mt19937 rng(23);
    COneBlockServer server;
    const std::vector<std::string> lines = RandomLines(rng, 200 * 1024);
    std::string plain, cipher;
    for (const std::string& line : lines) {
        plain += line;
        cipher += server.Line(line);
    }
    for (int nRun = 0; nRun < 4; ++nRun) {
        CLinkCipherStream stream;
        snprintf(stream.GetKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
        stream.SetOn(TRUE);
        std::vector<BYTE> out;
        for (size_t nAt = 0; nAt < cipher.size();) {
            // Reads of up to 64 KiB, rarely a multiple of a block.
            const size_t nRead = std::min(cipher.size() - nAt, static_cast<size_t>(1 + rng() % (nRun == 0 ? 64 : 65536)));
            ASSERT_TRUE(stream.Decrypt(reinterpret_cast<const BYTE*>(cipher.data()) + nAt, static_cast<int>(nRead), out));
            nAt += nRead;
        }
        EXPECT_EQ(0, stream.GetCarryLength());
        ASSERT_EQ(plain.size(), out.size()) << "run " << nRun;
        EXPECT_TRUE(plain == std::string(out.begin(), out.end())) << "run " << nRun;
    }
}

TEST(LinkCipherStream, EnciphersLongLinesAsTheOneBlockPathWould)
{
    ASSERT_EQ(0, TwofishCipherInit());
    std::mt19937 rng(31);
    COneBlockServer server;
    CLinkCipherStream stream;
    snprintf(stream.GetKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
    stream.SetOn(TRUE);
    for (size_t nLength : {1u, 15u, 16u, 17u, 63u, 64u, 65u, 127u, 129u, 1000u, 4095u, 65536u}) {
        std::string line(nLength - 1, 'x');
        for (char& ch : line)
            ch = static_cast<char>('A' + rng() % 26);
        line += '\n';
        std::vector<BYTE> out;
        ASSERT_TRUE(stream.Encrypt(line.data(), static_cast<int>(line.size()), out));
        const std::string want = server.Line(line);
        ASSERT_EQ(want.size(), out.size());
        EXPECT_TRUE(want == std::string(out.begin(), out.end())) << nLength << " bytes";
    }
}
