// The cursor functions of the main window: positions in the virtual screen, the pointer leaving the window,
// and the texture cursor's settings.

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "EngWindowTestProgram.h"
#include "Engine/Core/PC/EngCursor_PC.h"
#include "Engine/Graphics/EngDevice.h"

#include <GL/gl.h>

namespace
{
using Input = _EngInputEventType;

EngUInt32 physical_buttons = 0;
EngUInt32 ReadButtons()
{
    return physical_buttons;
}

class CursorTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        physical_buttons = 0;
        EngCursorSetButtonsReader_PC(ReadButtons);
        Open(800, 600);
    }
    void TearDown() override
    {
        EngCursorSetButtonsReader_PC(nullptr);
        WindowFixture::TearDown();
    }
};

TEST_F(CursorTest, VirtualPositionsLandOnTheClientArea)
{
    window->SetCursorPos(320.0f, 240.0f);
    Drain();
    std::vector<RecordedInput> moves = Inputs(Input::MouseMove);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(EngInputEventToFloat(moves.back().value1), 400.0f);
    EXPECT_EQ(EngInputEventToFloat(moves.back().value2), 300.0f);

    program->Clear();
    window->SetCursorPos(639.0f, 0.0f);
    Drain();
    moves = Inputs(Input::MouseMove);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(EngInputEventToFloat(moves.back().value1), 798.0f) << "fractions are dropped";
    EXPECT_EQ(EngInputEventToFloat(moves.back().value2), 0.0f);
}

TEST_F(CursorTest, DragReleasedOutsideClearsTheButtonAtTheNextPoll)
{
    PushAndDrain(Motion(50, 50));
    physical_buttons = SDL_BUTTON_LMASK;
    PushAndDrain(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    ASSERT_TRUE(window->IsPointerOutside_PC());
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 2);

    window->PollCursor_PC();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 2) << "still held outside";
    EXPECT_FALSE(window->GetReleasedOutside());

    physical_buttons = 0;
    window->PollCursor_PC();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 0);
    EXPECT_TRUE(window->GetReleasedOutside());
    window->ClearReleasedOutside();
    window->PollCursor_PC();
    EXPECT_FALSE(window->GetReleasedOutside()) << "one release is reported once";
}

TEST_F(CursorTest, PollDoesNothingWhileThePointerIsInside)
{
    PushAndDrain(Motion(50, 50));
    physical_buttons = SDL_BUTTON_LMASK;
    PushAndDrain(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    physical_buttons = 0;
    program->Clear();
    window->PollCursor_PC();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 2);
    EXPECT_TRUE(program->inputs.empty());
}

TEST_F(CursorTest, ReturningPointerTakesTheButtonsAsTheyAreNow)
{
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    EngKeyStateTable[ENG_VK_RBUTTON] = 2;
    physical_buttons = SDL_BUTTON_LMASK;
    PushAndDrain(Motion(5, 5));
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 2);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_RBUTTON], 0);
}

TEST_F(CursorTest, TextureCursorNamesMustFitTheirField)
{
    EXPECT_FALSE(window->SetupTextureCursor_PC(nullptr, 2, 2, 14, 20, true, 0, 0));
    EXPECT_FALSE(window->SetupTextureCursor_PC("", 2, 2, 14, 20, true, 0, 0));
    std::string too_long(ENG_TEXTURE_CURSOR_NAME_SIZE, 'c');
    EXPECT_FALSE(window->SetupTextureCursor_PC(too_long.c_str(), 2, 2, 14, 20, true, 0, 0));
    EXPECT_FALSE(window->GetTextureCursor_PC()->on);

    std::string longest(ENG_TEXTURE_CURSOR_NAME_SIZE - 1, 'c');
    EXPECT_TRUE(window->SetupTextureCursor_PC(longest.c_str(), 2, 2, 14, 20, true, 0, 0));
    EXPECT_STREQ(window->GetTextureCursor_PC()->file_name, longest.c_str());

    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, true, 3, 4));
    const _EngTextureCursor* cursor = window->GetTextureCursor_PC();
    EXPECT_TRUE(cursor->on);
    EXPECT_STREQ(cursor->file_name, "Data/1200.tga");
    EXPECT_EQ(cursor->width, 14);
    EXPECT_EQ(cursor->height, 20);
    EXPECT_EQ(cursor->hot_spot_y, 4);
    EXPECT_NE(cursor->texture, nullptr);
}

TEST_F(CursorTest, TextureCursorSizeFollowsTheAspectOrTheScale)
{
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, true, 7, 9));
    window->SetScreenMode(1, 1280, 720, 0, 0);
    window->ConvertTextureCursorSize_PC();
    const _EngTextureCursor* cursor = window->GetTextureCursor_PC();
    EXPECT_EQ(cursor->converted_width, 10) << "14 x 0.75, truncated";
    EXPECT_EQ(cursor->converted_height, 20);
    EXPECT_EQ(cursor->converted_hot_spot_x, 5);

    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, false, 7, 9));
    window->ConvertTextureCursorSize_PC();
    EXPECT_EQ(cursor->converted_width, 28);
    EXPECT_EQ(cursor->converted_height, 30);
    EXPECT_EQ(cursor->converted_hot_spot_y, 13);
}

