#include "link/crypto/LinkCipher.h"
#include "link/crypto/Twofish.h"
#include <gtest/gtest.h>
#include <nettle/twofish.h>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> HexToBytes(const std::string& hex)
{
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string BytesToHex(const BYTE* p, size_t n)
{
    static const char s_hex[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += s_hex[p[i] >> 4];
        s += s_hex[p[i] & 15];
    }
    return s;
}

std::string RandomKeyText(std::mt19937& rng)
{
    static const char s_hex[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < 32; ++i)
        s += s_hex[rng() & 15];
    return s;
}

void NettleKey(twofish_ctx* ctx, const std::string& keyText)
{
    const std::vector<BYTE> key = HexToBytes(keyText);
    twofish128_set_key(ctx, key.data());
}

class Twofish : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(0, TwofishCipherInit()); }
};

// The cipher authors' table of 128-bit ECB known answers ("ecb_tbl.txt", KEYSIZE=128): rows
// I=1 to 10 and I=48, 49. Each row's key and plain text are the two cipher texts before it.
const struct { int nRow; const char *key, *plain, *cipher; } s_ecbTable[] = {
    {1, "00000000000000000000000000000000", "00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
    {2, "00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A", "D491DB16E7B1C39E86CB086B789F5419"},
    {3, "9F589F5CF6122C32B6BFEC2F2AE8C35A", "D491DB16E7B1C39E86CB086B789F5419", "019F9809DE1711858FAAC3A3BA20FBC3"},
    {4, "D491DB16E7B1C39E86CB086B789F5419", "019F9809DE1711858FAAC3A3BA20FBC3", "6363977DE839486297E661C6C9D668EB"},
    {5, "019F9809DE1711858FAAC3A3BA20FBC3", "6363977DE839486297E661C6C9D668EB", "816D5BD0FAE35342BF2A7412C246F752"},
    {6, "6363977DE839486297E661C6C9D668EB", "816D5BD0FAE35342BF2A7412C246F752", "5449ECA008FF5921155F598AF4CED4D0"},
    {7, "816D5BD0FAE35342BF2A7412C246F752", "5449ECA008FF5921155F598AF4CED4D0", "6600522E97AEB3094ED5F92AFCBCDD10"},
    {8, "5449ECA008FF5921155F598AF4CED4D0", "6600522E97AEB3094ED5F92AFCBCDD10", "34C8A5FB2D3D08A170D120AC6D26DBFA"},
    {9, "6600522E97AEB3094ED5F92AFCBCDD10", "34C8A5FB2D3D08A170D120AC6D26DBFA", "28530B358C1B42EF277DE6D4407FC591"},
    {10, "34C8A5FB2D3D08A170D120AC6D26DBFA", "28530B358C1B42EF277DE6D4407FC591", "8A8AB983310ED78C8C0ECDE030B8DCA4"},
    {48, "137A24CA47CD12BE818DF4D2F4355960", "BCA724A54533C6987E14AA827952F921", "6B459286F3FFD28D49F15B1581B08E42"},
    {49, "BCA724A54533C6987E14AA827952F921", "6B459286F3FFD28D49F15B1581B08E42", "5D9D4EEFFA9151575524F115815A12E0"},
};

} // namespace

TEST_F(Twofish, EncryptsAndDecryptsPublishedEcbTable)
{
    for (const auto& r : s_ecbTable) {
        const std::vector<BYTE> plain = HexToBytes(r.plain);
        BYTE out[16], back[16];
        ASSERT_EQ(0, TwofishEncryptBlocks(out, plain.data(), 16, r.key));
        EXPECT_EQ(r.cipher, BytesToHex(out, 16)) << "row " << r.nRow;
        ASSERT_EQ(0, TwofishDecryptBlocks(back, out, 16, r.key));
        EXPECT_EQ(r.plain, BytesToHex(back, 16)) << "row " << r.nRow;
    }
}

TEST_F(Twofish, WalksTheWholePublishedChainToRow49)
{
    // Rows 11 to 47 follow from the chaining rule; the walk must land on the published row 49.
    std::string key(32, '0'), plain(32, '0');
    std::string cipher;
    for (int nRow = 1; nRow <= 49; ++nRow) {
        const std::vector<BYTE> in = HexToBytes(plain);
        BYTE out[16];
        ASSERT_EQ(0, TwofishEncryptBlocks(out, in.data(), 16, key.c_str()));
        cipher = BytesToHex(out, 16);
        key = plain;
        plain = cipher;
    }
    EXPECT_EQ("5D9D4EEFFA9151575524F115815A12E0", cipher);
}

TEST_F(Twofish, MatchesNettleOnRandomKeysAndBuffers)
{
    std::mt19937 rng(5);
    for (int nKey = 0; nKey < 300; ++nKey) {
        std::string keyText = RandomKeyText(rng);
        if (nKey % 3 == 1) {
            // Lower-case digits name the same key.
            for (char& ch : keyText)
                ch = static_cast<char>(tolower(ch));
        }
        twofish_ctx ctx;
        NettleKey(&ctx, keyText);
        const size_t nLength = 16 * (1 + rng() % 8);
        std::vector<BYTE> plain(nLength), ours(nLength), theirs(nLength);
        for (BYTE& b : plain)
            b = static_cast<BYTE>(rng());
        ASSERT_EQ(0, TwofishEncryptBlocks(ours.data(), plain.data(), static_cast<int>(nLength), keyText.c_str()));
        twofish_encrypt(&ctx, nLength, theirs.data(), plain.data());
        ASSERT_EQ(BytesToHex(theirs.data(), nLength), BytesToHex(ours.data(), nLength)) << "key " << keyText;
        // The other direction on bytes nettle enciphered, deciphered in place as the link does.
        std::vector<BYTE> buffer = theirs;
        ASSERT_EQ(0, TwofishDecryptBlocks(buffer.data(), buffer.data(), static_cast<int>(nLength), keyText.c_str()));
        EXPECT_EQ(BytesToHex(plain.data(), nLength), BytesToHex(buffer.data(), nLength)) << "key " << keyText;
    }
}

