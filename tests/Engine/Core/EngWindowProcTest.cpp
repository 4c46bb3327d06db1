// SDL events pushed into the real event queue and pumped through the window procedure: the input events the
// application object gets and what lands in the key-state table.

#include <algorithm>

#include "Engine/Core/EngMain.h"

#include "EngWindowTestProgram.h"

namespace
{
using Input = _EngInputEventType;

class WindowProcTest : public WindowFixture
{
protected:
    void SetUp() override { Open(); }

    void TapKey(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE)
    {
        Push(Key(SDL_KEYDOWN, scancode, sym, mod));
        Push(Key(SDL_KEYUP, scancode, sym, mod));
        Drain();
    }

    std::vector<EngUInt32> Characters() const
    {
        std::vector<EngUInt32> found;
        for (const RecordedInput& input : Inputs(Input::Character))
            found.push_back(input.value1);
        return found;
    }
};

TEST_F(WindowProcTest, KeyPressAndReleaseReachTheTableAndTheProgram)
{
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a));
    Drain();
    EXPECT_EQ(EngKeyStateTable['A'], 2);
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 1));
    Push(Key(SDL_KEYUP, SDL_SCANCODE_A, SDLK_a));
    Drain();
    EXPECT_EQ(EngKeyStateTable['A'], 0);

    std::vector<RecordedInput> downs = Inputs(Input::KeyDown);
    std::vector<RecordedInput> ups = Inputs(Input::KeyUp);
    ASSERT_EQ(downs.size(), 2u) << "auto-repeat gives a further key down";
    EXPECT_EQ(downs[0].value1, 0x41u);
    EXPECT_EQ(downs[1].value1, 0x41u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].value1, 0x41u);
    EXPECT_TRUE(Characters().empty()) << "a letter's character comes from text input, not from the key";
}

TEST_F(WindowProcTest, ControlCharactersComeWithTheirKeys)
{
    TapKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    TapKey(SDL_SCANCODE_TAB, SDLK_TAB, KMOD_LSHIFT);
    TapKey(SDL_SCANCODE_RETURN, SDLK_RETURN);
    TapKey(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
    TapKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    TapKey(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL);
    TapKey(SDL_SCANCODE_Z, SDLK_z, KMOD_RCTRL);
    EXPECT_EQ(Characters(), (std::vector<EngUInt32>{8, 9, 13, 13, 27, 1, 26}));

    // The character follows its key down, as the program expects to see them.
    ASSERT_GE(program->inputs.size(), 2u);
    EXPECT_EQ(program->inputs[0].type, Input::KeyDown);
    EXPECT_EQ(program->inputs[1].type, Input::Character);
}

TEST_F(WindowProcTest, TextInputArrivesAsWindows1252Characters)
{
    SDL_Event event = {};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = WindowId();
    SDL_strlcpy(event.text.text, "a\xC3\xA9\xE2\x82\xAC\xD0\xB6", sizeof(event.text.text)); // a, e-acute, euro, zhe
    PushAndDrain(event);
    EXPECT_EQ(Characters(), (std::vector<EngUInt32>{'a', 0xE9, 0x80, '?'}));
}

TEST_F(WindowProcTest, WheelNotchesScrollThreeLines)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = WindowId();
    event.wheel.y = -1;
    Push(event);
    event.wheel.y = 2;
    Push(event);
    event.wheel.y = 1;
    event.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    Push(event);
    Drain();
    std::vector<RecordedInput> wheels = Inputs(Input::MouseWheel);
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(EngInt32(wheels[0].value1), -3) << "towards the user";
    EXPECT_EQ(wheels[0].value2 & 0xFF, 2u);
    EXPECT_EQ(EngInt32(wheels[1].value1), 6);
    EXPECT_EQ(EngInt32(wheels[2].value1), -3) << "a flipped wheel still scrolls the way the hand moves";
}

TEST_F(WindowProcTest, MouseButtonsUseTheirOwnKeyCodes)
{
    const Uint8 buttons[3] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    const int keys[3] = {ENG_VK_LBUTTON, ENG_VK_RBUTTON, ENG_VK_MBUTTON};
    for (int i = 0; i < 3; i++)
    {
        PushAndDrain(Button(SDL_MOUSEBUTTONDOWN, buttons[i]));
        EXPECT_EQ(EngKeyStateTable[keys[i]], 2) << i;
        PushAndDrain(Button(SDL_MOUSEBUTTONUP, buttons[i]));
        EXPECT_EQ(EngKeyStateTable[keys[i]], 0) << i;
    }
    std::vector<RecordedInput> events = Inputs(Input::MouseButton);
    ASSERT_EQ(events.size(), 6u);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(events[2 * i].value1, EngUInt32(i));
        EXPECT_EQ(events[2 * i].value2 & 0xFF, 1u);
        EXPECT_EQ(events[2 * i + 1].value1, EngUInt32(i));
        EXPECT_EQ(events[2 * i + 1].value2 & 0xFF, 0u);
    }
}

