#include "Game/Game.h"

#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Game/Controls.h"
#include "Game/Input.h"
#include "Game/Resolution.h"
#include "Game/SettingsClass.h"
#include "Game/TimesWorld.h"
#include "Game/TrackInfo.h"
#include "Game/Traverse.h"
#include "Game/Users.h"

namespace {

// The texture cursor: loaded with alpha from the file, 14 x 20 virtual units kept in proportion on wide
// screens, the hot spot at the arrow's tip.
constexpr char kCursorLoadOption1 = 2;
constexpr char kCursorLoadOption2 = 2;
constexpr int kCursorWidth = 14;
constexpr int kCursorHeight = 20;
constexpr bool kCursorUsesAspect = true;

// How the race font is rendered: a soft shadow below and right of each glyph, two channels, 31 pixels,
// the printable ASCII range.
constexpr int kFontMargin = 1;
constexpr int kFontShadowX = 9;
constexpr int kFontShadowY = 7;
constexpr float kFontFirstChannelShadow = 0.0f;
constexpr float kFontSecondChannelShadow = 0.803f;
constexpr int kFontFirstChannelSmoothing = 3;
constexpr int kFontSecondChannelSmoothing = 1;
constexpr int kFontPixelSize = 31;
constexpr int kFontFirstChar = 32;
constexpr int kFontLastChar = 126;
constexpr float kFontLayout[ENG_FONT_LAYOUT_VALUES] = {0.12f, 0.213f, 1.109f, 5.952f, 0.0f, 0.0f, 0.0f, 0.0f};

// The menus stand on a plain green, the colour the engine clears to, until their picture is drawn.
constexpr float kMenuClearColour[3] = {0.2f, 0.4f, 0.3f};

void SetCursorShown(bool shown)
{
    if (!eng_main_window)
        return;
    if (shown)
        eng_main_window->ShowCursor();
    else
        eng_main_window->HideCursor();
}

} // namespace

Game::Game(Program* program, const char* name, int unused) : m_program(program)
{
    (void)unused;
    DebugFatalCheck(program != nullptr, ENG_FUNC, "No program.");
    EngSafeStrcpy(m_name, name && name[0] ? name : "Game", sizeof(m_name));
    m_menu_background = new (std::nothrow) EngTexture();
    DebugFatalCheck(m_menu_background != nullptr, ENG_FUNC, "No memory");
    m_race_font = new (std::nothrow) EngFont();
    DebugFatalCheck(m_race_font != nullptr, ENG_FUNC, "No memory");
    TrackInfoInitVars(0);
    m_mwin = new (std::nothrow) MWin(this);
    DebugFatalCheck(m_mwin != nullptr, ENG_FUNC, "No memory");
    m_controls = new (std::nothrow) Controls(this);
    DebugFatalCheck(m_controls != nullptr, ENG_FUNC, "No memory");
    m_input = new (std::nothrow) Input(this);
    DebugFatalCheck(m_input != nullptr, ENG_FUNC, "No memory");
    m_users = new (std::nothrow) UsersClass(this);
    DebugFatalCheck(m_users != nullptr, ENG_FUNC, "No memory");
    m_current_profile = m_users->GetUser(0);
    m_traverse = new (std::nothrow) Traverse(this);
    DebugFatalCheck(m_traverse != nullptr, ENG_FUNC, "No memory");
    m_settings = new (std::nothrow) SettingsClass(this);
    DebugFatalCheck(m_settings != nullptr, ENG_FUNC, "No memory");
    m_times_world = new (std::nothrow) TimesWorld(this);
    DebugFatalCheck(m_times_world != nullptr, ENG_FUNC, "No memory");
}

Game::~Game()
{
    delete m_times_world;
    m_times_world = nullptr;
    delete m_settings;
    m_settings = nullptr;
    EngInputShutdown();
    delete m_input;
    m_input = nullptr;
    delete m_controls;
    m_controls = nullptr;
    delete m_users;
    m_users = nullptr;
    m_current_profile = nullptr;
    // The GUI goes before the race font: its font registry points at it.
    delete m_mwin;
    m_mwin = nullptr;
    delete m_traverse;
    m_traverse = nullptr;
    delete m_race_font;
    m_race_font = nullptr;
    if (m_menu_background)
        m_menu_background->Destroy();
    delete m_menu_background;
    m_menu_background = nullptr;
}