TEST_F(Twofish, KeepsNoStaleKeyWhenTheKeyTextChanges)
{
    // Alternating between session keys must use each key's own schedule every time.
    std::mt19937 rng(11);
    const std::string keys[3] = {RandomKeyText(rng), RandomKeyText(rng), RandomKeyText(rng)};
    twofish_ctx ctx[3];
    for (int i = 0; i < 3; ++i)
        NettleKey(&ctx[i], keys[i]);
    const BYTE plain[32] = "0123456789abcdef0123456789abcde";
    for (int nStep = 0; nStep < 12; ++nStep) {
        const int k = (nStep * 7) % 3;
        BYTE ours[32], theirs[32];
        ASSERT_EQ(0, TwofishEncryptBlocks(ours, plain, 32, keys[k].c_str()));
        twofish_encrypt(&ctx[k], 32, theirs, plain);
        EXPECT_EQ(BytesToHex(theirs, 32), BytesToHex(ours, 32)) << "step " << nStep;
    }
}

TEST_F(Twofish, RefusesBadKeysAndLengthsWithoutWriting)
{
    const std::string good(32, 'A');
    BYTE in[32] = {}, out[32];
    memset(out, 0x5A, sizeof out);
    EXPECT_EQ(-1, TwofishEncryptBlocks(out, in, 16, nullptr));
    EXPECT_EQ(-1, TwofishEncryptBlocks(out, in, 16, "0123456789ABCDEF0123456789ABCDEG"));    // 'G'
    EXPECT_EQ(-1, TwofishDecryptBlocks(out, in, 16, "0123456789ABCDEF"));                    // short
    EXPECT_EQ(-1, TwofishEncryptBlocks(out, in, 20, good.c_str()));
    EXPECT_EQ(-1, TwofishDecryptBlocks(out, in, -16, good.c_str()));
    for (BYTE b : out)
        ASSERT_EQ(0x5A, b);
    // A good key after a refused one still works.
    EXPECT_EQ(0, TwofishEncryptBlocks(out, in, 32, good.c_str()));
    EXPECT_EQ(0, TwofishEncryptBlocks(out, in, 0, good.c_str()));
}

// Runs in a fresh process: 0 when both directions refuse before the cipher is initialised
// and work after it.
static int CheckRefusalBeforeInit()
{
    const char* pszKey = "00000000000000000000000000000000";
    BYTE in[16] = {};
    BYTE out[16];
    const int nEncrypt = TwofishEncryptBlocks(out, in, 16, pszKey);
    const int nDecrypt = TwofishDecryptBlocks(out, in, 16, pszKey);
    if (nEncrypt != -1 || nDecrypt != -1 || TwofishCipherInit() != 0)
        return 1;
    return TwofishEncryptBlocks(out, in, 16, pszKey) == 0 ? 0 : 1;
}

TEST(TwofishBeforeInit, RefusesEveryBuffer)
{
    // "threadsafe" runs the check in a newly started copy of this program, so no other test
    // has initialised the cipher there.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exit(CheckRefusalBeforeInit()), ::testing::ExitedWithCode(0), "");
}

TEST(TwofishReferenceInterface, RefusesWhatItCannotProcess)
{
    TwofishKeyInstance key;
    TwofishCipherInstance cipher;
    BYTE block[16] = {};
    EXPECT_EQ(TWOFISH_BAD_KEY_DIR, TwofishMakeKey(&key, 7, 128, "00000000000000000000000000000000"));
    EXPECT_EQ(TWOFISH_BAD_KEY_MAT, TwofishMakeKey(&key, TWOFISH_DIR_ENCRYPT, 192, "00000000000000000000000000000000"));
    EXPECT_EQ(TWOFISH_BAD_CIPHER_MODE, TwofishCipherInitInstance(&cipher, 2, nullptr));
    ASSERT_EQ(TWOFISH_TRUE, TwofishCipherInitInstance(&cipher, TWOFISH_MODE_ECB, nullptr));
    EXPECT_EQ(TWOFISH_BAD_KEY_INSTANCE, TwofishBlockEncrypt(&cipher, &key, block, 128, block));
    ASSERT_EQ(TWOFISH_TRUE, TwofishMakeKey(&key, TWOFISH_DIR_DECRYPT, 128, "00000000000000000000000000000000"));
    EXPECT_EQ(TWOFISH_BAD_INPUT_LEN, TwofishBlockDecrypt(&cipher, &key, block, 120, block));
    EXPECT_EQ(128, TwofishBlockEncrypt(&cipher, &key, block, 128, block));
    EXPECT_EQ("9F589F5CF6122C32B6BFEC2F2AE8C35A", BytesToHex(block, 16));
}
