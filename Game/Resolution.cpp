#include "Game/Resolution.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngPrefFolder.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Core/PC/EngWindow_PC.h"
#include "Engine/Graphics/EngResModes.h"
#include "Game/Main.h"
#include "Game/ResolutionDialog.h"
#include "Game/SaveFile.h"
#include "Online/Updater.h"

namespace {

constexpr int kFileNameSize = 1024;
constexpr int kNoVersionCheckProgram = 18;
// Beyond any display made; a larger value in the file is damage, not a mode.
constexpr int kMaxScreenSize = 16384;
constexpr int kMaxMultiSampleType = 16;
constexpr int kMaxMultiSampleQuality = 255;
constexpr int kMaxRefresh = 1000;
constexpr int kMaxDisplayModes = 256;
constexpr int kDefaultBitDepth = 32;
constexpr int kDefaultRefresh = 60;
constexpr int kDefaultMouseSync = 2;
constexpr int kInternetReasonSize = 256;
constexpr int kInternetReasonUsed = 200;
constexpr int kReserved3DefaultByte = 357 - 316;

struct ResolutionModule
{
    ResolutionSetupValues setup;
    char file_name[kFileNameSize] = "";
};

ResolutionModule g_module;
ResolutionSettings g_settings;

bool IsSetUp(const char* own_name)
{
    if (g_module.setup.program != 0)
        return true;
    DebugError(own_name, "Module not setup");
    return false;
}

void DesktopSize(int* width, int* height)
{
    *width = 1024;
    *height = 768;
    int w = 0;
    int h = 0;
    if (EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &w, &h, false, true) && w > 0 && h > 0) {
        *width = w;
        *height = h;
    }
}

EngUInt8& InternetTestState()
{
    return g_settings.internet_test[g_module.setup.second_number == 0 ? 0 : 1];
}

void ResetTestsOnVersionChange()
{
    if (g_settings.program_version == g_module.setup.running_version)
        return;
    g_settings.internet_test[0] = RESOLUTION_NOT_TESTED;
    g_settings.internet_test[1] = RESOLUTION_NOT_TESTED;
    g_settings.cleared_on_version_change[0] = 0;
    g_settings.cleared_on_version_change[1] = 0;
}

bool SizeIsUsable(int value)
{
    return value > 0 && value <= kMaxScreenSize;
}

bool DepthIsUsable(int value)
{
    return value == 16 || value == 24 || value == 32;
}

EngUInt8 Flag(EngUInt8 value, EngUInt8 otherwise)
{
    return value <= 1 ? value : otherwise;
}

void CorrectMultiSample(EngInt32* type, EngInt32* quality)
{
    if (*type < 0 || *type > kMaxMultiSampleType || *quality < 0 || *quality > kMaxMultiSampleQuality) {
        *type = 0;
        *quality = 0;
    }
}

void ZeroPadding(ResolutionSettings* s)
{
    std::memset(s->padding0, 0, sizeof(s->padding0));
    std::memset(s->padding1, 0, sizeof(s->padding1));
    s->padding2 = 0;
}

void SetDefaultsAndApply()
{
    ResolutionSetDefaults(&g_settings);
    ResolutionSetSettings();
}

// Always false, after telling the player which step failed.
bool ReportSaveFailure(GameSaveResult result)
{
    char text[kFileNameSize + 128];
    if (result == GameSaveResult::CannotCreate) {
        std::snprintf(text, sizeof(text),
                      "Could not create file  %s  . \n\n Ensure the disk is not full and has writing permission.",
                      g_module.file_name);
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem Creating to Resolution File", text);
        return false;
    }
    std::snprintf(text, sizeof(text), "Could not write to file  %s  .", g_module.file_name);
    EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem Writing to Resolution File", text);
    return false;
}

bool SaveSettings()
{
    ResolutionGetFilename();
    ResolutionFitToDisplay(&g_settings);
    ZeroPadding(&g_settings);
    GameSaveResult result = GameSaveFileSafelyStep(g_module.file_name, &g_settings, sizeof(g_settings));
    return result == GameSaveResult::Saved || ReportSaveFailure(result);
}

