#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "EngFileTestSupport.h"

TEST(EngMainScreenToVirtual, ScalesPixelsToVirtualScreenAndRefusesEmptyScreen)
{
    eng_screen_width = 1280;
    eng_screen_height = 960;
    float vx = 0.0f;
    float vy = 0.0f;
    ASSERT_TRUE(EngMainScreenToVirtual(640.0f, 480.0f, &vx, &vy));
    EXPECT_FLOAT_EQ(320.0f, vx);
    EXPECT_FLOAT_EQ(240.0f, vy);
    EXPECT_TRUE(EngMainScreenToVirtual(1280.0f, 0.0f, &vx, nullptr));
    EXPECT_FLOAT_EQ(640.0f, vx);
    eng_screen_height = 0;
    EXPECT_FALSE(EngMainScreenToVirtual(1.0f, 1.0f, &vx, &vy));
    eng_screen_width = 640;
    eng_screen_height = 480;
}

TEST(EngMainPopups, PendingPopupIsCutAndShownOnceAsPlainBox)
{
    std::string long_title(150, 't');
    std::string long_text(500, 'x');
    EXPECT_FALSE(EngMiscArePopupTextsSet());
    EngMiscSetPopupTexts(ENG_POPUP_ERROR, long_title.c_str(), long_text.c_str());
    EXPECT_TRUE(EngMiscArePopupTextsSet());
    ::testing::internal::CaptureStderr();
    EngMiscShowPopupMessage(ENG_POPUP_NONE, nullptr, nullptr);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ("[" + std::string(99, 't') + "] " + std::string(399, 'x') + "\n", err);
    EXPECT_FALSE(EngMiscArePopupTextsSet());
}

TEST(EngMainPopups, NonInteractiveBoxGoesToLogAndStderr)
{
    int mark = LogMark();
    ::testing::internal::CaptureStderr();
    EngMiscShowPopupMessage(ENG_POPUP_EXCLAMATION, "Warning", "Disk full");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ("[Warning] Disk full\n", err);
    EXPECT_TRUE(LoggedSince(mark, "<Warning> <Disk full>"));
}

TEST(EngMainPopups, PopupMessageKindShowsWarningBox)
{
    ::testing::internal::CaptureStderr();
    DebugDoString("look out", DebugMsgPopup, 0);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ("[Warning] look out\n", err);
}

TEST(EngMainPopups, WindowsTextIsConvertedForTheBox)
{
    ::testing::internal::CaptureStderr();
    EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Caf\xe9", "5 \x80");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ("[Caf\xc3\xa9] 5 \xe2\x82\xac\n", err);
}

// With a person there but no display to show the box on, neither toolkit can ask: a Yes/No question takes
// No, which ends it (Yes would ask it again, for ever), and a notice takes OK.
TEST(EngMainPopups, BoxThatCannotBeShownTakesTheAnswerThatEndsTheQuestion)
{
    const char* kept = std::getenv("TORVI_NONINTERACTIVE");
    std::string saved = kept ? kept : "";
    unsetenv("TORVI_NONINTERACTIVE");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    int try_again = EngMessageBox_PC("Internet Test", "Try Again ?", _EngMessageBoxButtons::YesNo,
                                     _EngMessageBoxIcon::None);
    int notice = EngMessageBox_PC("Internet Test Failed", "No connection", _EngMessageBoxButtons::Ok,
                                  _EngMessageBoxIcon::Error);
    std::string err = ::testing::internal::GetCapturedStderr();
    if (kept)
        setenv("TORVI_NONINTERACTIVE", saved.c_str(), 1);
    EXPECT_EQ(ENG_IDNO, try_again);
    EXPECT_EQ(ENG_IDOK, notice);
    EXPECT_NE(std::string::npos, err.find("[Internet Test] Try Again ?"));
}

TEST(EngMainSleep, ZeroOrLessReturnsAtOnceAndWaitWithoutWindowEnds)
{
    EngMiscSleep(0.0);
    EngMiscSleep(-1.0);
    EXPECT_TRUE(EngMiscWaitProcessingMessages(0.0));
    EXPECT_TRUE(EngMiscWaitProcessingMessages(0.02));
}

TEST(EngMainThreads, UnrecordedMainThreadIsReportedAndAssumed)
{
    int mark = LogMark();
    EXPECT_TRUE(EngMainIsThisTheMainThread());
    EXPECT_TRUE(LoggedSince(mark, "Main thread var not set"));
    EXPECT_TRUE(EngMainRecordMainThread());
    EXPECT_FALSE(EngMainRecordMainThread());
}

TEST(EngMainExit, CallExitOnMainThreadEndsProcessWithCode)
{
    EXPECT_EXIT(
        {
            EngMainRecordMainThread();
            EngMainCallExit(3);
        },
        ::testing::ExitedWithCode(3), "");
}
