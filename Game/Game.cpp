#include "Game/Game.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInputDevices.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Game/Car.h"
#include "Game/ChampClass.h"
#include "Game/Controls.h"
#include "Game/Drive.h"
#include "Game/Graphics.h"
#include "Game/Input.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/Music.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/PlatformIcons.h"
#include "Game/Screens/CResCC.h"
#include "Game/Screens/QResCC.h"
#include "Game/Screens/Splash.h"
#include "Game/Screens/TorviMWinSkin.h"
#include "Game/Screens/TTrialCC.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/SettingsClass.h"
#include "Game/Sound.h"
#include "Game/StateClass.h"
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

// The title picture's four quarters and the spark of its effect.
constexpr const char* kSplashPictures[4] = {"Data/1940.dat", "Data/1941.dat", "Data/1942.dat", "Data/1943.dat"};
constexpr const char* kSplashEffect = "Data/1944.dat";
constexpr float kSplashTextScaleX = 1.0f;
constexpr float kSplashTextScaleY = 1.5f;

// The hint for a driver who has not found the accelerator: after 5 s, shown a second at a time.
constexpr double kIdleHintAfterSeconds = 5.0;
constexpr float kIdleHintSeconds = 1.0f;

// The race messages, centred at x 320 in the race font.
constexpr float kMessageX = 320.0f;
constexpr char kCentred = 1;
struct MessageLine
{
    const char* text;
    float colour[3];
    float scale[2];
    float y;
};
constexpr MessageLine kAccelerateLine = {"PRESS 'A' TO ACCELERATE", {1.0f, 1.0f, 1.0f}, {2.0f, 2.0f}, 240.0f};
constexpr MessageLine kPassedLines[2] = {
    {"TEST PASSED!", {0.498f, 1.0f, 0.498f}, {1.5f, 1.5f}, 255.0f},
    {"PRESS \"ESCAPE\" TO CONTINUE.", {0.8f, 0.7404f, 0.7122f}, {0.9f, 1.2f}, 290.0f},
};
constexpr MessageLine kTooSlowLine = {"TOO SLOW!", {1.0f, 0.2824f, 0.2353f}, {1.5f, 1.5f}, 270.0f};

template <typename T> T* Create(Game* game)
{
    T* part = new (std::nothrow) T(game);
    DebugFatalCheck(part != nullptr, ENG_FUNC, "No memory");
    return part;
}

template <typename T> void Free(T*& part)
{
    delete part;
    part = nullptr;
}

// The reference time of the idle hint, taken once in the program's life.
bool g_idle_reference_taken = false;
double g_idle_reference = 0.0;

// The GUI's own sizes beside the skin's: the scroll bars' widths and heights and the field the skin leaves.
constexpr int kGuiSizeFields[] = {MWIN_LF_VSCROLL_WIDTH, MWIN_LF_VSCROLL_THUMB_WIDTH, MWIN_LF_HSCROLL_HEIGHT,
                                  MWIN_LF_HSCROLL_THUMB_HEIGHT, 20};
constexpr float kGuiSizes[] = {18.0f, 14.0f, 0.0f, 20.0f, 20.0f};

// Popups in the game's skin: boxes of "Back", buttons and texts of "Main".
constexpr float kPopupButtonColour[4] = {1.0f, 1.0f, 1.0f, 0.7f};
constexpr float kPopupButtonScale[2] = {0.9f, 1.0f};
constexpr float kPopupTitleColour[4] = {1.0f, 1.0f, 1.0f, 0.7f};
constexpr float kPopupTitleScale[2] = {1.0f, 1.0f};
constexpr int kPopupTitleAlign = 1;
constexpr float kPopupBoxSizes[4] = {300.0f, 480.0f, 120.0f, 30.0f};