TEST_F(WindowProcTest, MovesAreClientCoordinates)
{
    EXPECT_TRUE(window->IsPointerOutside_PC());
    PushAndDrain(Motion(123, 456));
    std::vector<RecordedInput> moves = Inputs(Input::MouseMove);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(EngInputEventToFloat(moves[0].value1), 123.0f);
    EXPECT_EQ(EngInputEventToFloat(moves[0].value2), 456.0f);
    EXPECT_FALSE(window->IsPointerOutside_PC()) << "the first move inside brings the pointer back";
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    EXPECT_TRUE(window->IsPointerOutside_PC());
}

// A fast mouse queues far more moves than frames: one pump of the program merges queued moves, as the
// system the engine was first written for does, and takes the whole queue, so a key among the moves is
// answered at once and in its place.
TEST_F(WindowProcTest, MotionFloodIsMergedAndAKeyAmongItArrivesInOnePump)
{
    for (int i = 0; i < 3000; i++)
        Push(Motion(i % 700, 100));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a));
    for (int i = 0; i < 3000; i++)
        Push(Motion(50, i % 500));
    EXPECT_EQ(1, program->PumpMessages()) << "the queue is empty after one pump";
    std::vector<Input> order;
    for (const RecordedInput& input : program->inputs) {
        if (input.type == Input::KeyDown || input.type == Input::MouseMove)
            order.push_back(input.type);
    }
    EXPECT_EQ(order, (std::vector<Input>{Input::MouseMove, Input::KeyDown, Input::MouseMove}));
    std::vector<RecordedInput> moves = Inputs(Input::MouseMove);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(EngInputEventToFloat(moves[0].value1), float(2999 % 700));
    EXPECT_EQ(EngInputEventToFloat(moves[1].value2), float(2999 % 500));
    SDL_PumpEvents();
    EXPECT_EQ(0, SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION));
}

// The pump's work is bounded: presses are never merged, and a flood of them is taken in slices.
TEST_F(WindowProcTest, OnePumpTakesABoundedShareOfAFlood)
{
    for (int i = 0; i < 2 * ENG_MAX_MESSAGES_PER_PUMP; i++)
        Push(Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 1));
    EXPECT_EQ(2, program->PumpMessages()) << "more is waiting";
    EXPECT_EQ(Inputs(Input::KeyDown).size(), size_t(ENG_MAX_MESSAGES_PER_PUMP));
    Drain();
    EXPECT_EQ(Inputs(Input::KeyDown).size(), size_t(2 * ENG_MAX_MESSAGES_PER_PUMP));
}

// A clock for a flood of input: every reading moves it a tenth of a millisecond and queues a pointer move and
// a repeated key, as a fast mouse and a held key would between two readings.
struct InputFlood
{
    static constexpr double step = 0.0001;
    double now = 0.0;
    Uint32 window_id = 0;
    std::vector<double> keys_queued_at;
};
InputFlood flood;

double FloodClock()
{
    flood.now += InputFlood::step;
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = flood.window_id;
    event.motion.x = int(flood.keys_queued_at.size() % 700);
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_KEYDOWN;
    event.key.windowID = flood.window_id;
    event.key.state = SDL_PRESSED;
    event.key.repeat = 1;
    event.key.keysym.scancode = SDL_SCANCODE_UP;
    event.key.keysym.sym = SDLK_UP;
    if (SDL_PushEvent(&event) == 1)
        flood.keys_queued_at.push_back(flood.now);
    return flood.now;
}

struct FloodClockInUse
{
    FloodClockInUse() { EngMainSetClockSource(FloodClock); }
    ~FloodClockInUse() { EngMainSetClockSource(nullptr); }
};