bool ShowInternetTestFailure(const char* reason)
{
    EngMessageBox_PC("Internet Test Failed", reason, _EngMessageBoxButtons::Ok, _EngMessageBoxIcon::Error);
    int answer = EngMessageBox_PC(
        "Internet Test",
        "Try Again ?\n\nIf you select no, you may have problems using the internet features of the game.",
        _EngMessageBoxButtons::YesNo, _EngMessageBoxIcon::None);
    // The default answer is Yes; with nobody there it would repeat the test for ever.
    return answer == ENG_IDYES && !EngMessageBoxIsNonInteractive_PC();
}

void RunInternetTest()
{
    EngMessageBox_PC("Internet Test", "Performing a test needed for the game's online features.",
                     _EngMessageBoxButtons::Ok, _EngMessageBoxIcon::None);
    EngMessageBox_PC("Internet Test",
                     "If your firewall system pops up a message, be sure to choose   ALLOW   or   UNBLOCK   to give "
                     "the program access to the internet.",
                     _EngMessageBoxButtons::Ok, _EngMessageBoxIcon::None);
    for (;;) {
        char reason[kInternetReasonSize] = "";
        if (UpdaterDoInternetTest(reason, kInternetReasonUsed)) {
            EngMessageBox_PC("Internet Test", "Connection to the internet okay.", _EngMessageBoxButtons::Ok,
                             _EngMessageBoxIcon::None);
            InternetTestState() = 1;
            return;
        }
        if (!ShowInternetTestFailure(reason)) {
            InternetTestState() = 0;
            return;
        }
    }
}

} // namespace

bool ResolutionSetup(int program, int second_number, float running_version, float record_version,
                     ResolutionUrlCB url_hook, bool flag0, bool music_shown, bool sound_shown, bool board_textures,
                     bool card_textures)
{
    (void)flag0;
    g_module.setup.program = program;
    g_module.setup.second_number = second_number;
    g_module.setup.running_version = running_version;
    g_module.setup.record_version = record_version;
    g_module.setup.url_hook = url_hook;
    g_module.setup.music_shown = music_shown;
    g_module.setup.sound_shown = sound_shown;
    g_module.setup.board_textures = board_textures;
    g_module.setup.card_textures = card_textures;
    ResolutionSetDefaults(&g_settings);
    return true;
}

ResolutionSettings* ResolutionGetSettings()
{
    return &g_settings;
}

const char* ResolutionGetFilename()
{
    std::snprintf(g_module.file_name, sizeof(g_module.file_name), "%s%sResolution.dat", PrefFolderGetMainFolder(),
                  "\\");
    return g_module.file_name;
}

void ResolutionSetDefaults(ResolutionSettings* s)
{
    std::memset(s, 0, sizeof(*s));
    s->record_version = g_module.setup.record_version;
    s->program_version = g_module.setup.running_version;
    s->show_dialog = 1;
    s->windowed = 0;
    s->window_x = -1;
    s->window_y = -1;
    s->windowed_width = 1024;
    s->windowed_height = 768;
    s->windowed_bit_depth = kDefaultBitDepth;
    DesktopSize(&s->full_width, &s->full_height);
    s->full_bit_depth = kDefaultBitDepth;
    s->full_refresh = kDefaultRefresh;
    s->reserved0[0] = 1;
    s->reserved0[1] = 1;
    EngSafeStrcpy(s->language, "English", sizeof(s->language));
    s->reserved1 = 1;
    s->mouse_sync = kDefaultMouseSync;
    s->cursor_type = 1;
    s->sound_on = 1;
    s->music_on = 1;
    s->internet_test[0] = RESOLUTION_NOT_TESTED;
    s->internet_test[1] = RESOLUTION_NOT_TESTED;
    s->reserved3[kReserved3DefaultByte] = 1;
}

bool ResolutionCorrectValues(ResolutionSettings* s)
{
    ZeroPadding(s);
    s->language[RESOLUTION_LANGUAGE_SIZE - 1] = 0;
    if (!s->language[0])
        EngSafeStrcpy(s->language, "English", sizeof(s->language));
    s->show_dialog = Flag(s->show_dialog, 1);
    s->windowed = Flag(s->windowed, 1);
    s->cursor_type = Flag(s->cursor_type, 1);
    s->sound_on = Flag(s->sound_on, 1);
    s->music_on = Flag(s->music_on, 1);
    if (s->mouse_sync < 0 || s->mouse_sync > 2)
        s->mouse_sync = kDefaultMouseSync;
    for (EngUInt8& state : s->internet_test)
        if (state > 1)
            state = RESOLUTION_NOT_TESTED;
    if (s->full_refresh <= 0 || s->full_refresh > kMaxRefresh)
        s->full_refresh = kDefaultRefresh;
    CorrectMultiSample(&s->windowed_ms_type, &s->windowed_ms_quality);
    CorrectMultiSample(&s->full_ms_type, &s->full_ms_quality);
    return SizeIsUsable(s->windowed_width) && SizeIsUsable(s->windowed_height) && SizeIsUsable(s->full_width) &&
           SizeIsUsable(s->full_height) && DepthIsUsable(s->windowed_bit_depth) &&
           DepthIsUsable(s->full_bit_depth);
}