void SetupGuiLook(MWin* mwin)
{
    TorviMWinSetupSizes(mwin);
    _MWinSettings* settings = mwin->GetSettingsP();
    for (_MWinLayoutSettings& layout : settings->base_layouts)
        for (int i = 0; i < int(sizeof kGuiSizes / sizeof kGuiSizes[0]); i++)
            layout.f[kGuiSizeFields[i]] = kGuiSizes[i];
    mwin->PopupSetAppearance("Back", "Back", "Main", "Main", "Main", kPopupButtonColour[0], kPopupButtonColour[2],
                             kPopupButtonColour[1], kPopupButtonColour[3], kPopupButtonScale[0],
                             kPopupButtonScale[1], kPopupTitleColour[0], kPopupTitleColour[2], kPopupTitleColour[1],
                             kPopupTitleColour[3], kPopupTitleScale[0], kPopupTitleScale[1], kPopupTitleAlign);
    mwin->PopupSetBoxSizes(kPopupBoxSizes[0], kPopupBoxSizes[1], kPopupBoxSizes[2], kPopupBoxSizes[3]);
    TorviMWinSetupTexturesAndTexButs(mwin);
}

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
    m_mwin = Create<MWin>(this);
    m_screens = new (std::nothrow) TorviScreens(this, m_mwin);
    DebugFatalCheck(m_screens != nullptr, ENG_FUNC, "No memory");
    m_sound = Create<Sound>(this);
    m_car = Create<Car>(this);
    m_controls = Create<Controls>(this);
    m_controls->SetCar(m_car);
    m_input = Create<Input>(this);
    m_users = Create<UsersClass>(this);
    m_current_profile = m_users->GetUser(0);
    m_drive = Create<Drive>(this);
    m_champ = Create<ChampClass>(this);
    m_state = Create<StateClass>(this);
    m_levels = Create<Levels>(this);
    m_traverse = Create<Traverse>(this);
    m_graphics = Create<Graphics>(this);
    m_menus = Create<Menus>(this);
    m_music = Create<Music>(this);
    m_settings = Create<SettingsClass>(this);
    m_times_world = Create<TimesWorld>(this);
}

Game::~Game()
{
    Free(m_times_world);
    Free(m_settings);
    Free(m_music);
    Free(m_sound);
    Free(m_graphics);
    Free(m_menus);
    EngInputShutdown();
    Free(m_input);
    Free(m_controls);
    Free(m_levels);
    Free(m_state);
    Free(m_champ);
    Free(m_drive);
    Free(m_car);
    Free(m_users);
    m_current_profile = nullptr;
    delete m_screens;
    m_screens = nullptr;
    // The GUI goes before the race font: its font registry points at it.
    Free(m_mwin);
    Free(m_traverse);
    Free(m_race_font);
    if (m_menu_background)
        m_menu_background->Destroy();
    Free(m_menu_background);
}

bool Game::IsMenusOn() const
{
    return m_mwin && m_mwin->IsOn() == 1;
}

signed char Game::PreDeviceSetup()
{
    SetupGuiLook(m_mwin);
    m_mwin->GetFonts()->AddUserFontPointer("Main", m_race_font);
    // The start-up settings may choose the system's own cursor instead.
    if (eng_main_window && ResolutionGetSettings()->cursor_type == 0)
        eng_main_window->SetupTextureCursor_PC(GAME_CURSOR_FILE, kCursorLoadOption1, kCursorLoadOption2,
                                               kCursorWidth, kCursorHeight, kCursorUsesAspect, 0, 0);
    m_music->SetupSongList();
    m_sound->Setup();
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
    SplashCreateGraphics();
    CountryCreateGraphics();
    CountryScreenCreateGraphics(m_mwin);
    PlatformCreateGraphics();
    m_screens->CreateGraphicsObjects();
    m_menus->CreateGraphics();
    m_graphics->LoadFlagFrames();
    SetCursorShown(false);
    EngFontSetReportMissingChars(false);
    if (!LoadRaceFont())
        return false;
    m_mwin->CreateGraphicsObjects();
    SetCursorShown(IsMenusOn());
    if (IsMenusOn())
        CreateMenuGraphics();
    return true;
}

void Game::DestroyGraphicsObjects()
{
    m_menus->DestroyGraphics();
    m_graphics->Release();
    m_menu_background->Unload();
    m_mwin->DestroyGraphicsObjects();
    PlatformDestroyGraphics();
    CountryDestroyGraphics();
    SplashDestroyGraphics();
    m_screens->DestroyGraphicsObjects();
    m_race_font->Destroy();
}

signed char Game::PostDeviceSetup()
{
    LogResolution(2);
    if (!m_settings->Load())
        m_settings->SetDefaults();
    EngDeviceGetTransformMatrix(&m_view_matrix);
    EngDeviceTurnOffZBufferIfOn();
    if (!CreateMenuGraphics())
        return 0;
    m_screens->SetupAllScreens();
    m_music->Init(true);
    bool splash = SplashSetup(kSplashPictures[0], kSplashPictures[1], kSplashPictures[2], kSplashPictures[3],
                              kSplashEffect, nullptr, nullptr, m_race_font, kSplashTextScaleX, kSplashTextScaleY,
                              nullptr, nullptr, &Game::SplashEndedCB, this, false);
    GraphicsReady();
    if (!splash || !SplashStart())
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
    m_sound->StopAll();
    m_music->Free();
    SplashAbort();
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
}

