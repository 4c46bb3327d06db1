#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngBase64.h"
#include "Engine/Core/EngBlowfish.h"
#include "Engine/Core/EngJson.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngZlib.h"
#include "Online/OnlineTestSupport.h"
#include "Online/PackedTextDecoding.h"

namespace {

std::vector<unsigned char> Hex(const char* hex)
{
    std::vector<unsigned char> bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        bytes.push_back((unsigned char)std::stoul(std::string(hex + i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const unsigned char* bytes, size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < n; i++) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string Encipher(const char* key_hex, const char* plain_hex)
{
    std::vector<unsigned char> key = Hex(key_hex);
    std::string key_text(key.begin(), key.end());
    std::vector<unsigned char> data = Hex(plain_hex);
    EXPECT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key_text.c_str(), data.data(), int(data.size())));
    return ToHex(data.data(), data.size());
}

struct Packed
{
    char* text;
    explicit Packed(char* t) : text(t) {}
    ~Packed() { EngFree(text, false, "test"); }
};

}  // namespace

// Published test vectors for 8-byte keys.
TEST(EngBlowfish, EnciphersPublishedVectors)
{
    EXPECT_EQ(Encipher("FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF"), "51866FD5B85ECB8A");
    EXPECT_EQ(Encipher("0123456789ABCDEF", "1111111111111111"), "61F9C3802281B096");
    EXPECT_EQ(Encipher("FEDCBA9876543210", "0123456789ABCDEF"), "0ACEAB0FC6A0A28D");
    EXPECT_EQ(Encipher("1111111111111111", "0123456789ABCDEF"), "7D0CC630AFDA1EC7");
}

TEST(EngBlowfish, LeavesTheTailAfterWholeBlocksPlain)
{
    unsigned char data[13];
    std::memcpy(data, "ABCDEFGHijklm", 13);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption("PODIUM_V37", data, 13));
    EXPECT_NE(std::memcmp(data, "ABCDEFGH", 8), 0);
    EXPECT_EQ(std::memcmp(data + 8, "ijklm", 5), 0);
}

TEST(EngBlowfish, RefusesShortKeysAndShortData)
{
    unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    int start = DebugGetMessageCount();
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("1234567", data, 8));
    EXPECT_TRUE(LogHas(start, "Invalid key."));
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption(nullptr, data, 8));
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("12345678", data, 7));
    EXPECT_TRUE(LogHas(start, "Invalid data (must be at least 8 bytes long)."));
    const unsigned char untouched[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(std::memcmp(data, untouched, 8), 0);
}

// Every character of a 10-character key is used: keys differing only in the last one give other blocks.
TEST(EngBlowfish, UsesEveryCharacterOfALongKey)
{
    unsigned char a[8] = {};
    unsigned char b[8] = {};
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption("PODIUM_V37", a, 8));
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption("PODIUM_V38", b, 8));
    EXPECT_NE(std::memcmp(a, b, 8), 0);
}

TEST(EngZlib, DeflateRoundTripsWithBothWrappers)
{
    std::string input;
    for (int i = 0; i < 200; i++)
        input += "lap " + std::to_string(i % 7) + ";";
    std::vector<unsigned char> out(input.size() * 2);
    unsigned length = unsigned(out.size());
    ASSERT_TRUE(EngZlibDeflateData((const unsigned char*)input.data(), unsigned(input.size()), out.data(), &length,
                                   -1, false));
    ASSERT_LT(length, input.size());
    out.resize(length);
    std::vector<unsigned char> back = Inflate(out, input.size());
    EXPECT_EQ(std::string(back.begin(), back.end()), input);

    std::vector<unsigned char> gz(input.size() * 2);
    unsigned gz_length = unsigned(gz.size());
    ASSERT_TRUE(EngZlibDeflateData((const unsigned char*)input.data(), unsigned(input.size()), gz.data(),
                                   &gz_length, 6, true));
    EXPECT_EQ(gz[0], 0x1F);
    EXPECT_EQ(gz[1], 0x8B);
}

TEST(EngZlib, TooSmallOutputFailsWithItsReason)
{
    unsigned char input[64];
    for (int i = 0; i < 64; i++)
        input[i] = (unsigned char)(i * 37 + 11);
    unsigned char out[16];
    unsigned length = sizeof(out);
    int start = DebugGetMessageCount();
    EXPECT_FALSE(EngZlibDeflateData(input, sizeof(input), out, &length, 9, false));
    EXPECT_TRUE(LogHas(start, "out buffer not big enough"));
    EXPECT_EQ(length, sizeof(out));
}

