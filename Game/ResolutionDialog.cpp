#include "Game/ResolutionDialog.h"

#include <cstdio>
#include <cstdlib>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Graphics/EngResModes.h"
#include "Game/Resolution.h"
#include "Online/Updater.h"
#include "Online/Various.h"

namespace {

constexpr int kWindowWidth = 460;
constexpr int kWindowHeight = 465;
constexpr int kRowHeight = 26;
constexpr int kListTextSize = 64;
constexpr const char* kPictureFile = "Data/111.png";

const char* const kOffOn[] = {"Off", "On"};
const char* const kMouseSync[] = {"Off", "Method 1", "Method 2"};
const char* const kCursorTypes[] = {"Texture", "Windows"};

struct HelpText
{
    int id;
    const char* title_token;
    const char* title;
    const char* message_token;
    const char* message;
};

const HelpText kHelpTexts[] = {
    {RESOLUTION_ID_ANTIALIASING_HELP, "Startup_Antialiasing", "Anti-Aliasing", "Startup_AntialiasingMessage",
     "Anti-aliasing removes the jagged edges that appear when running the game in low resolutions.\n\nIt is not "
     "generally needed for this game and it is recommended that you keep this option turned off as it can slow "
     "down the graphics.\n\nSome systems do not support anti-aliasing."},
    {RESOLUTION_ID_MOUSE_SYNC_HELP, "Startup_MouseSync", "Mouse Synchronisation", "Startup_MouseSyncMessage",
     "If the movement response of the mouse is slow as you move it around while playing, turning on this option "
     "should fix this problem.\n\nThe two different methods are two different ways to solve the problem - if one "
     "does not work, try the other."},
    {RESOLUTION_ID_CURSOR_HELP, "Startup_CursorType", "Cursor Type", "Startup_CursorTypeMessage",
     "Select between two different cursor (or mouse pointer) types :\n\nOne uses a texture as a cursor, the other "
     "uses the default windows cursor."},
};

struct Label
{
    SWinButtonType kind;
    int x;
    int y;
    int width;
    int height;
    const char* text;
};

const Label kLabels[] = {
    {SWIN_BUTTON_GROUP_BOX, 10, 8, 440, 175, "Video Settings"},
    {SWIN_BUTTON_LABEL, 20, 32, 110, 22, "Display Mode"},
    {SWIN_BUTTON_LABEL, 20, 65, 110, 22, "Resolution"},
    {SWIN_BUTTON_LABEL, 20, 100, 110, 22, "Anti-Aliasing"},
    {SWIN_BUTTON_LABEL, 20, 135, 110, 22, "Mouse Sync."},
    {SWIN_BUTTON_GROUP_BOX, 10, 190, 440, 100, "Other Settings"},
    {SWIN_BUTTON_LABEL, 20, 215, 60, 22, "Sound"},
    {SWIN_BUTTON_LABEL, 220, 215, 60, 22, "Music"},
    {SWIN_BUTTON_LABEL, 20, 250, 110, 22, "Cursor Type"},
    {SWIN_BUTTON_GROUP_BOX, 10, 298, 210, 110, "Version"},
    {SWIN_BUTTON_LABEL, 230, 310, 110, 22, "WebSite:"},
};

// The nearest mode: the smallest width and height difference plus ten times the depth difference, the
// first on ties.
int NearestMode(EngResModes* modes, int width, int height, int depth)
{
    int best = -1;
    int best_distance = 0;
    for (int i = 0; i < modes->GetNumModes(); i++) {
        const _EngResMode* mode = modes->GetMode(i);
        int distance = std::abs(mode->width - width) + std::abs(mode->height - height) +
                       10 * std::abs(mode->bit_depth - depth);
        if (best < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

int NearestAntiAliasing(const _EngResMode* mode, int type, int quality)
{
    int best = -1;
    int best_distance = 0;
    for (int i = 0; i < mode->num_aa && i < ENG_RES_MODE_MAX_AA; i++) {
        int distance = std::abs(mode->aa[i].type - type) + std::abs(mode->aa[i].quality - quality);
        if (best < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

int ClampedSelection(int value, int count)
{
    return value >= 0 && value < count ? value : count - 1;
}

} // namespace

ResolutionDialog::ResolutionDialog(EngResModes* modes) : m_modes(modes) {}

ResolutionDialog::~ResolutionDialog()
{
    m_win.DestroyMainWindow();
}

void ResolutionDialog::AddControl(int id, int index)
{
    if (index < 0 || m_count >= RESOLUTION_DIALOG_CONTROLS)
        return;
    m_ids[m_count] = id;
    m_indices[m_count] = index;
    m_count++;
}

int ResolutionDialog::GetControl(int id) const
{
    for (int i = 0; i < m_count; i++)
        if (m_ids[i] == id)
            return m_indices[i];
    return -1;
}

int ResolutionDialog::IdOfControl(int index) const
{
    for (int i = 0; i < m_count; i++)
        if (m_indices[i] == index)
            return m_ids[i];
    return -1;
}

bool ResolutionDialog::Build()
{
    SWinCreateInfo info = {};
    info.width = kWindowWidth;
    info.height = kWindowHeight;
    info.red = 0.94f;
    info.green = 0.94f;
    info.blue = 0.94f;
    if (!m_win.CreateMainWindow(&info))
        return false;
    m_win.user = this;
    m_win.change_callback = ChangeCB;
    AddLabels();
    AddLists();
    AddButtons();
    if (m_count != RESOLUTION_DIALOG_CONTROLS) {
        DebugError(ENG_FUNC, "Could not create the dialog's controls");
        m_win.DestroyMainWindow();
        return false;
    }
    Refresh();
    return true;
}

void ResolutionDialog::AddLabels()
{
    for (const Label& label : kLabels)
        m_win.AddButtonToWindow(label.kind, label.x, label.y, label.width, label.height, label.text);
    char version[32];
    std::snprintf(version, sizeof(version), "Version %.2f", ResolutionGetSetup()->running_version);
    AddControl(RESOLUTION_ID_VERSION, m_win.AddButtonToWindow(SWIN_BUTTON_LABEL, 20, 325, 190, 22, version));
    AddControl(RESOLUTION_ID_PICTURE, m_win.AddButtonToWindow(SWIN_BUTTON_BITMAP, 230, 372, 40, 40, kPictureFile));
}

int ResolutionDialog::AddList(int id, int x, int y, int width)
{
    int index = m_win.AddButtonToWindow(SWIN_BUTTON_DROP_DOWN, x, y, width, kRowHeight, "");
    AddControl(id, index);
    return index;
}

void ResolutionDialog::AddLists()
{
    int fullscreen = m_win.AddRadioButton(140, 30, 110, 24, "Fullscreen", -1);
    AddControl(RESOLUTION_ID_FULLSCREEN, fullscreen);
    AddControl(RESOLUTION_ID_WINDOWED, m_win.AddRadioButton(260, 30, 110, 24, "Windowed", fullscreen));
    AddList(RESOLUTION_ID_RESOLUTION, 140, 62, 240);
    AddList(RESOLUTION_ID_ANTIALIASING, 140, 97, 240);
    AddList(RESOLUTION_ID_MOUSE_SYNC, 140, 132, 240);
    AddList(RESOLUTION_ID_SOUND, 90, 212, 100);
    AddList(RESOLUTION_ID_MUSIC, 290, 212, 100);
    AddList(RESOLUTION_ID_CURSOR_TYPE, 140, 247, 240);
    m_win.SetControlEnabled(GetControl(RESOLUTION_ID_SOUND), ResolutionGetSetup()->sound_shown);
    m_win.SetControlEnabled(GetControl(RESOLUTION_ID_MUSIC), ResolutionGetSetup()->music_shown);
}

void ResolutionDialog::AddButtons()
{
    AddControl(RESOLUTION_ID_ANTIALIASING_HELP,
               m_win.AddPushButton(390, 97, 30, kRowHeight, "?", PushCB<RESOLUTION_ID_ANTIALIASING_HELP>));
    AddControl(RESOLUTION_ID_MOUSE_SYNC_HELP,
               m_win.AddPushButton(390, 132, 30, kRowHeight, "?", PushCB<RESOLUTION_ID_MOUSE_SYNC_HELP>));
    AddControl(RESOLUTION_ID_CURSOR_HELP,
               m_win.AddPushButton(390, 247, 30, kRowHeight, "?", PushCB<RESOLUTION_ID_CURSOR_HELP>));
    AddControl(RESOLUTION_ID_CHECK_VERSION, m_win.AddPushButton(20, 355, 190, 30, "Check for New Version",
                                                                PushCB<RESOLUTION_ID_CHECK_VERSION>));
    AddControl(RESOLUTION_ID_HOME_PAGE,
               m_win.AddPushButton(230, 335, 100, 30, "Home Page", PushCB<RESOLUTION_ID_HOME_PAGE>));
    AddControl(RESOLUTION_ID_FORUM, m_win.AddPushButton(340, 335, 100, 30, "Forum", PushCB<RESOLUTION_ID_FORUM>));
    AddControl(RESOLUTION_ID_PLAY, m_win.AddPushButton(10, 420, 440, 34, "&PLAY", PushCB<RESOLUTION_ID_PLAY>));
}

void ResolutionDialog::FillList(int id, const char* const* texts, int count, int selection)
{
    int index = GetControl(id);
    m_win.DropDownClear(index);
    for (int i = 0; i < count; i++)
        m_win.DropDownAddItem(index, texts[i]);
    m_win.DropDownSetSelection(index, ClampedSelection(selection, count));
}

void ResolutionDialog::Refresh()
{
    const ResolutionSettings* s = ResolutionGetSettings();
    m_win.RadioSetChecked(GetControl(s->windowed ? RESOLUTION_ID_WINDOWED : RESOLUTION_ID_FULLSCREEN));
    FillList(RESOLUTION_ID_SOUND, kOffOn, 2, s->sound_on);
    FillList(RESOLUTION_ID_MUSIC, kOffOn, 2, s->music_on);
    FillList(RESOLUTION_ID_CURSOR_TYPE, kCursorTypes, 2, s->cursor_type);
    FillList(RESOLUTION_ID_MOUSE_SYNC, kMouseSync, 3, s->mouse_sync);
    RefreshResolutionList();
    RefreshAntiAliasingList();
    ReportUndefinedControls();
}

void ResolutionDialog::RefreshResolutionList()
{
    const ResolutionSettings* s = ResolutionGetSettings();
    int list = GetControl(RESOLUTION_ID_RESOLUTION);
    int play = GetControl(RESOLUTION_ID_PLAY);
    m_win.DropDownClear(list);
    if (s->windowed) {
        m_win.SetControlEnabled(list, false);
        m_win.SetControlEnabled(play, true);
        m_current = m_modes ? m_modes->GetWindowedMode() : nullptr;
        return;
    }
    if (!m_modes || m_modes->GetNumModes() <= 0) {
        m_win.SetControlEnabled(list, false);
        m_win.SetControlEnabled(play, false);
        m_current = nullptr;
        return;
    }
    for (int i = 0; i < m_modes->GetNumModes(); i++) {
        const _EngResMode* mode = m_modes->GetMode(i);
        char text[kListTextSize];
        std::snprintf(text, sizeof(text), "%d x %d x %d", mode->width, mode->height, mode->bit_depth);
        m_win.DropDownAddItem(list, text);
    }
    int nearest = NearestMode(m_modes, s->full_width, s->full_height, s->full_bit_depth);
    m_win.DropDownSetSelection(list, nearest);
    m_current = m_modes->GetMode(nearest);
    m_win.SetControlEnabled(list, true);
    m_win.SetControlEnabled(play, true);
}

void ResolutionDialog::RefreshAntiAliasingList()
{
    const ResolutionSettings* s = ResolutionGetSettings();
    int list = GetControl(RESOLUTION_ID_ANTIALIASING);
    m_win.DropDownClear(list);
    if (!m_current || m_current->num_aa <= 0) {
        m_win.SetControlEnabled(list, false);
        return;
    }
    for (int i = 0; i < m_current->num_aa && i < ENG_RES_MODE_MAX_AA; i++)
        m_win.DropDownAddItem(list, EngResModesGetMultiSampleText_DX9(&m_current->aa[i]));
    bool windowed_entry = m_modes && m_current == m_modes->GetWindowedMode();
    int type = windowed_entry ? s->windowed_ms_type : s->full_ms_type;
    int quality = windowed_entry ? s->windowed_ms_quality : s->full_ms_quality;
    m_win.DropDownSetSelection(list, NearestAntiAliasing(m_current, type, quality));
    m_win.SetControlEnabled(list, true);
}

// The dialog has no controls for these; a set-up that asks for them is told so.
void ResolutionDialog::ReportUndefinedControls()
{
    ResolutionUrlCB hook = ResolutionGetSetup()->url_hook;
    for (int address = 4; hook && address <= 7; address++)
        if (hook(address))
            DebugError(ENG_FUNC, "ID_BUTTON_LINK_%02d not defined.", address - 3);
    if (ResolutionGetSetup()->board_textures)
        DebugError(ENG_FUNC, "ID_COMBO_BOARD_TEX not defined.");
    if (ResolutionGetSetup()->card_textures)
        DebugError(ENG_FUNC, "ID_COMBO_CARD_TEX not defined.");
}

void ResolutionDialog::ReadControls()
{
    ResolutionSettings* s = ResolutionGetSettings();
    s->windowed = m_win.RadioIsChecked(GetControl(RESOLUTION_ID_FULLSCREEN)) ? 0 : 1;
    int sound = m_win.DropDownGetSelection(GetControl(RESOLUTION_ID_SOUND));
    if (ResolutionGetSetup()->sound_shown && sound >= 0)
        s->sound_on = static_cast<EngUInt8>(sound);
    int music = m_win.DropDownGetSelection(GetControl(RESOLUTION_ID_MUSIC));
    if (ResolutionGetSetup()->music_shown && music >= 0)
        s->music_on = static_cast<EngUInt8>(music);
    if (s->windowed) {
        m_current = m_modes ? m_modes->GetWindowedMode() : nullptr;
        if (!m_current) {
            ResolutionSetSettings();
            ResolutionSaveSettings();
            return;
        }
    } else {
        int selection = m_win.DropDownGetSelection(GetControl(RESOLUTION_ID_RESOLUTION));
        if (m_modes && selection >= 0 && selection < m_modes->GetNumModes()) {
            m_current = m_modes->GetMode(selection);
            s->full_width = m_current->width;
            s->full_height = m_current->height;
            s->full_bit_depth = m_current->bit_depth;
        }
    }
    bool windowed_entry = m_modes && m_current && m_current == m_modes->GetWindowedMode();
    EngInt32* type = windowed_entry ? &s->windowed_ms_type : &s->full_ms_type;
    EngInt32* quality = windowed_entry ? &s->windowed_ms_quality : &s->full_ms_quality;
    int aa = m_win.DropDownGetSelection(GetControl(RESOLUTION_ID_ANTIALIASING));
    bool valid = m_current && aa >= 0 && aa < m_current->num_aa && aa < ENG_RES_MODE_MAX_AA;
    *type = valid ? m_current->aa[aa].type : 0;
    *quality = valid ? m_current->aa[aa].quality : 0;
    ResolutionSetSettings();
    ResolutionSaveSettings();
}

void ResolutionDialog::Press(int id)
{
    int index = GetControl(id);
    if (index >= 0)
        m_win.OnCommand(index);
}

void ResolutionDialog::Choose(int id, int selection)
{
    int index = GetControl(id);
    if (id == RESOLUTION_ID_FULLSCREEN || id == RESOLUTION_ID_WINDOWED) {
        bool changed = !m_win.RadioIsChecked(index);
        m_win.RadioSetChecked(index);
        if (changed)
            OnChanged(id, 1);
        return;
    }
    if (m_win.DropDownSetSelection(index, selection))
        OnChanged(id, selection);
}

void ResolutionDialog::ChangeCB(SWin* win, int index, int value, void* user)
{
    (void)win;
    ResolutionDialog* dialog = static_cast<ResolutionDialog*>(user);
    dialog->OnChanged(dialog->IdOfControl(index), value);
}

void ResolutionDialog::OnPushed(int id)
{
    for (const HelpText& help : kHelpTexts) {
        if (help.id != id)
            continue;
        EngMessageBox_PC(EngLanguagesGetStringOrDefault(help.title_token, help.title),
                         EngLanguagesGetStringOrDefault(help.message_token, help.message), _EngMessageBoxButtons::Ok,
                         _EngMessageBoxIcon::None);
        return;
    }
    ResolutionUrlCB hook = ResolutionGetSetup()->url_hook;
    if ((id == RESOLUTION_ID_HOME_PAGE || id == RESOLUTION_ID_FORUM) && hook) {
        const char* address = hook(id == RESOLUTION_ID_HOME_PAGE ? 1 : 2);
        if (address)
            VariousGoOnlineNow(address);
        return;
    }
    if (id == RESOLUTION_ID_CHECK_VERSION) {
        UpdaterCheckForNewVersion(static_cast<_UpdaterProgramName>(ResolutionGetSetup()->program),
                                  ResolutionGetSetup()->running_version,
                                  static_cast<_UpdaterProgramType>(ResolutionGetSetup()->second_number));
        return;
    }
    if (id == RESOLUTION_ID_PLAY) {
        ReadControls();
        End(1);
    }
}

void ResolutionDialog::OnChanged(int id, int selection)
{
    ResolutionSettings* s = ResolutionGetSettings();
    switch (id) {
    case RESOLUTION_ID_FULLSCREEN:
    case RESOLUTION_ID_WINDOWED:
        s->windowed = id == RESOLUTION_ID_WINDOWED ? 1 : 0;
        Refresh();
        break;
    case RESOLUTION_ID_RESOLUTION:
    case RESOLUTION_ID_ANTIALIASING:
        ReadControls();
        Refresh();
        break;
    case RESOLUTION_ID_MOUSE_SYNC:
        s->mouse_sync = selection;
        break;
    case RESOLUTION_ID_CURSOR_TYPE:
        s->cursor_type = static_cast<EngUInt8>(selection);
        break;
    case RESOLUTION_ID_SOUND:
        if (ResolutionGetSetup()->sound_shown)
            s->sound_on = static_cast<EngUInt8>(selection);
        break;
    case RESOLUTION_ID_MUSIC:
        if (ResolutionGetSetup()->music_shown)
            s->music_on = static_cast<EngUInt8>(selection);
        break;
    default:
        break;
    }
}

void ResolutionDialog::End(signed char result)
{
    m_result = result;
    m_ended = true;
    m_win.DestroyMainWindow();
}

signed char ResolutionDialog::RunModal()
{
    while (!m_ended && m_win.WaitForWindowsMessages() != 0) {
    }
    // Closed by Escape or the close box.
    return m_ended ? m_result : -1;
}

signed char ResolutionDialogShow(EngResModes* modes)
{
    if (EngMessageBoxIsNonInteractive_PC()) {
        std::fprintf(stderr, "[Start-up settings] nobody is there to answer: PLAY\n");
        DebugInfoQuick(ENG_FUNC, "Start-up settings dialog: nobody is there to answer, PLAY with the settings as they are");
        ResolutionSetSettings();
        ResolutionSaveSettings();
        return 1;
    }
    ResolutionDialog dialog(modes);
    if (!dialog.Build()) {
        DebugError(ENG_FUNC, "Cannot show the start-up settings dialog");
        return 0;
    }
    return dialog.RunModal();
}
