#pragma once
// A headless GUI for the toolkit's tests: an application object and an unopened main window (so the
// existence checks of firing pass), a started MWin with one collection "SCREEN" and one full-screen window
// "MAIN", and helpers that feed input the way the window procedure does.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinWindow.h"
#include "Support/LogForTests.h"

// The default window creation information, placed at (x, y) with the given size.
inline _MWinWindowCreateInfo PlacedWindowInfo(float x, float y, float w, float h)
{
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoSetDefaults(&info);
    info.x = x;
    info.y = y;
    info.width = w;
    info.height = h;
    return info;
}

// Records what callbacks and the sound hook received.
struct FireLog {
    int calls = 0;
    int frame = -1;
    int int1 = 0;
    int int2 = 0;
    std::string button_id;
    std::string window_id;
    MWinButton* button = nullptr;
    int sounds[4] = {};
};

// A controller that records the buttons reported to it and answers as told.
class RecordingController : public MWinCollectionController {
public:
    char CreateCollection(MWin*) override { return 1; }
    void ClearPointers() override {}
    void StartingCB(void*) override {}
    void TickCB() override {}
    void RenderCB(int) override {}
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override
    {
        calls++;
        last_button = button;
        last_id = button ? button->GetID() : "";
        info_id = info ? info->button_id : "";
        return answer;
    }
    int calls = 0;
    char answer = 1;
    MWinButton* last_button = nullptr;
    std::string last_id; // the button's own ID
    std::string info_id; // the ID the callback information carries
};

class MWinFixture : public ::testing::Test {
public:
    static MWinWindow* AddWindow(MWinCollection* c, const char* id, float x, float y, float w, float h)
    {
        _MWinWindowCreateInfo info = PlacedWindowInfo(x, y, w, h);
        return c->AddWindow(id, &info);
    }

    static void Record(MWin*, _MWinButtonCallbackInfo* info, int int1, int int2, void* user)
    {
        MWinFixture* self = static_cast<MWinFixture*>(user);
        self->log.calls++;
        self->log.frame = self->frame;
        self->log.int1 = int1;
        self->log.int2 = int2;
        self->log.button_id = info ? info->button_id : "";
        self->log.window_id = info ? info->window_id : "";
        self->log.button = info ? info->button : nullptr;
    }

protected:
    void SetUp() override
    {
        program = new EngProgram();
        main_window = new EngWindow(program, "mwin test");
        eng_main_window = main_window;
        mwin = new MWin(nullptr);
        mwin->SetButtonPressedHook(&MWinFixture::SoundHook, this);
        mwin->Startup();
        collection = mwin->GetDesktop()->AddCollection("SCREEN");
        window = AddWindow(collection, "MAIN", 0, 0, 640, 480);
    }

    void TearDown() override
    {
        delete mwin;
        eng_main_window = nullptr;
        delete main_window;
        delete program;
    }

    static void SoundHook(int event, void* user)
    {
        MWinFixture* self = static_cast<MWinFixture*>(user);
        if (event >= 0 && event < 4)
            self->log.sounds[event]++;
    }

    MWinButton* AddPush(const char* id, float x, float y, float w, float h, int int1 = 0, int int2 = 0)
    {
        MWinButton* b = window->AddButton(id, MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, id, x, y, w, h);
        if (b)
            b->SetCallback(&MWinFixture::Record, int1, int2, this, 1);
        return b;
    }

    char MoveTo(float x, float y)
    {
        return mwin->HandleInputEvent(int(_EngInputEventType::MouseMove), EngInputEventFromFloat(x),
                                      EngInputEventFromFloat(y));
    }
    char Press(int button = 0) { return mwin->HandleInputEvent(int(_EngInputEventType::MouseButton), button, 1); }
    char Release(int button = 0) { return mwin->HandleInputEvent(int(_EngInputEventType::MouseButton), button, 0); }
    char Click(float x, float y)
    {
        MoveTo(x, y);
        Press();
        return Release();
    }
    char Key(int key) { return mwin->HandleInputEvent(int(_EngInputEventType::KeyDown), EngUInt32(key), 0); }
    char Wheel(int steps)
    {
        return mwin->HandleInputEvent(int(_EngInputEventType::MouseWheel), EngUInt32(EngInt32(steps)), 0);
    }
    // One frame of the GUI.
    char Frame()
    {
        frame++;
        return mwin->Tick();
    }

    EngProgram* program = nullptr;
    EngWindow* main_window = nullptr;
    MWin* mwin = nullptr;
    MWinCollection* collection = nullptr;
    MWinWindow* window = nullptr;
    FireLog log;
    int frame = 0;
};
