#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngBase64.h"

namespace {
std::string Encode(const char* text)
{
    int n = (int)strlen(text);
    std::string out(EngBase64::EncodedLength(n), '#');
    EngBase64::Encode((const unsigned char*)text, n, out.data());
    return out;
}
} // namespace

TEST(EngBase64, StandardVectors)
{
    EXPECT_EQ(Encode("f"), "Zg==");
    EXPECT_EQ(Encode("fo"), "Zm8=");
    EXPECT_EQ(Encode("foo"), "Zm9v");
    EXPECT_EQ(Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(EngBase64::PaddingLength(4), 2);
    EXPECT_EQ(EngBase64::PaddingLength(6), 0);
}

TEST(EngBase64, HighBytesUseTheLastLettersOfTheAlphabet)
{
    const unsigned char bytes[3] = {0xFB, 0xEF, 0xFF};
    char out[5] = {};
    EngBase64::Encode(bytes, 3, out);
    EXPECT_STREQ(out, "++//");
}

TEST(EngBase64, NothingIsWrittenForEmptyInput)
{
    char out[4] = {'x', 'x', 'x', 0};
    EngBase64::Encode((const unsigned char*)"abc", 0, out);
    EngBase64::Encode(nullptr, 3, out);
    EXPECT_STREQ(out, "xxx");
    EXPECT_EQ(EngBase64::EncodedLength(0), 0);
}