// An untouched frame counts its idle milliseconds as rounds for the rate adjustment. Under a flood of input
// every event is answered while the frame waits, within the millisecond, yet frames keep their period and
// their idle rounds: the input neither starts the next frame early nor counts as idle time many times over.
TEST_F(WindowProcTest, InputDuringTheWaitIsAnsweredAtOnceAndFramesKeepTheirRate)
{
    program->SetTargetFrameRate(20.0f);
    ASSERT_TRUE(program->DoConstantFrameRateTick());
    EXPECT_GE(program->GetLastWaitRounds(), 25) << "a 50 ms frame with nothing to do";

    program->SetTargetFrameRate(60.0f);
    flood = InputFlood();
    flood.window_id = WindowId();
    FloodClockInUse clock;
    const int periods = 30;
    int frames = 0;
    while (flood.now < periods / 60.0 && frames <= 2 * periods) {
        ASSERT_TRUE(program->DoConstantFrameRateTick());
        ++frames;
        EXPECT_GE(eng_frame_time, 1.0f / 60.0f) << "frame " << frames << " ended early";
        EXPECT_NEAR(program->GetLastWaitRounds(), 16, 1) << "frame " << frames;
    }
    program->PumpMessages();
    EXPECT_GE(frames, periods - 1);
    EXPECT_LE(frames, periods);

    std::vector<RecordedInput> keys = Inputs(Input::KeyDown);
    ASSERT_EQ(keys.size(), flood.keys_queued_at.size()) << "every key is answered";
    ASSERT_GT(keys.size(), size_t(100 * periods));
    double slowest = 0.0;
    for (size_t i = 0; i < keys.size(); i++)
        slowest = std::max(slowest, keys[i].at - flood.keys_queued_at[i]);
    EXPECT_LT(slowest, 0.001 + 3 * InputFlood::step) << "a key waited for the frame's end";
    EXPECT_FALSE(Inputs(Input::MouseMove).empty());
}

TEST_F(WindowProcTest, EventsOfAnotherWindowAreNotOurs)
{
    SDL_Event event = Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a);
    event.key.windowID = WindowId() + 100;
    PushAndDrain(event);
    EXPECT_TRUE(program->inputs.empty());
    EXPECT_EQ(EngKeyStateTable['A'], 0);
}

TEST_F(WindowProcTest, FocusLossReleasesKeysWhoseReleaseNeverCame)
{
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT | KMOD_LSHIFT));
    Drain();
    ASSERT_EQ(EngKeyStateTable[ENG_VK_UP], 2);
    ASSERT_EQ(EngKeyStateTable[ENG_VK_SHIFT], 2);
    ASSERT_EQ(EngKeyStateTable[ENG_VK_MENU], 2);

    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(EngKeyStateTable[ENG_VK_UP], 0);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_SHIFT], 0);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_MENU], 0);
    EXPECT_EQ(Inputs(Input::KeyUp).size(), 2u) << "Up and Shift were seen going down, so they are seen going up";
    EXPECT_EQ(program->Count("ActivateCB(0)"), 1);

    // A release arriving late changes nothing and does no harm.
    PushAndDrain(Key(SDL_KEYUP, SDL_SCANCODE_UP, SDLK_UP));
    EXPECT_EQ(EngKeyStateTable[ENG_VK_UP], 0);
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(program->Count("ActivateCB(1)"), 1);
}

TEST_F(WindowProcTest, InputLayerOwnsTheKeyboardWhileItsCallbackIsInstalled)
{
    static std::vector<std::pair<int, bool>> received;
    received.clear();
    window->SetKeyCallback([](int key, bool down) { received.push_back({key, down}); });
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_SPACE, SDLK_SPACE));
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = WindowId();
    SDL_strlcpy(text.text.text, " ", sizeof(text.text.text));
    Push(text);
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, SDLK_RIGHT));
    Drain();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_SPACE], 0);
    EXPECT_TRUE(Inputs(Input::KeyDown).empty());
    EXPECT_EQ(Characters(), (std::vector<EngUInt32>{' '})) << "characters still reach the program";

    // Losing the focus releases the held keys through the same owner.
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    std::vector<std::pair<int, bool>> expected = {
        {ENG_VK_SPACE, true}, {ENG_VK_RIGHT, true}, {ENG_VK_SPACE, false}, {ENG_VK_RIGHT, false}};
    EXPECT_EQ(received, expected);
    window->SetKeyCallback(nullptr);
}

TEST_F(WindowProcTest, AltAndF10TakeTheSystemPath)
{
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_X, SDLK_x, KMOD_LALT));
    Drain();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_MENU], 2);
    EXPECT_EQ(EngKeyStateTable['X'], 0) << "a key with Alt held goes to the system, not to the table";
    Push(Key(SDL_KEYUP, SDL_SCANCODE_X, SDLK_x, KMOD_LALT));
    Push(Key(SDL_KEYUP, SDL_SCANCODE_LALT, SDLK_LALT));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_F10, SDLK_F10));
    Drain();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_MENU], 0);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_F10], 2);
    PushAndDrain(Key(SDL_KEYUP, SDL_SCANCODE_F10, SDLK_F10));
    EXPECT_EQ(EngKeyStateTable[ENG_VK_F10], 0);
    EXPECT_TRUE(program->inputs.empty()) << "the system path sends the program nothing";
    EXPECT_FALSE(program->IsQuitting());

    // F11 without Alt is an ordinary key, and so is a key with Control and Alt (AltGr).
    PushAndDrain(Key(SDL_KEYDOWN, SDL_SCANCODE_F11, SDLK_F11));
    PushAndDrain(Key(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_RALT));
    std::vector<RecordedInput> downs = Inputs(Input::KeyDown);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].value1, EngUInt32(ENG_VK_F11));
    EXPECT_EQ(downs[1].value1, EngUInt32('Q'));
    EXPECT_EQ(EngKeyStateTable['Q'], 2);
}