TEST_F(CursorTest, ShownStateSurvivesTheTextureCursorLeaving)
{
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, true, 0, 0));
    PushAndDrain(Motion(5, 5));
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    EXPECT_TRUE(window->GetTextureCursor_PC()->outside);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "the system cursor stands in outside";
    PushAndDrain(Motion(6, 6));
    EXPECT_FALSE(window->GetTextureCursor_PC()->outside);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_TRUE(window->GetTextureCursor_PC()->shown);

    window->HideCursor();
    EXPECT_FALSE(window->GetTextureCursor_PC()->shown);
}

// The game's cursor picture drawn over a blue frame: what a player sees at the pointer.
class TextureCursorPixelTest : public WindowFixture
{
protected:
    // One pixel of the frame about to be presented, as red, green, blue; y counts from the top.
    static void ReadPixel(int x, int y, int rgb[3])
    {
        unsigned char pixel[4] = {0, 0, 0, 0};
        glReadBuffer(GL_BACK);
        glReadPixels(x, eng_screen_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        for (int i = 0; i < 3; i++)
            rgb[i] = pixel[i];
    }
    // A frame cleared to blue with the texture cursor drawn over it.
    bool ClearBlueAndDrawCursor()
    {
        if (!EngDeviceBeginRendering())
            return false;
        EngDeviceSetClearColour(0.0f, 0.0f, 1.0f);
        EngDeviceClearScreenAndZBuffer();
        EngDeviceEndRendering();
        window->RenderTextureCursor_PC();
        return true;
    }
};

TEST_F(TextureCursorPixelTest, NewScreenSizeKeepsTheArrowAtAPointerThatDidNotMove)
{
    Open(800, 600);
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, true, 0, 0));
    ASSERT_TRUE(program->CreateMainGraphicsDevice());
    PushAndDrain(Motion(500, 400));

    SDL_Window* handle = window->GetWindowHandle_PC();
    SDL_SetWindowSize(handle, 640, 480);
    Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480));
    WaitForSettledResize();
    ASSERT_EQ(eng_screen_width, 640) << "the device was made again for the new size";

    ASSERT_TRUE(ClearBlueAndDrawCursor());

    int rgb[3];
    ReadPixel(501, 408, rgb);
    EXPECT_GT(rgb[0], 150) << "the arrow is still under the pointer";
    ReadPixel(401, 328, rgb);
    EXPECT_EQ(rgb[0], 0) << "and not where the old position scales to";
    EXPECT_EQ(rgb[2], 255);
}

TEST_F(TextureCursorPixelTest, ArrowIsDrawnAtThePointerOverWhatIsBelow)
{
    Open(640, 480);
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, true, 0, 0));
    ASSERT_TRUE(program->CreateMainGraphicsDevice());
    ASSERT_TRUE(window->GetTextureCursor_PC()->on) << "the picture loads with the device";
    PushAndDrain(Motion(100, 100));

    ASSERT_TRUE(ClearBlueAndDrawCursor());

    int rgb[3];
    ReadPixel(300, 300, rgb);
    EXPECT_EQ(rgb[2], 255) << "away from the pointer the frame is untouched";
    ReadPixel(101, 108, rgb);
    EXPECT_GT(rgb[0], 150) << "the arrow's light inside";
    EXPECT_GT(rgb[1], 150);
    ReadPixel(100, 101, rgb);
    EXPECT_LT(rgb[2], 100) << "the dark outline at the tip";
    ReadPixel(111, 102, rgb);
    EXPECT_EQ(rgb[0], 0) << "see-through parts of the picture show the frame";
    EXPECT_EQ(rgb[2], 255);

    // Hidden, the texture cursor draws nothing.
    window->HideCursor();
    ASSERT_TRUE(ClearBlueAndDrawCursor());
    ReadPixel(101, 108, rgb);
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[2], 255);
}
// A cursor picture cut short is not drawn with its missing part as see-through: it is refused, and the
// system's pointer stands in so the player still sees one.
TEST_F(TextureCursorPixelTest, CutShortPictureLeavesTheSystemPointer)
{
    std::ifstream whole("Data/1200.tga", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100u);
    const std::string cut = ::testing::TempDir() + "/cut_cursor.tga";
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 64);

    Open(640, 480);
    ASSERT_TRUE(window->SetupTextureCursor_PC(cut.c_str(), 2, 2, 14, 20, true, 0, 0));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    ASSERT_TRUE(program->CreateMainGraphicsDevice());
    EXPECT_FALSE(window->GetTextureCursor_PC()->on);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}
} // namespace
