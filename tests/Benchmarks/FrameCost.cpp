// What one frame costs: a menu-like frame of 500 textured quads and 2,000 characters of text drawn through
// the device, and a menu drawn through the GUI toolkit (a window, 40 buttons with texts over nine-piece
// texture buttons, a table of 10 rows). Each is cleared and presented, and waited for.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"
#include "tests/Support/GameFontForTests.h"

namespace {

class BenchProgram : public EngProgram {};

// 50 characters; 40 lines make the 2,000 of a frame.
const char* const kLine = "Torvi Torvi 1:23.456 LAP 3/5 - CHAMPIONSHIP ROUND ";

bool OpenDevice(BenchProgram* program)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    _EngCreateWindowParms parms;
    parms.x = 0;
    parms.y = 0;
    parms.width = 800;
    parms.height = 600;
    parms.windowed = 1;
    return program->CreateMainWindow("Torvi Torvi frame cost", "TorviBenchClass", &parms) == 1 &&
           program->CreateMainGraphicsDevice();
}

void PresentAndWait()
{
    EngDeviceSwapBuffers();
    // Wait for the frame, so the time is the drawing's and not only the queueing's.
    glFinish();
}

void DrawFrame(EngTexture* texture, EngFont* font)
{
    EngDeviceBeginRendering();
    EngDeviceClearScreenAndZBuffer();
    EngDevicePrepareFor2D(true);
    EngDeviceEnableBlendingType(0);
    EngDeviceTurnOnAlphaModulation();
    for (int i = 0; i < 500; ++i) {
        texture->PositionRatioed((float)(i % 25) * 25.0f, (float)(i / 25) * 24.0f, 24.0f, 23.0f);
        texture->Draw();
    }
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    for (int line = 0; line < 40; ++line)
        font->DrawStringPart(4.0f, (float)line * 12.0f, kLine, 0, 0.0f);
    EngFontRestoreAfterDrawing();
    EngDeviceTurnOffAlphaModulation();
    EngDeviceRestoreAfter2D();
    EngDeviceEndRendering();
    PresentAndWait();
}

// A 64 x 64 skin picture: a dark rim, a light bevel and a vertical gradient inside, as a texture button has.
std::string WriteSkinPicture()
{
    const int n = 64;
    std::vector<unsigned char> bgra((size_t)n * n * 4);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int edge = std::min(std::min(x, y), std::min(n - 1 - x, n - 1 - y));
            const int shade = edge == 0 ? 30 : edge < 3 ? 220 : 90 + y * 2;
            unsigned char* p = &bgra[((size_t)(n - 1 - y) * n + x) * 4]; // rows bottom first
            p[0] = (unsigned char)std::min(255, shade + 60);
            p[1] = (unsigned char)shade;
            p[2] = (unsigned char)(shade / 2);
            p[3] = 255;
        }
    }
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, n, 0, n, 0, 32, 8};
    char path[64];
    snprintf(path, sizeof(path), "/tmp/torvi-bench-skin-%d.tga", (int)getpid());
    FILE* file = fopen(path, "wb");
    if (!file)
        return "";
    const bool written = fwrite(header, 1, sizeof(header), file) == sizeof(header) &&
                         fwrite(bgra.data(), 1, bgra.size(), file) == bgra.size();
    fclose(file);
    return written ? path : "";
}

const char* TableCell(int row, int column, MWinTabPanel*)
{
    static const char* const kDrivers[10] = {"HANNA", "JUSSI", "MARKO", "LIISA", "PEKKA",
                                             "AINO",  "VEIKKO", "SANNA", "TONI",  "ELINA"};
    static char time[16];
    if (row < 0)
        return column == 0 ? "DRIVER" : column == 1 ? "BEST LAP" : "POINTS";
    if (column == 0)
        return kDrivers[row % 10];
    snprintf(time, sizeof(time), column == 1 ? "1:%02d.%03d" : "%d", 20 + row, 100 + row * 37);
    return time;
}