// The packed text is the form-safe Base64 of the zlib stream of the enciphered record, behind the prefix.
TEST(EngZlibPacking, PackedTextUnpacksToTheEncipheredRecord)
{
    const char record[] = "{\"ac\":\"Sub\",\"name\":\"Ann\"}";
    const unsigned length = sizeof(record);  // the terminator travels too
    Packed packed(EngZlibEncryptCompressAndEncodeToBase64Data("PODIUM_V37", record, length, false, 3, "d=x"));
    ASSERT_NE(packed.text, nullptr);
    std::string text(packed.text);
    ASSERT_EQ(text.substr(0, 3), "d=x");
    std::string encoded = text.substr(3);
    EXPECT_EQ(encoded.find_first_of("+/="), std::string::npos);

    std::vector<unsigned char> expected(record, record + length);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption("PODIUM_V37", expected.data(), int(length)));
    EXPECT_EQ(Inflate(DecodeFormSafe(encoded), length), expected);
}

// Short records still pack: the compressed form of a few bytes is longer than twice their length.
TEST(EngZlibPacking, ShortRecordsStillPack)
{
    Packed packed(EngZlibEncryptCompressAndEncodeToBase64Data("PODIUM_V37", "12345678", 8, false, 0, nullptr));
    ASSERT_NE(packed.text, nullptr);
    std::vector<unsigned char> expected(8);
    std::memcpy(expected.data(), "12345678", 8);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption("PODIUM_V37", expected.data(), 8));
    EXPECT_EQ(Inflate(DecodeFormSafe(packed.text), 8), expected);
}

TEST(EngZlibPacking, RefusesMissingPiecesWithTheirReasons)
{
    int start = DebugGetMessageCount();
    EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data(nullptr, "12345678", 8, false, 0, nullptr), nullptr);
    EXPECT_TRUE(LogHas(start, "No cipher"));
    EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data("PODIUM_V37", "12345678", 0, false, 0, nullptr), nullptr);
    EXPECT_TRUE(LogHas(start, "No data."));
    EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data("PODIUM_V37", "12345678", 8, false, 2, nullptr), nullptr);
    EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data("PODIUM_V37", "12345678", 8, false, 0, "ab"), nullptr);
    EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data("SHORT", "12345678", 8, false, 0, nullptr), nullptr);
    EXPECT_TRUE(LogHas(start, "Could not encrpyt data."));
}

// One, two and three bytes each give four characters, padded with "__", "_" and nothing.
TEST(EngBase64FormSafe, PaddingBecomesUnderscores)
{
    const unsigned char bytes[3] = {0xFB, 0xEF, 0xFF};
    const char* expected[3] = {"-w__", "--8_", "--.."};
    for (int n = 1; n <= 3; n++) {
        char out[5] = {};
        EngBase64::Encode(bytes, n, out);
        EngBase64::MakeFormSafe(out);
        EXPECT_STREQ(out, expected[n - 1]) << n << " bytes";
    }
}

// The score record's members keep the order they were added in.
TEST(EngJson, WritesARecordInMemberOrder)
{
    EngJsonObject record;
    record["ac"] = "Sub";
    record["ver"] = 1;
    record["prog"] = 40;
    record["name"] = "Ann";
    record["v1"] = 3512345;
    record["date"] = 1516370u;
    record["plat"] = "W";
    char* text = EngJsonWriteObjectToString(record);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "{\n\t\"ac\": \"Sub\",\n\t\"ver\": 1,\n\t\"prog\": 40,\n\t\"name\": \"Ann\",\n"
                       "\t\"v1\": 3512345,\n\t\"date\": 1516370,\n\t\"plat\": \"W\"\n}");
    EngFree(text, false, "test");
}

TEST(EngJson, TextThatIsNotUtf8DoesNotStopTheWriter)
{
    EngJsonObject record;
    record["name"] = "Ren\xE9";
    char* text = EngJsonWriteObjectToString(record);
    ASSERT_NE(text, nullptr);
    EXPECT_NE(std::strstr(text, "\"Ren\xEF\xBF\xBD\""), nullptr);
    EngFree(text, false, "test");
}