void Game::GraphicsReady()
{
    if (IsMenusOn())
        CreateMenuGraphics();
    EngDeviceTurnOffZBufferIfOn();
    EngDeviceAllowZBuffer(false);
    EngDevicePrepareFor2DIfNeeded(true);
    EngDeviceSetClearColour(kMenuClearColour[0], kMenuClearColour[1], kMenuClearColour[2]);
    // The race's pictures went with the device's objects; a race under way goes on with them drawn again.
    if (m_loaded_track >= 0 && !LoadTrack(m_loaded_track))
        m_loaded_track = -1;
    if (m_game_type != GAME_TYPE_NONE)
        LoadCars();
}

bool Game::CreateMenuGraphics()
{
    if (m_menu_background->IsLoaded())
        return true;
    if (!m_menu_background->LoadFromFileUsingExt(GAME_MENU_BACKGROUND_FILE, false, ETAT_OPAQUE, ETFE_PNG)) {
        DebugError(ENG_FUNC, "Could not load background texture");
        return false;
    }
    m_menu_background->PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    return true;
}

void Game::LogResolution(int number) const
{
    ResolutionLogSettings(number);
}

void Game::SplashEndedCB(void* game)
{
    static_cast<Game*>(game)->StartMenus();
}

// The first screen: the GUI comes on with the driver selection and the cursor shown.
void Game::StartMenus()
{
    m_screens->StartScreen(SCREEN_USER, -1);
    SetCursorShown(true);
}

// ---- races ---------------------------------------------------------------------------------------------------

const _TrackInfo* Game::GetTrackInfo() const
{
    const _TrackInfo* row = TrackInfoGetRow(m_track);
    if (row)
        return row;
    DebugError(ENG_FUNC, "Bad track num %d.", m_track);
    return TrackInfoGetRow(0);
}

bool Game::LoadTrack(int track)
{
    if (!m_traverse->SetupTrack(track)) {
        DebugError(ENG_FUNC, "Could not setup track %d", track);
        return false;
    }
    // Without a device there is nothing to draw: the grid is the whole track.
    if (EngDeviceIsCreated() && !m_graphics->LoadTrackPicture()) {
        DebugError(ENG_FUNC, "Could not load track %d", track);
        return false;
    }
    return true;
}

bool Game::LoadCars()
{
    if (!EngDeviceIsCreated())
        return true;
    if (m_graphics->LoadCars())
        return true;
    DebugError(ENG_FUNC, "Could not load cars");
    return false;
}

bool Game::SetupRace(_GameType type, int track, int cars, bool ghost, int formula, int level)
{
    if (unsigned(track) >= unsigned(TRACK_COUNT)) {
        DebugError(ENG_FUNC, "Invalid track num %d", track);
        return false;
    }
    if (cars < 1 || cars > CAR_MAX) {
        DebugError(ENG_FUNC, "Invalid number of cars %d", cars);
        return false;
    }
    m_track = track;
    m_game_type = type;
    m_cars_in_race = cars;
    m_ghost = ghost;
    if (formula < 0 || level < 0) {
        formula = m_current_profile->formula_zzz;
        level = formula >= 0 && formula < USER_NUM_CLASSES ? m_current_profile->classes[formula].level_zzz : -1;
    }
    TrackInfoInitVars(track);
    if (track != m_loaded_track) {
        bool loaded = LoadTrack(track);
        m_loaded_track = loaded ? track : -1;
        // A race without its track's map or picture would drive through walls.
        if (!loaded)
            return false;
    }
    if (!LoadCars())
        return false;
    if (!m_levels->SetupComputerCars(formula, level, -1, type == GAME_TYPE_CHAMPIONSHIP))
        return false;
    SetMessage(GAME_MESSAGE_NONE, 0.0f);
    return true;
}

void Game::StartRace(bool start_sequence)
{
    if (IsMenusOn())
        m_screens->End(-1);
    SetCursorShown(false);
    m_menus->ReleasePictures();
    // A new race starts its clock afresh; after a pause the steps go on later by the time paused, as the cars'
    // time marks do.
    if (start_sequence) {
        m_race_clock_start_ms = double(game_clock_ms);
        m_race_steps = 0;
        m_race_dropped_ms = 0.0;
        m_state->Start();
    } else {
        m_race_clock_start_ms += double(game_clock_ms - m_race_left_ms);
    }
    m_sound->StartRaceSounds();
    m_controls->SetAnalogueMode(false);
    m_input->ResetForRace();
}