TEST_F(WindowProcTest, KeyLetGoWhileAltIsHeldIsReleased)
{
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    Push(Key(SDL_KEYUP, SDL_SCANCODE_UP, SDLK_UP, KMOD_LALT));
    Drain();
    EXPECT_EQ(EngKeyStateTable[ENG_VK_UP], 0);
    EXPECT_EQ(Inputs(Input::KeyUp).size(), 1u);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_MENU], 2);
}

TEST_F(WindowProcTest, AltF4ClosesTheWindow)
{
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT));
    EXPECT_EQ(Drain(), 0) << "the quit message follows the window's destruction";
    EXPECT_TRUE(program->IsQuitting());
}

TEST_F(WindowProcTest, CloseQuitsAndRemembersWhereTheWindowWas)
{
    int x = -1;
    int y = -1;
    ASSERT_TRUE(window->GetWindowPos(&x, &y));
    Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
    EXPECT_EQ(Drain(), 0);
    EXPECT_TRUE(program->IsQuitting());
    EXPECT_NE(Drain(), 0) << "the quit message is taken once";
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_NE(Drain(), 0) << "the system's quit after the last window closed does not close it again";

    int closed_x = -2;
    int closed_y = -2;
    EXPECT_TRUE(window->GetWindowPos(&closed_x, &closed_y)) << "the position saved at close-down stays readable";
    EXPECT_EQ(closed_x, x);
    EXPECT_EQ(closed_y, y);
}

TEST_F(WindowProcTest, SystemQuitClosesTheWindow)
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    PushAndDrain(event);
    EXPECT_TRUE(program->IsQuitting());
}

TEST_F(WindowProcTest, MinimiseAndRestoreTellTheProgram)
{
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_TRUE(window->IsMinimised());
    EXPECT_EQ(program->CallList(), "ActivateCB(0), MinimisedCB(1)");
    program->Clear();
    PushAndDrain(WindowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_FALSE(window->IsMinimised());
    EXPECT_EQ(program->CallList(), "ActivateCB(1), MinimisedCB(0)");
}

class DoubleClickTest : public WindowFixture
{
protected:
    void SetUp() override { Open(800, 600, true, false, 1); }
};

TEST_F(DoubleClickTest, SecondClickIsADoubleClickAndItsReleaseIsSwallowed)
{
    eng_time = 10.0;
    Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1));
    Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1));
    Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2));
    Drain();
    eng_time = 10.05;
    PushAndDrain(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2));

    ASSERT_EQ(program->inputs.size(), 3u);
    EXPECT_EQ(program->inputs[0].type, Input::MouseButton);
    EXPECT_EQ(program->inputs[1].type, Input::MouseButton);
    EXPECT_EQ(program->inputs[2].type, Input::MouseDoubleClick);
    EXPECT_EQ(program->inputs[2].value1, 0u);
    EXPECT_EQ(program->inputs[2].value2 & 0xFF, 0u);
    EXPECT_EQ(EngKeyStateTable[ENG_VK_LBUTTON], 0);

    // A release that comes later than a tenth of a second after the double click is an ordinary one.
    program->Clear();
    PushAndDrain(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4));
    eng_time = 10.5;
    PushAndDrain(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 4));
    ASSERT_EQ(program->inputs.size(), 2u);
    EXPECT_EQ(program->inputs[0].type, Input::MouseDoubleClick);
    EXPECT_EQ(program->inputs[1].type, Input::MouseButton);
    EXPECT_EQ(program->inputs[1].value2 & 0xFF, 0u);
}

TEST_F(WindowProcTest, WithoutDoubleClicksASecondClickIsAPress)
{
    PushAndDrain(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2));
    ASSERT_EQ(program->inputs.size(), 1u);
    EXPECT_EQ(program->inputs[0].type, Input::MouseButton);
    EXPECT_EQ(program->inputs[0].value2 & 0xFF, 1u);
}
} // namespace
