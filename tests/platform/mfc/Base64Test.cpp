// Base64 decoding against the test vectors of RFC 4648 (section 10), and the texts it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/mfc/Base64.h"

namespace {
// The decoded bytes, or "FALSE" when the decoder refuses; the buffer holds nSize bytes.
std::string Decode(const std::string& strText, int nSize = 64)
{
    BYTE buffer[64] = {};
    int nLen = nSize;
    if (!Base64Decode(strText.c_str(), static_cast<int>(strText.size()), buffer, &nLen))
        return "FALSE";
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(nLen));
}

TEST(Base64, DecodesThePublishedVectors)
{
    static const struct { const char* pszEncoded; const char* pszPlain; } s_vectors[] = {
        {"", ""}, {"Zg==", "f"}, {"Zm8=", "fo"}, {"Zm9v", "foo"}, {"Zm9vYg==", "foob"}, {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"}};
    for (const auto& v : s_vectors)
        EXPECT_EQ(v.pszPlain, Decode(v.pszEncoded)) << v.pszEncoded;
    // Line breaks and blanks inside are skipped; the padding may be left out.
    EXPECT_EQ("foobar", Decode("Zm9v\r\nYmFy"));
    EXPECT_EQ("foob", Decode("Zm9vYg"));
    EXPECT_EQ(std::string("\xFF\xFE", 2), Decode("//4="));
}

TEST(Base64, RefusesWhatIsNotBase64)
{
    for (const char* pszBad : {"Zm9v!", "Zm=9v", "Z", "Zm9vY", "Zg===", "Zm9v\x01", "Zm-_"})
        EXPECT_EQ("FALSE", Decode(pszBad)) << pszBad;
    // Too small a buffer: FALSE and the size needed.
    BYTE buffer[2];
    int nLen = sizeof buffer;
    EXPECT_FALSE(Base64Decode("Zm9vYmFy", 8, buffer, &nLen));
    EXPECT_EQ(6, nLen);
    EXPECT_GE(Base64DecodeGetRequiredLength(8), 6);
    EXPECT_FALSE(Base64Decode(nullptr, 0, buffer, &nLen));
}
}  // namespace
