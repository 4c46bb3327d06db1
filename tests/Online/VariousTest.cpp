#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "Online/OnlineTestSupport.h"
#include "Online/Various.h"
#include "Engine/MWin/MWinButtonFixture.h"
#include "Engine/MWin/MWinPopup.h"
#include "Support/GLTestContext.h"
#include "Support/FilesForTests.h"

namespace {

// A stand-in for the desktop's opener, first on PATH, that writes its arguments to a file.
class FakeOpener
{
public:
    FakeOpener()
    {
        char pattern[] = "/tmp/torvi-opener-XXXXXX";
        m_folder = mkdtemp(pattern) ? pattern : "";
        m_record = m_folder + "/opened.txt";
        std::ofstream script(m_folder + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s|' \"$@\" >> '" << m_record << "'\n";
        script.close();
        chmod((m_folder + "/xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        m_old_path = path ? path : "";
        setenv("PATH", (m_folder + ":" + m_old_path).c_str(), 1);
    }
    ~FakeOpener()
    {
        setenv("PATH", m_old_path.c_str(), 1);
        std::remove(m_record.c_str());
        std::remove((m_folder + "/xdg-open").c_str());
        rmdir(m_folder.c_str());
    }
    // What the opener was given so far, each argument followed by "|"; waits a little for openers still
    // starting.
    std::string Opened(int wait_ms = 0) const
    {
        for (int waited = 0;; waited += 20) {
            std::string text = ReadWhole(m_record);
            if (!text.empty() || waited >= wait_ms)
                return text;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    std::string m_folder;
    std::string m_record;
    std::string m_old_path;
};

class VariousWithPerson : public ::testing::Test
{
protected:
    void SetUp() override { setenv("TORVI_NONINTERACTIVE", "0", 1); }
    void TearDown() override { setenv("TORVI_NONINTERACTIVE", "1", 1); }
    FakeOpener opener;
};

}  // namespace

TEST_F(VariousWithPerson, WebAddressesReachTheOpenerAsOneArgument)
{
    VariousGoOnlineNow("https://www.ostrelmark.example/forum/index.html?a=1&b=$(touch x)");
    EXPECT_EQ(opener.Opened(3000), "https://www.ostrelmark.example/forum/index.html?a=1&b=$(touch x)|");
}

TEST_F(VariousWithPerson, OtherSchemesAreRefusedAndStartNothing)
{
    int start = DebugGetMessageCount();
    const char* refused[] = {"file:///etc/passwd", "javascript:alert(1)", "--help", "ftp://host/x",
                             "/usr/bin/xterm", "http://host/\n--x"};
    for (const char* address : refused)
        VariousGoOnlineNow(address);
    VariousGoOnlineNow("mailto:support@ostrelmark.example");
    // The one accepted address is the only one the opener saw.
    EXPECT_EQ(opener.Opened(3000), "mailto:support@ostrelmark.example|");
    EXPECT_TRUE(LogHas(start, "Refused address <file:///etc/passwd>"));
    EXPECT_TRUE(LogHas(start, "Refused address <--help>"));
}

TEST_F(VariousWithPerson, AnOpenNowActionOpensAtOnce)
{
    VariousGoOnline(nullptr, nullptr, "http://www.ostrelmark.example/", false, false, false, false);
    EXPECT_EQ(opener.Opened(3000), "http://www.ostrelmark.example/|");
    EXPECT_FALSE(VariousIsGoingOnlineAtExit());
}

TEST(Various, NoOpenerStartsWithoutAPerson)
{
    FakeOpener opener;
    int start = DebugGetMessageCount();
    VariousGoOnlineNow("https://www.ostrelmark.example/");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(opener.Opened(), "");
    EXPECT_TRUE(LogHas(start, "Not opening <https://www.ostrelmark.example/> without a person")) << LogSince(start);
}

TEST(Various, AddressesLongerThan506CharactersAreRefused)
{
    std::string address = "https://www.ostrelmark.example/";
    std::string longest = address + std::string(506 - address.size(), 'a');
    int start = DebugGetMessageCount();
    VariousGoOnline(nullptr, nullptr, (longest + "b").c_str(), false, false, false, false);
    EXPECT_TRUE(LogHas(start, "Path too long"));
    EXPECT_FALSE(LogHas(start, "not opened"));
    start = DebugGetMessageCount();
    VariousGoOnline(nullptr, nullptr, longest.c_str(), false, false, false, false);
    EXPECT_FALSE(LogHas(start, "Path too long"));
    // The log line is cut to its own size: the beginning tells the whole address went on.
    EXPECT_TRUE(LogHas(start, "Web page <" + longest.substr(0, 400)));
    VariousGoOnlineNow(nullptr);
    EXPECT_TRUE(LogHas(start, "No url"));
}

TEST(VariousClipboard, WindowsTextRoundTripsThroughUtf8)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(320, 240));
    const char text[] = "Caf\xE9 \x80 5 \xAB\x96\xBB";
    ASSERT_TRUE(VariousCopyClipboardFromString(text));
    char* utf8 = SDL_GetClipboardText();
    ASSERT_NE(utf8, nullptr);
    EXPECT_STREQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC 5 \xC2\xAB\xE2\x80\x93\xC2\xBB");
    SDL_free(utf8);
    char back[64];
    ASSERT_TRUE(VariousPasteClipboardToString(back, sizeof(back)));
    EXPECT_STREQ(back, text);
}

TEST(VariousClipboard, PasteKeepsSizeMinusOneCharactersAndFailsWithoutText)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(320, 240));
    std::string hundred;
    for (int i = 0; i < 100; i++)
        hundred += char('a' + i % 26);
    ASSERT_TRUE(VariousCopyClipboardFromString(hundred.c_str()));
    char out[20];
    ASSERT_TRUE(VariousPasteClipboardToString(out, sizeof(out)));
    EXPECT_EQ(std::string(out), hundred.substr(0, 19));

