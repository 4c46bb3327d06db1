#include <gtest/gtest.h>

#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngTextFile.h"
#include "EngFileTestSupport.h"

#include <cstring>
#include <fstream>
#include <string>

namespace {

const char* const k_english_file = "Language=English\n"
                                   "FlagCountryCode=GB\n"
                                   "; a comment=ignored\n"
                                   "[Section=ignored]\n"
                                   "A=one#two\n"
                                   "B=x##y\n"
                                   "C=a##b##c\n"
                                   "D=p##q#r\n"
                                   "E=a###b\n"
                                   "F=#x\n"
                                   "Empty=\n"
                                   "=no token\n"
                                   "no equals sign\n"
                                   "Twice=first\n"
                                   "Twice=second\n"
                                   "Breaks=one\\ntwo\\x\n"
                                   "Format=%1 and %1, %2 then %3\n"
                                   "OnlyEnglish=from English#second\n";

class LanguagesTest : public TempFolderTest
{
protected:
    void TearDown() override
    {
        EngLanguagesDestroy();
        TempFolderTest::TearDown();
    }

    void WriteFile(const std::string& name, const std::string& text) const
    {
        std::ofstream out(m_folder + "/" + name, std::ios::binary);
        out << text;
    }

    // Sets up the English file only and loads it.
    void LoadEnglish(const std::string& text = k_english_file)
    {
        WriteFile("English.txt", text);
        ASSERT_TRUE(EngLanguagesInit(m_folder.c_str(), nullptr, true));
        ASSERT_TRUE(EngLanguagesInitFinished());
    }
};

TEST_F(LanguagesTest, SubTextsSplitAtSingleHashesAndDoubleHashesShrinkOnce)
{
    LoadEnglish();
    EXPECT_STREQ("one", EngLanguagesGetString("A", 0));
    EXPECT_STREQ("two", EngLanguagesGetString("A", 1));
    int count = 0;
    EXPECT_GE(EngLanguagesGetTokenNumAndNumSubTextsForToken("B", &count), 0);
    EXPECT_EQ(1, count);
    EXPECT_STREQ("x#y", EngLanguagesGetString("B", 0));
    EXPECT_STREQ("a#b##c", EngLanguagesGetString("C", 0));
    EXPECT_STREQ("p#q", EngLanguagesGetString("D", 0));
    EXPECT_STREQ("r", EngLanguagesGetString("D", 1));
    EXPECT_STREQ("a##b", EngLanguagesGetString("E", 0));
    EXPECT_STREQ("", EngLanguagesGetString("F", 0));
    EXPECT_STREQ("x", EngLanguagesGetString("F", 1));
    EXPECT_STREQ("one\ntwo\\x", EngLanguagesGetString("Breaks", 0));
}

TEST_F(LanguagesTest, LineFilterKeepsOnlyTokensOfOneTo63Characters)
{
    std::string token63(63, 'T');
    std::string token64(64, 'U');
    LoadEnglish(std::string(k_english_file) + token63 + "=kept\n" + token64 + "=dropped\n");
    int count = -1;
    EXPECT_GE(EngLanguagesGetTokenNumAndNumSubTextsForToken("Empty", &count), 0);
    EXPECT_EQ(1, count);
    EXPECT_STREQ("", EngLanguagesGetString("Empty", 0));
    EXPECT_STREQ("kept", EngLanguagesGetTextForToken(token63.c_str()));
    EXPECT_FALSE(EngLanguagesDoesTokenExist(token64.c_str()));
    EXPECT_FALSE(EngLanguagesDoesTokenExist("; a comment"));
    EXPECT_FALSE(EngLanguagesDoesTokenExist("[Section"));
    EXPECT_FALSE(EngLanguagesDoesTokenExist("no equals sign"));
    EXPECT_STREQ("first", EngLanguagesGetTextForToken("Twice"));
    EXPECT_STREQ("English", EngLanguagesGetTextForToken("Language"));
}

TEST_F(LanguagesTest, MissingTokensAndSubTextsGiveEmptyTextsWithAReport)
{
    LoadEnglish();
    int mark = LogMark();
    EXPECT_STREQ("", EngLanguagesGetString("Nowhere", 0));
    EXPECT_TRUE(LoggedSince(mark, "Token <Nowhere:0> not found"));
    EXPECT_STREQ("", EngLanguagesGetString("A", 2));
    EXPECT_TRUE(LoggedSince(mark, "Invalid sub text num 2 for token <A>"));
    EXPECT_STREQ("", EngLanguagesGetString(nullptr, 0));
    EXPECT_STREQ("", EngLanguagesGetString(9999, 0));
    EXPECT_TRUE(LoggedSince(mark, "Token <9999> does not exist"));
    EXPECT_STREQ("fallback", EngLanguagesGetStringOrDefault("Nowhere", "fallback"));
    EXPECT_STREQ("one", EngLanguagesGetStringOrDefault("A", "fallback"));
}

TEST_F(LanguagesTest, FormatStringReplacesTheFirstMarkerOfEachArgumentWithinTheBuffer)
{
    LoadEnglish();
    char out[64];
    EXPECT_TRUE(EngLanguagesFormatString("Format", "X", "Y", nullptr, out, sizeof(out)));
    EXPECT_STREQ("X and %1, Y then %3", out);
    // The text and the arguments must fit together.
    char small[24];
    EXPECT_FALSE(EngLanguagesFormatString("Format", "long argument", "Y", nullptr, small, sizeof(small)));
    std::string huge(100000, 'h');
    EXPECT_FALSE(EngLanguagesFormatString("Format", huge.c_str(), huge.c_str(), huge.c_str(), out, sizeof(out)));
    EXPECT_FALSE(EngLanguagesFormatString("Format", nullptr, "Y", nullptr, out, sizeof(out)));
    EXPECT_FALSE(EngLanguagesFormatString("Empty", "X", nullptr, nullptr, out, sizeof(out)));
}

TEST_F(LanguagesTest, MissingTextsOfATranslationComeFromEnglishOnce)
{
    WriteFile("English.txt", k_english_file);
    // The translation is UTF-16 with a mark, as translators send it.
    TextFile file;
    ASSERT_EQ(TEXTFILE_OK, file.Open((m_folder + "/Suomi.txt").c_str(), TEXTFILE_MODE_CREATE,
                                     TEXTFILE_ENCODING_UTF16LE, 0));
    file.WriteString("Language=Suomi\r\nFlagCountryCode=FI\r\nA=yksi#kaksi\r\nGreeting=Hyv\xE4\xE4 p\xE4iv\xE4\xE4\r\n"
                     "Extra=only here\r\n");
    ASSERT_EQ(TEXTFILE_OK, file.Close());

    int mark = LogMark();
    ASSERT_TRUE(EngLanguagesInit(m_folder.c_str(), "suomi", false));
    ASSERT_EQ(2, EngLanguagesGetNumLanguages());
    ASSERT_TRUE(EngLanguagesInitFinished());
    EXPECT_EQ(1, EngLanguagesGetCurrentLanguageNumber());
    EXPECT_FALSE(EngLangCheckIfCurrentLangEnglish());
    // Loading a translation checks it against English.
    EXPECT_TRUE(LoggedSince(mark, "Missing texts:"));
    EXPECT_TRUE(LoggedSince(mark, "OnlyEnglish=from English#second"));
    EXPECT_TRUE(LoggedSince(mark, "Texts that don't exist:"));
    EXPECT_TRUE(LoggedSince(mark, "Extra=only here"));
    EXPECT_TRUE(LoggedSince(mark, "Check complete."));

    EXPECT_STREQ("yksi", EngLanguagesGetString("A", 0));
    EXPECT_STREQ("Hyv\xE4\xE4 p\xE4iv\xE4\xE4", EngLanguagesGetTextForToken("Greeting"));
    mark = LogMark();
    const char* second = EngLanguagesGetString("OnlyEnglish", 1);
    EXPECT_STREQ("second", second);
    EXPECT_TRUE(LoggedSince(mark, "Token <OnlyEnglish:1> not translated"));

    mark = LogMark();
    EXPECT_STREQ("from English", EngLanguagesGetString("OnlyEnglish", 0));
    EXPECT_STREQ("second", second); // earlier texts stay valid while copies are added
    EXPECT_EQ(0, MessagesSince(mark));
    EXPECT_STREQ("", EngLanguagesGetString("NotInEnglishEither", 0));

    // Switching to English and back starts the translation's table afresh.
    ASSERT_TRUE(EngLanguagesSetCurrentLanguage(0));
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ("one", EngLanguagesGetString("A", 0));
    ASSERT_TRUE(EngLanguagesSetCurrentLanguage(1));
    EXPECT_STREQ("yksi", EngLanguagesGetString("A", 0));
}

TEST_F(LanguagesTest, EnglishOnlyListsJustTheEnglishFile)
{
    WriteFile("English.txt", k_english_file);
    WriteFile("Suomi.txt", "Language=Suomi\nFlagCountryCode=FI\n");
    WriteFile("English.TXT", "Language=Other\nFlagCountryCode=XX\n");
    ASSERT_TRUE(EngLanguagesInit(m_folder.c_str(), "Suomi", true));
    EXPECT_EQ(1, EngLanguagesGetNumLanguages());
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
}

// An editor may save the file with a mark and an empty first line: the game must still start with it.
TEST_F(LanguagesTest, FileSavedWithAMarkAndAnEmptyFirstLineLoads)
{
    LoadEnglish(std::string("\xEF\xBB\xBF\r\n") + k_english_file);
    EXPECT_STREQ("one", EngLanguagesGetString("A", 0));
}

TEST_F(LanguagesTest, EnglishCurrentLanguageNeverFallsBack)
{
    LoadEnglish();
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    int mark = LogMark();
    EXPECT_EQ(-1, EngLanguagesGetTokenNumForToken("Nowhere", 0, true));
    EXPECT_TRUE(LoggedSince(mark, "Token not found [Nowhere]."));
    EXPECT_FALSE(LoggedSince(mark, "Loading english texts"));
}

TEST_F(LanguagesTest, SetUpRefusesBadStatesAndMissingFiles)
{
    int mark = LogMark();
    EXPECT_FALSE(EngLanguagesInitFinished());
    EXPECT_FALSE(EngLanguagesInit((m_folder + "/absent").c_str(), nullptr, true));
    EXPECT_TRUE(LoggedSince(mark, "Languages directory does not exists <"));
    EXPECT_FALSE(EngLanguagesInit(m_folder.c_str(), nullptr, true));
    EXPECT_TRUE(LoggedSince(mark, "No language files found in directory <"));
    EXPECT_FALSE(EngLanguagesAreLoaded());

    // A header without its flag line is reported; the language stays listed.
    WriteFile("English.txt", "Language=English\nA=a\n");
    ASSERT_TRUE(EngLanguagesInit(m_folder.c_str(), "Klingon", true));
    EXPECT_TRUE(LoggedSince(mark, "No FlagCountryCode entry."));
    EXPECT_TRUE(LoggedSince(mark, "Could not find default language <Klingon> - using language 0 <English>"));
    EXPECT_FALSE(EngLanguagesAddTextsPath(m_folder.c_str()));
    EXPECT_TRUE(LoggedSince(mark, "Path already present <"));
    ASSERT_TRUE(EngLanguagesInitFinished());
    EXPECT_FALSE(EngLanguagesInitAddExtraTextsPath(m_folder.c_str()));
    EXPECT_STREQ("a", EngLanguagesGetTextForToken("A"));
    EXPECT_FALSE(EngLanguagesSetCurrentLanguage(5));
    EXPECT_TRUE(LoggedSince(mark, "Bad lang num 5."));
}

TEST_F(LanguagesTest, ShippedFilesLoadFromBesideTheProgram)
{
    ASSERT_TRUE(EngLanguagesInit("Languages", nullptr, true));
    ASSERT_TRUE(EngLanguagesInitAddCommonTextsPath());
    ASSERT_TRUE(EngLanguagesInitFinished());
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ("OK", EngLanguagesGetTextForToken("Popup_OK"));
    EXPECT_STREQ("English", EngLanguagesGetTextForToken("Language"));
}

TEST_F(LanguagesTest, NoDirectoryGivesEnglishWithoutFiles)
{
    ASSERT_TRUE(EngLanguagesInit(nullptr, nullptr, true));
    EXPECT_EQ(1, EngLanguagesGetNumLanguages());
    EXPECT_TRUE(EngLangCheckIfCurrentLangEnglish());
    EXPECT_STREQ("dflt", EngLanguagesGetStringOrDefault("A", "dflt"));
}

TEST(LanguageHelpers, Utf8PairsFoldToLatin1AndOtherHighBytesGo)
{
    char plain[] = "plain \xE9";
    bool made_new = true;
    EXPECT_EQ(plain, ConvertUtf8ToExtendedAscii(plain, &made_new));
    EXPECT_FALSE(made_new);

    char mixed[] = "Gr\xC3\xBC\xC3\x9F \xC2\xA9\xC2\xAD\xE2\x82\xAC!";
    char* folded = ConvertUtf8ToExtendedAscii(mixed, &made_new);
    ASSERT_TRUE(made_new);
    EXPECT_STREQ("Gr\xFC\xDF \xA9!", folded);
    EngFree(folded, false, "test");
}

TEST(LanguageHelpers, NewLinesAndQuotesForTheFileForm)
{
    char* slashed = EngLangChangeNewLinesToSlashNsInString("a\r\nb \"q\"", true);
    ASSERT_NE(nullptr, slashed);
    EXPECT_STREQ("a\\nb 'q'", slashed);
    EngFree(slashed, false, "test");
    EXPECT_EQ(nullptr, EngLangChangeNewLinesToSlashNsInString(nullptr, false));

    char name[ENG_LANG_NAME_SIZE] = "";
    EXPECT_TRUE(EngLanguagesSetLangNameStringToEnglish(name, true, false));
    EXPECT_STREQ("English", name);
    EXPECT_FALSE(EngLanguagesSetLangNameStringToEnglish(name, false, false));
    char other[ENG_LANG_NAME_SIZE] = "Suomi";
    EXPECT_FALSE(EngLanguagesSetLangNameStringToEnglish(other, true, false));
    EXPECT_TRUE(EngLanguagesSetLangNameStringToEnglish(other, false, false));
    EXPECT_STREQ("English", other);
}

} // namespace