bool Game::IsMenusOn() const
{
    return m_mwin && m_mwin->IsOn() == 1;
}

signed char Game::PreDeviceSetup()
{
    m_mwin->GetFonts()->AddUserFontPointer("Main", m_race_font);
    // The start-up settings may choose the system's own cursor instead.
    if (eng_main_window && ResolutionGetSettings()->cursor_type == 0)
        eng_main_window->SetupTextureCursor_PC(GAME_CURSOR_FILE, kCursorLoadOption1, kCursorLoadOption2,
                                               kCursorWidth, kCursorHeight, kCursorUsesAspect, 0, 0);
    // Without devices the game still runs: the menus take the mouse and keys from the window.
    m_input->Init();
    m_settings->SetFilename();
    return 1;
}

bool Game::LoadRaceFont()
{
    if (m_race_font->IsSetup())
        return true;
    _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
    words[0].i = kFontMargin;
    words[1].i = kFontShadowX;
    words[2].i = kFontShadowY;
    words[3].f = kFontFirstChannelShadow;
    words[4].f = kFontSecondChannelShadow;
    words[5].i = kFontFirstChannelSmoothing;
    words[6].i = kFontSecondChannelSmoothing;
    m_race_font->SetCreationParms(words);
    if (m_race_font->CreateFromFontFile(GAME_RACE_FONT_FILE, 1, 1, kFontPixelSize, kFontFirstChar, kFontLastChar,
                                        nullptr, 0, kFontLayout, 1))
        return true;
    DebugError(ENG_FUNC, "Could not load the race font <%s>", GAME_RACE_FONT_FILE);
    return false;
}

bool Game::CreateGraphicsObjects()
{
    SetCursorShown(false);
    EngFontSetReportMissingChars(false);
    if (!LoadRaceFont())
        return false;
    m_mwin->CreateGraphicsObjects();
    SetCursorShown(IsMenusOn());
    return true;
}

void Game::DestroyGraphicsObjects()
{
    m_menu_background->Unload();
    m_mwin->DestroyGraphicsObjects();
    m_race_font->Destroy();
}

signed char Game::PostDeviceSetup()
{
    if (!m_settings->Load())
        m_settings->SetDefaults();
    EngDeviceGetTransformMatrix(&m_view_matrix);
    EngDeviceTurnOffZBufferIfOn();
    GraphicsReady();
    StartMenus();
    return 1;
}

void Game::PreCloseWindow()
{
    m_input->Release();
    EngInputShutdown();
    if (m_current_profile->user_id != 0)
        m_users->SaveCurrentUser();
    m_settings->Save();
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
}

void Game::GraphicsReady()
{
    EngDeviceTurnOffZBufferIfOn();
    EngDeviceAllowZBuffer(false);
    EngDevicePrepareFor2DIfNeeded(true);
    EngDeviceSetClearColour(kMenuClearColour[0], kMenuClearColour[1], kMenuClearColour[2]);
}

// In place of the first screen: the GUI comes on with the cursor shown.
void Game::StartMenus()
{
    if (!IsMenusOn())
        m_mwin->Startup();
    SetCursorShown(true);
}

void Game::Tick()
{
    m_mwin->Tick();
    if (IsMenusOn())
        EngInputPollAllDevices();
}

void Game::Render()
{
    if (!EngDeviceBeginRendering())
        return;
    // The race frame comes with the race; until then only the menus draw.
    if (IsMenusOn())
        RenderMenus();
    EngDeviceEndRendering();
}

void Game::RenderMenus()
{
    EngDeviceClearScreen();
    m_mwin->RenderMain();
    m_mwin->RenderPopups();
}

bool Game::HandleInputEvent(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
{
    return m_mwin->HandleInputEvent(int(type), value1, value2) != 0;
}