// The GUI of a menu screen, skinned with one picture cut into nine pieces per button.
bool BuildMenu(MWin* mwin, EngFont* font, const std::string& skin)
{
    MWinTextures* textures = mwin->GetTextures();
    if (skin.empty() || mwin->GetFonts()->AddUserFontPointer("Main", font) != 0 ||
        mwin->GetFonts()->AddFontPointer(nullptr, font) != MWIN_FONT_NUM_DEFAULT ||
        textures->AddTexture("Skin", skin.c_str(), 1, 0) != 1)
        return false;
    const char* const kLooks[4] = {"Button", "Back", "Heading", "Row"};
    for (const char* look : kLooks) {
        if (!textures->AddTextureButton(look, "Skin", 0, 0, 1, 1, "Skin", 0, 0, 1, 1, "Skin", 0, 0, 1, 1, "Skin", 0,
                                        0, 1, 1))
            return false;
        textures->SetTexButDrawStyle(look, 2, 0.25f, 6.0f, 2, 0.25f, 6.0f);
    }
    const struct {
        int slot;
        const char* look;
    } kSlots[] = {{MWIN_STD_WINDOW_BACK, "Back"},        {MWIN_STD_TITLE_BAR, "Heading"},
                  {MWIN_STD_PUSH_BUTTON, "Button"},      {MWIN_STD_TAB_HEADING, "Heading"},
                  {MWIN_STD_TAB_ROW_BACK1, "Row"},       {MWIN_STD_TAB_ROW_BACK2, "Row"},
                  {MWIN_STD_TAB_ROW_SELECTION, "Button"}, {MWIN_STD_TAB_VERT_DIV, "Row"}};
    for (const auto& slot : kSlots)
        textures->SetStandardTextureToTexBut(slot.slot, slot.look);
    mwin->Startup();
    if (mwin->CreateGraphicsObjects() != 1)
        return false;
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoSetDefaults(&info);
    info.x = 20;
    info.y = 10;
    info.width = 600;
    info.height = 460;
    info.has_title_bar = 1;
    snprintf(info.title, sizeof(info.title), "%s", "CHAMPIONSHIP");
    MWinWindow* window = mwin->GetDesktop()->AddCollection("MENU")->AddWindow("MAIN", &info);
    if (!window)
        return false;
    for (int i = 0; i < 40; ++i) {
        char id[16];
        char text[16];
        snprintf(id, sizeof(id), "B%d", i);
        snprintf(text, sizeof(text), "RACE %d", i + 1);
        if (!window->AddButton(id, MWIN_BUT_PUSH, "Button", text, 20.0f + (float)(i % 4) * 140.0f,
                               10.0f + (float)(i / 4) * 22.0f, 132.0f, 20.0f))
            return false;
    }
    MWinTabPanel* table = window->AddTabPanel("TABLE", "Back", 20, 236, 552, 190);
    if (!table)
        return false;
    table->SetFont("Main");
    table->SetEntryCallback(10, 3, 10, TableCell);
    table->SetHeaderAndSelectMode(1, 1, 1, 1, MWIN_TP_SELECT_SINGLE, 1, 20);
    table->SelectRow(3, 1, 0, 0);
    return true;
}

void DrawMenuFrame(MWin* mwin)
{
    EngDeviceBeginRendering();
    EngDeviceSetClearColour(0.1f, 0.1f, 0.2f);
    EngDeviceClearScreenAndZBuffer();
    mwin->RenderMain();
    EngDeviceEndRendering();
    PresentAndWait();
}

// The engine allows one application object per process, and the benchmark runs its functions more than once:
// the device, pictures, font and GUI are made on the first run and kept.
struct FrameScene {
    BenchProgram program;
    EngTexture texture;
    EngFont font;
    MWin* menu = nullptr;
    bool ready = false;
    bool menu_ready = false;
};

FrameScene* Scene()
{
    static FrameScene* scene = nullptr;
    if (!scene) {
        scene = new FrameScene;
        scene->ready = OpenDevice(&scene->program) &&
                       scene->texture.LoadFromFile("Data\\1200.tga", true, ETAT_FROM_FILE) &&
                       CreateGameFontForTests(&scene->font);
        if (scene->ready) {
            scene->menu = new MWin(nullptr);
            const std::string skin = WriteSkinPicture();
            scene->menu_ready = BuildMenu(scene->menu, &scene->font, skin);
            // Loaded by now; the device is never made again here.
            remove(skin.c_str());
        }
    }
    return scene;
}

// Draw calls per frame over the benchmark's run.
void CountDraws(benchmark::State& state, int draws_before)
{
    state.counters["draws"] = (double)(eng_d3d_device->GetDrawCallCount() - draws_before) / (double)state.iterations();
}

void BM_FrameCost(benchmark::State& state)
{
    FrameScene* scene = Scene();
    if (!scene->ready) {
        state.SkipWithError("no graphics device, picture or font");
        return;
    }
    const int draws_before = eng_d3d_device->GetDrawCallCount();
    for (auto _ : state)
        DrawFrame(&scene->texture, &scene->font);
    CountDraws(state, draws_before);
    state.counters["quads"] = 500;
    state.counters["characters"] = 2000;
}

void BM_MenuFrame(benchmark::State& state)
{
    FrameScene* scene = Scene();
    if (!scene->menu_ready) {
        state.SkipWithError("no graphics device, font or GUI");
        return;
    }
    const int draws_before = eng_d3d_device->GetDrawCallCount();
    for (auto _ : state)
        DrawMenuFrame(scene->menu);
    CountDraws(state, draws_before);
    state.counters["buttons"] = 40;
}

} // namespace

BENCHMARK(BM_FrameCost)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMillisecond);