bool Game::LeaveRace()
{
    m_race_left_ms = game_clock_ms;
    m_sound->StopCarSounds();
    m_input->Release();
    m_controls->SetAnalogueMode(false);
    if (!IsMenusOn())
        return true;
    DebugError(ENG_FUNC, "MWin is on [%d]", int(m_game_type));
    return false;
}

void Game::PauseRace()
{
    if (!LeaveRace())
        return;
    switch (m_game_type) {
    case GAME_TYPE_TIME_TRIAL:
        if (m_current_profile->license_test_state == USER_LICENSE_NORMAL_PLAY) {
            m_screens->StartScreen(SCREEN_PAUS, -1);
            return;
        }
        if (m_current_profile->license_test_state == USER_LICENSE_TEST_PASSED)
            m_current_profile->license_test_state = USER_LICENSE_NORMAL_PLAY;
        m_screens->StartScreen(SCREEN_MAIN, -1);
        return;
    case GAME_TYPE_QUICK_RACE:
        m_screens->GetQRes()->GotoPauseOrResultScreen();
        return;
    case GAME_TYPE_CHAMPIONSHIP:
        m_screens->GetCRes()->GotoPauseOrResultScreen();
        return;
    default:
        DebugError(ENG_FUNC, "Unknown game type %d", int(m_game_type));
    }
}

void Game::RaceFinished()
{
    if (!LeaveRace())
        return;
    switch (m_game_type) {
    case GAME_TYPE_TIME_TRIAL:
        if (m_current_profile->license_test_state != USER_LICENSE_NORMAL_PLAY)
            return;
        m_screens->GetTTrial()->AddTimeToLocalTimes(0);
        m_screens->StartScreen(SCREEN_TTRL, -1);
        m_screens->GetTTrial()->CheckSubmittingFastestTime();
        return;
    case GAME_TYPE_QUICK_RACE:
        m_screens->StartScreen(SCREEN_QRES, -1);
        return;
    case GAME_TYPE_CHAMPIONSHIP:
        m_screens->StartScreen(SCREEN_CRES, -1);
        return;
    default:
        DebugError(ENG_FUNC, "Unknown game type %d", int(m_game_type));
    }
}

void Game::StartMainMenu()
{
    m_current_profile->visits++;
    m_screens->GotoScreen(SCREEN_MAIN, nullptr);
    if (CountryGetCountryNumFromCode(m_current_profile->country, false) >= 0)
        return;
    CountrySetContinueCB(&Game::CountryChosenCB, this);
    m_mwin->PopupMessage(nullptr, "YOU NEED TO SELECT YOUR COUNTRY FOR THE WORLD TIMES COMPETITION.",
                         &Game::GotoCountryScreenCB, this);
}

void Game::GotoCountryScreenCB(MWin*, char, void* game)
{
    static_cast<Game*>(game)->m_screens->GotoScreen(SCREEN_MCTY, nullptr);
}

void Game::CountryChosenCB(void* game)
{
    static_cast<Game*>(game)->CountryChosen(CountryGetChosenCode());
}

void Game::CountryChosen(const char* code)
{
    if (code && CountryGetCountryNumFromCode(code, false) >= 0)
        snprintf(m_current_profile->country, sizeof m_current_profile->country, "%s", code);
    m_screens->GoBack();
}

void Game::SetMessage(_GameMessage type, float seconds)
{
    m_message_type = type;
    m_message_time = seconds;
}

// ---- frames --------------------------------------------------------------------------------------------------

void Game::Tick()
{
    m_mwin->Tick();
    if (IsMenusOn())
        MenuTick();
    else
        RaceTick();
}

void Game::MenuTick()
{
    m_screens->Tick();
    m_music->Tick();
    EngInputPollAllDevices();
}

void Game::RaceTick()
{
    if (SplashTick())
        return;
    m_music->Tick();
    const EngUInt32 frame_clock = game_clock_ms;
    const bool finished = RunRaceSteps();
    // Between steps the clock is the frame's again: a pause measures its length from it.
    game_clock_ms = frame_clock;
    if (finished || m_state->GetState() != RACE_STATE_RACING)
        return;
    if (EngKeyStateTable[ENG_VK_ESCAPE] > 1) {
        EngKeyStateTable[ENG_VK_ESCAPE] = 0;
        PauseRace();
        return;
    }
    ShowIdleHint();
}