void ResolutionNearestOfferedSize(const int* widths, const int* heights, int count, int desktop_width,
                                  int desktop_height, int* width, int* height)
{
    int best = -1;
    int best_distance = 0;
    for (int i = 0; i < count; i++) {
        int distance = std::abs(widths[i] - *width) + std::abs(heights[i] - *height);
        if (best < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    *width = best < 0 ? desktop_width : widths[best];
    *height = best < 0 ? desktop_height : heights[best];
}

void ResolutionFitToDisplay(ResolutionSettings* s)
{
    int width = 0;
    int height = 0;
    DesktopSize(&width, &height);
    if (!s->windowed) {
        int widths[kMaxDisplayModes];
        int heights[kMaxDisplayModes];
        int count = EngMiscGetDisplayModeSizes_PC(widths, heights, kMaxDisplayModes);
        ResolutionNearestOfferedSize(widths, heights, count, width, height, &s->full_width, &s->full_height);
        return;
    }
    if (s->windowed_width > width)
        s->windowed_width = width;
    if (s->windowed_height > height)
        s->windowed_height = height;
}

bool ResolutionLoadSettings()
{
    if (!IsSetUp(ENG_FUNC))
        return false;
    ResolutionGetFilename();
    ResolutionSettings loaded;
    EngFile file;
    bool read = file.OpenForReadingQuietly(g_module.file_name, false) && file.GetSize() == sizeof(loaded) &&
                file.Read(&loaded, sizeof(loaded), false);
    file.Close();
    if (!read || loaded.record_version != g_module.setup.record_version) {
        SetDefaultsAndApply();
        return false;
    }
    if (!ResolutionCorrectValues(&loaded)) {
        DebugError(ENG_FUNC, "Bad resolution values");
        SetDefaultsAndApply();
        return false;
    }
    g_settings = loaded;
    ResetTestsOnVersionChange();
    if (!ResolutionSetSettings()) {
        SetDefaultsAndApply();
        return false;
    }
    return true;
}

bool ResolutionSaveSettings()
{
    if (!IsSetUp(ENG_FUNC))
        return false;
    g_settings.program_version = g_module.setup.running_version;
    return SaveSettings();
}

bool ResolutionSetSettings()
{
    ResolutionSettings* s = &g_settings;
    if (!SizeIsUsable(s->windowed_width) || !SizeIsUsable(s->windowed_height) || s->windowed_bit_depth <= 0 ||
        !SizeIsUsable(s->full_width) || !SizeIsUsable(s->full_height) || s->full_bit_depth <= 0) {
        DebugError(ENG_FUNC, "Bad resolution values");
        return false;
    }
    ResolutionFitToDisplay(s);
    bool windowed = s->windowed != 0;
    eng_screen_windowed = windowed;
    eng_screen_width = windowed ? s->windowed_width : s->full_width;
    eng_screen_height = windowed ? s->windowed_height : s->full_height;
    eng_screen_bit_depth = windowed ? s->windowed_bit_depth : s->full_bit_depth;
    if (!windowed)
        eng_screen_refresh = s->full_refresh;
    eng_screen_multisample_type = windowed ? s->windowed_ms_type : s->full_ms_type;
    eng_screen_multisample_quality = windowed ? s->windowed_ms_quality : s->full_ms_quality;
    if (eng_main_program)
        eng_main_program->SetGpuSyncMethod(s->mouse_sync != 0, s->mouse_sync - 1, true);

    _EngCreateWindowParms* parms = MainGetCreateWindowParms();
    parms->windowed = windowed ? 1 : 0;
    if (windowed) {
        parms->x = s->window_x;
        parms->y = s->window_y;
    } else {
        parms->refresh = s->full_refresh;
    }
    parms->width = eng_screen_width;
    parms->height = eng_screen_height;
    parms->bit_depth = eng_screen_bit_depth;
    parms->multisample_type = eng_screen_multisample_type;
    parms->multisample_quality = eng_screen_multisample_quality;
    return true;
}

void ResolutionUpdateSettingsFromCurrent()
{
    ResolutionSettings* s = &g_settings;
    ResolutionFitToDisplay(s);
    if (!eng_main_program) {
        DebugError(ENG_FUNC, "No main program");
        return;
    }
    // Values the engine has not set yet keep what the settings hold.
    if (!SizeIsUsable(eng_screen_width) || !SizeIsUsable(eng_screen_height) || eng_screen_bit_depth <= 0)
        return;
    s->windowed = eng_screen_windowed ? 1 : 0;
    if (eng_screen_windowed) {
        int x = s->window_x;
        int y = s->window_y;
        if (eng_main_window && eng_main_window->GetWindowPos(&x, &y)) {
            s->window_x = x;
            s->window_y = y;
        }
        s->windowed_width = eng_screen_width;
        s->windowed_height = eng_screen_height;
        s->windowed_bit_depth = eng_screen_bit_depth;
        s->windowed_ms_type = eng_screen_multisample_type;
        s->windowed_ms_quality = eng_screen_multisample_quality;
    } else {
        s->full_width = eng_screen_width;
        s->full_height = eng_screen_height;
        s->full_bit_depth = eng_screen_bit_depth;
        if (eng_screen_refresh > 0)
            s->full_refresh = eng_screen_refresh;
        s->full_ms_type = eng_screen_multisample_type;
        s->full_ms_quality = eng_screen_multisample_quality;
    }
    s->mouse_sync = eng_main_program->GetGpuSyncMethod() + 1;
}

bool ResolutionDoWeeklyVersionCheck()
{
    if (!IsSetUp(ENG_FUNC))
        return false;
    if (g_module.setup.program == kNoVersionCheckProgram)
        return false;
    ResolutionLoadSettings();
    bool update = UpdaterDoWeeklyCheck(&g_settings.last_check, static_cast<_UpdaterProgramName>(g_module.setup.program),
                                       g_module.setup.running_version,
                                       static_cast<_UpdaterProgramType>(g_module.setup.second_number));
    // Not a choice of the player's: the settings stay those of the version that last saved them, so that a
    // new version still shows the start-up dialog once.
    SaveSettings();
    return update;
}

signed char ResolutionDoDialog()
{
    if (!IsSetUp(ENG_FUNC))
        return 0;
    ResolutionGetFilename();
    ResolutionLoadSettings();
    signed char result = ResolutionRunDialog();
    if (result < 1)
        return result;
    ResolutionSetSettings();
    ResolutionSaveSettings();
    return result;
}

signed char ResolutionRunDialog()
{
    if (!eng_main_program)
        return 0;
    EngResModes* modes = new (std::nothrow) EngResModes();
    if (modes && !modes->IsSetup()) {
        delete modes;
        modes = nullptr;
    }
    signed char result = ResolutionDialogShow(modes);
    delete modes;
    if (result < 1)
        return result;
    ResetTestsOnVersionChange();
    if (InternetTestState() == RESOLUTION_NOT_TESTED)
        RunInternetTest();
    return 1;
}

void ResolutionLogSettings(int number)
{
    const ResolutionSettings* s = &g_settings;
    char dashes[85];
    std::memset(dashes, '-', 84);
    dashes[84] = 0;
    DebugInfoPlain("%s", dashes);
    DebugInfoPlain("RESOLUTION%d: [Windowed: %d  W:%d  H:%d  B:%d  FSMST: %d  FSMSQ: %d  WMST: %d  WMSQ: %d  SM: %d  "
                   "CT: %d]",
                   number, s->windowed, s->windowed ? s->windowed_width : s->full_width,
                   s->windowed ? s->windowed_height : s->full_height,
                   s->windowed ? s->windowed_bit_depth : s->full_bit_depth, s->full_ms_type, s->full_ms_quality,
                   s->windowed_ms_type, s->windowed_ms_quality, s->mouse_sync, s->cursor_type);
    DebugInfoPlain("%s", dashes);
}

const ResolutionSetupValues* ResolutionGetSetup()
{
    return &g_module.setup;
}
