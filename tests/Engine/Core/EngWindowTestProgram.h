#pragma once
// An application object for window tests: it records every input event and the names of the callbacks as
// they come, and a fixture that makes the real main window (SDL_VIDEODRIVER=offscreen) and pushes SDL events
// through the window procedure.

#include <functional>
#include <string>
#include <vector>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngTimer_PC.h"
#include "Engine/Core/PC/EngWindowProc_PC.h"

struct RecordedInput
{
    _EngInputEventType type;
    EngUInt32 value1;
    EngUInt32 value2;
    double at; // eng_time when the program got it
};

class WindowTestProgram : public EngProgram
{
public:
    std::vector<RecordedInput> inputs;
    std::vector<std::string> calls;
    // What the game does while its window closes (saving its settings, say).
    std::function<void()> on_pre_close;

    bool InputEventCB(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2) override
    {
        inputs.push_back({type, value1, value2, eng_time});
        return true;
    }
    signed char PreCreateWindowCB(_EngCreateWindowParms*) override { return Record("PreCreateWindowCB"); }
    signed char PreDeviceInitCB() override { return Record("PreDeviceInitCB"); }
    signed char PostDeviceInitCB() override { return Record("PostDeviceInitCB"); }
    signed char PreCreateGraphicsObjectsCB() override { return Record("PreCreateGraphicsObjectsCB"); }
    bool CreateGraphicsObjectsCB() override { return Record("CreateGraphicsObjectsCB") > 0; }
    signed char PostCreateGraphicsObjectsCB() override { return Record("PostCreateGraphicsObjectsCB"); }
    void PreDestroyGraphicsObjectsCB() override { Record("PreDestroyGraphicsObjectsCB"); }
    void DestroyGraphicsObjectsCB() override { Record("DestroyGraphicsObjectsCB"); }
    void PostDestroyGraphicsObjectsCB() override { Record("PostDestroyGraphicsObjectsCB"); }
    void GraphicsReadyCB() override { Record("GraphicsReadyCB"); }
    void PreCloseWindowCB() override
    {
        Record("PreCloseWindowCB");
        if (on_pre_close)
            on_pre_close();
    }
    void PostCloseWindowCB() override { Record("PostCloseWindowCB"); }
    void ActivateCB(int state) override { Record(state ? "ActivateCB(1)" : "ActivateCB(0)"); }
    void SuspendCB(bool suspending) override { Record(suspending ? "SuspendCB(1)" : "SuspendCB(0)"); }
    void MinimisedCB(bool minimised) override { Record(minimised ? "MinimisedCB(1)" : "MinimisedCB(0)"); }
    void OrientationChangedCB(int orientation) override
    {
        Record(orientation < 2 ? "OrientationChangedCB(portrait)" : "OrientationChangedCB(landscape)");
    }

    int Count(const std::string& name) const
    {
        int count = 0;
        for (const std::string& call : calls)
            count += call == name ? 1 : 0;
        return count;
    }
    std::string CallList() const
    {
        std::string list;
        for (const std::string& call : calls)
            list += (list.empty() ? "" : ", ") + call;
        return list;
    }
    void Clear()
    {
        calls.clear();
        inputs.clear();
    }

private:
    signed char Record(const char* name)
    {
        calls.push_back(name);
        return 1;
    }
};

// A real main window (and, when asked, its graphics device) of the given client size.
class WindowFixture : public ::testing::Test
{
protected:
    WindowTestProgram* program = nullptr;
    EngWindow* window = nullptr;

    void TearDown() override
    {
        delete program;
        program = nullptr;
    }

    void Open(int width = 800, int height = 600, bool windowed = true, bool with_device = false,
              char double_clicks = 0)
    {
        EngMainStartClock_PC();
        program = new WindowTestProgram();
        _EngCreateWindowParms parms;
        parms.width = width;
        parms.height = height;
        parms.windowed = windowed ? 1 : 0;
        parms.double_clicks = double_clicks;
        ASSERT_EQ(program->CreateMainWindow("Window test", "WindowTestClass", &parms), 1);
        window = eng_main_window;
        ASSERT_NE(window, nullptr);
        KeepGLDriverLoaded();
        if (with_device)
        {
            ASSERT_TRUE(program->CreateMainGraphicsDevice());
        }
        Drain();
        program->Clear();
    }

    // One more hold on the GL driver: closing the window must not unload it before the process ends, or the
    // leak checker could not tell the driver's own allocations from ours.
    static void KeepGLDriverLoaded() { SDL_GL_LoadLibrary(nullptr); }

    Uint32 WindowId() const { return SDL_GetWindowID(window->GetWindowHandle_PC()); }

    // Handles every event queued now (a resize waiting to settle stays waiting); returns the last pump's
    // result: 0 when it took the quit message.
    signed char Drain()
    {
        signed char result = 2;
        for (int i = 0; i < 1000 && result == 2; i++)
            result = EngMainPumpOneMessage_PC();
        return result;
    }

    void Push(SDL_Event event)
    {
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    void PushAndDrain(SDL_Event event)
    {
        Push(event);
        Drain();
    }

    // Pumps until the window has had the time to see its size settle, and a little longer; the wait counts
    // from the last size change, however late it is handled.
    void WaitForSettledResize()
    {
        Drain();
        double until = EngMainGetTime_PC() + ENG_RESIZE_SETTLE_SECONDS * 2;
        while (EngMainGetTime_PC() < until)
        {
            Drain();
            SDL_Delay(10);
        }
        Drain();
    }

    SDL_Event Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0)
    {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = WindowId();
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        return event;
    }

    SDL_Event WindowEvent(Uint8 kind, int data1 = 0, int data2 = 0)
    {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = WindowId();
        event.window.event = kind;
        event.window.data1 = data1;
        event.window.data2 = data2;
        return event;
    }

    SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks = 1, int x = 10, int y = 10)
    {
        SDL_Event event = {};
        event.type = type;
        event.button.windowID = WindowId();
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    SDL_Event Motion(int x, int y)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = WindowId();
        event.motion.x = x;
        event.motion.y = y;
        return event;
    }

    // The inputs of one type, in order.
    std::vector<RecordedInput> Inputs(_EngInputEventType type) const
    {
        std::vector<RecordedInput> found;
        for (const RecordedInput& input : program->inputs)
        {
            if (input.type == type)
                found.push_back(input);
        }
        return found;
    }
};