// The steps due by the frame's clock; true when the race finished in one of them.
bool Game::RunRaceSteps()
{
    const double step_ms = 1000.0 / GAME_RACE_STEPS_PER_SECOND;
    double due = double(game_clock_ms) - m_race_dropped_ms - (m_race_clock_start_ms + m_race_steps * step_ms);
    if (due > GAME_RACE_MAX_CATCH_UP_MS) {
        m_race_dropped_ms += due - GAME_RACE_MAX_CATCH_UP_MS;
        due = GAME_RACE_MAX_CATCH_UP_MS;
    }
    bool polled = false;
    // A step runs once half of it is due: frames about a step long then run one step each, not none or two.
    for (; due >= step_ms * 0.5; due -= step_ms) {
        AdvanceRaceClock();
        m_state->Tick();
        if (m_state->GetState() != RACE_STATE_RACING)
            continue;
        if (!polled)
            EngInputPollAllDevices();
        polled = true;
        m_controls->ApplyToCar(0);
        if (m_car->Tick() < 0)
            return true;
    }
    return false;
}

void Game::AdvanceRaceClock()
{
    m_race_steps++;
    // From the step count, not summed: every frame rate gives each step the same millisecond.
    game_clock_ms = EngUInt32(m_race_clock_start_ms + double(m_race_steps) * 1000.0 / GAME_RACE_STEPS_PER_SECOND);
    m_time_step = m_levels->GetTimeScale() * GAME_RACE_STEP_SECONDS;
}

int Game::SimulateRaceStep()
{
    AdvanceRaceClock();
    return m_car->Tick();
}

void Game::ShowIdleHint()
{
    if (m_controls->HasSeenInput() || m_controls->WasMappingScreenOpened())
        return;
    if (!g_idle_reference_taken) {
        g_idle_reference_taken = true;
        g_idle_reference = double(game_clock_ms) / 1000.0;
    }
    if (double(game_clock_ms) / 1000.0 > g_idle_reference + kIdleHintAfterSeconds)
        SetMessage(GAME_MESSAGE_ACCELERATE, kIdleHintSeconds);
}

void Game::Render()
{
    if (!EngDeviceBeginRendering())
        return;
    if (IsMenusOn())
        RenderMenus();
    else
        RenderRace();
    EngDeviceEndRendering();
}

void Game::RenderMenus()
{
    // The background covers the whole screen; the ads screen and a missing picture stand on a cleared one.
    bool ads = m_screens->GetCurrentScreen() == SCREEN_GADS;
    if (!ads && m_menu_background->IsLoaded())
        GraphicsDrawScreenPicture(m_menu_background);
    else
        EngDeviceClearScreen();
    m_screens->Render(0);
    m_mwin->RenderMain();
    m_screens->Render(1);
    m_mwin->RenderPopups();
    m_screens->Render(2);
}

void Game::RenderRace()
{
    if (SplashRender(1))
        return;
    // The track picture covers every pixel; a clear under it would only be painted over.
    if (!m_graphics->GetTrackPicture()->IsLoaded())
        EngDeviceClearScreen();
    bool prepared_here = false;
    m_car->Render();
    EngFontPrepareForDrawingWithOrientationIfNeeded(EFDM_VIRTUAL, &prepared_here);
    m_state->Render();
    RenderMessage();
    if (prepared_here)
        EngFontRestoreAfterDrawing();
}

void Game::RenderMessage()
{
    if (m_message_time <= 0.0f || !m_race_font->IsSetup())
        return;
    float alpha = m_message_time < 1.0f ? m_message_time : 1.0f;
    auto draw = [this, alpha](const MessageLine& line) {
        m_race_font->SetScale(line.scale[0], line.scale[1]);
        m_race_font->SetColour(line.colour[0], line.colour[1], line.colour[2], alpha);
        m_race_font->DrawString(kMessageX, line.y, kCentred, kCentred, line.text, true);
    };
    if (m_message_type == GAME_MESSAGE_ACCELERATE) {
        draw(kAccelerateLine);
    } else if (m_message_type == GAME_MESSAGE_TEST_PASSED) {
        draw(kPassedLines[0]);
        draw(kPassedLines[1]);
    } else if (m_message_type == GAME_MESSAGE_TOO_SLOW) {
        draw(kTooSlowLine);
    }
    m_message_time -= eng_frame_time;
}

bool Game::HandleInputEvent(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
{
    return m_mwin->HandleInputEvent(int(type), value1, value2) != 0;
}