    SDL_SetClipboardText("");
    EXPECT_FALSE(VariousPasteClipboardToString(out, sizeof(out)));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(VariousCopyClipboardFromString(""));
    EXPECT_FALSE(VariousPasteClipboardToString(out, 1));
}

TEST(VariousClipboard, NothingWithoutAMainWindow)
{
    char out[8] = "x";
    EXPECT_FALSE(VariousCopyClipboardFromString("text"));
    EXPECT_FALSE(VariousPasteClipboardToString(out, sizeof(out)));
    EXPECT_STREQ(out, "");
}

// Going online by ending the program: the quit takes effect after the frame that asked for it, and the
// address reaches the opener at the very end of the shutdown. Without an opener the program goes on and says so.
TEST_F(VariousWithPerson, ExitingHandsTheAddressOnAfterTheShutdownAndOnlyWhenItCanBeOpened)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(320, 240));
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    setenv("PATH", "/nonexistent", 1);
    int start = DebugGetMessageCount();
    VariousGoOnline(nullptr, nullptr, "https://www.ostrelmark.example/forum/", true, false, false, true);
    EXPECT_FALSE(eng_main_program->IsQuitting()) << "no opener: the game goes on";
    EXPECT_TRUE(LogHas(start, "No xdg-open found on PATH")) << LogSince(start);
    EXPECT_TRUE(LogHas(start, "Web page <https://www.ostrelmark.example/forum/> not opened."));

    setenv("PATH", path.c_str(), 1);
    VariousGoOnline(nullptr, nullptr, "https://www.ostrelmark.example/forum/", true, false, false, true);
    EXPECT_TRUE(VariousIsGoingOnlineAtExit());
    EXPECT_TRUE(eng_main_program->IsQuitting());
    EXPECT_NE(eng_main_window, nullptr) << "nothing is torn down inside the caller's frame";
    EXPECT_EQ(opener.Opened(), "");
    eng_main_program->Shutdown(false);
    EXPECT_EQ(eng_main_program, nullptr);
    EXPECT_EQ(opener.Opened(), "https://www.ostrelmark.example/forum/|") << "the opener has ended before the program";
}

class VariousAskTest : public MWinFixture
{
protected:
    std::string PopupText() const
    {
        return mwin->m_popup_message_button ? mwin->m_popup_message_button->GetTextP(0) : "";
    }
};

// Asking in a window: Escape cancels, Enter opens; nothing is asked in full screen when only windows ask.
TEST_F(VariousAskTest, TheQuestionRoutesTheAnswer)
{
    int start = DebugGetMessageCount();
    VariousGoOnline(mwin, nullptr, "https://www.ostrelmark.example/", false, true, false, false);
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupText(), "Go Online ?");
    Key(ENG_VK_ESCAPE);
    Frame();
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(LogHas(start, "not opened"));

    VariousGoOnline(mwin, "Visit the forum?", "https://www.ostrelmark.example/", false, true, false, false);
    EXPECT_EQ(PopupText(), "Visit the forum?");
    Key(ENG_VK_RETURN);
    Frame();
    // Nobody is there to use a browser: the player's answer is told that nothing opens.
    EXPECT_TRUE(LogHas(start, "Web page <https://www.ostrelmark.example/> not opened.")) << LogSince(start);
    EXPECT_EQ(PopupText(), "Could not open the web page:\nno program to open it (xdg-open) was found.");
    EXPECT_FALSE(VariousIsGoingOnlineAtExit());
}

TEST_F(VariousAskTest, ExitingQuestionHasItsOwnText)
{
    VariousGoOnline(mwin, nullptr, "https://www.ostrelmark.example/", false, true, false, true);
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupText(), "Exit Program and Go Online ?");
    Key(ENG_VK_ESCAPE);
    Frame();
    EXPECT_FALSE(VariousIsGoingOnlineAtExit());
}
