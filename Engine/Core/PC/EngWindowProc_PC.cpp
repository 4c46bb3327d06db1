#include "Engine/Core/PC/EngWindowProc_PC.h"

#include <SDL2/SDL.h>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/PC/EngCursor_PC.h"
#include "Engine/Core/PC/EngKeys_PC.h"
#include "Engine/Core/PC/EngTimer_PC.h"

namespace
{
// How a key went down, so that a release the system never delivers can be made up on focus loss.
enum KeyDownPath : EngUInt8
{
    KEY_NOT_DOWN = 0,
    KEY_DOWN_NORMAL = 1,
    KEY_DOWN_SYSTEM = 2,
};

struct TranslationState
{
    bool quit_posted = false;
    bool resize_pending = false;
    double resize_since = 0.0;
    int resize_kind = -1; // the ENG_WM_SIZE kind to send once settled, or -1
    EngUInt8 keys_down[ENG_KEY_STATE_TABLE_SIZE] = {};
};

// A focus loss releases every key that is down, each one message.
constexpr int ENG_MAX_MESSAGES_PER_EVENT = ENG_KEY_STATE_TABLE_SIZE + 1;

TranslationState translation;

SDL_Window* MainHandle()
{
    if (!eng_main_window)
        return nullptr;
    return eng_main_window->GetWindowHandle_PC();
}

// Events of other windows (a native dialog's) are not the main window's; 0 means "no window in particular".
bool IsForMainWindow(Uint32 window_id)
{
    SDL_Window* handle = MainHandle();
    if (!handle)
        return false;
    return window_id == 0 || window_id == SDL_GetWindowID(handle);
}

class MessageList
{
public:
    MessageList(_EngWindowMessage* out, int size) : m_out(out), m_size(size) {}
    _EngWindowMessage* Add(EngUInt32 message)
    {
        if (m_count >= m_size)
            return nullptr;
        _EngWindowMessage* msg = &m_out[m_count++];
        *msg = _EngWindowMessage();
        msg->message = message;
        return msg;
    }
    int Count() const { return m_count; }

private:
    _EngWindowMessage* m_out;
    int m_size;
    int m_count = 0;
};

// The keys Windows sends through the system path: F10, Alt itself and every key while Alt is held, unless
// Control is held too (Control with Alt is AltGr on many keyboards, an ordinary key press).
bool IsSystemKey(int virtual_key, Uint16 mod)
{
    if (virtual_key == ENG_VK_F10)
        return true;
    bool alt = virtual_key == ENG_VK_MENU || (mod & KMOD_ALT) != 0;
    return alt && (mod & KMOD_CTRL) == 0;
}

void AddKeyDown(const SDL_KeyboardEvent& key, MessageList* list)
{
    int virtual_key = EngKeysToVirtualKey_PC(&key.keysym);
    if (virtual_key == 0)
        return;
    bool system = IsSystemKey(virtual_key, key.keysym.mod);
    _EngWindowMessage* msg = list->Add(system ? ENG_WM_SYSKEYDOWN : ENG_WM_KEYDOWN);
    if (!msg)
        return;
    msg->key = virtual_key;
    msg->repeat = key.repeat != 0;
    msg->alt_down = (key.keysym.mod & KMOD_ALT) != 0;
    translation.keys_down[virtual_key] = system ? KEY_DOWN_SYSTEM : KEY_DOWN_NORMAL;
    if (system)
        return;
    int character = EngKeysControlCharacter_PC(&key.keysym);
    if (character < 0)
        return;
    _EngWindowMessage* char_msg = list->Add(ENG_WM_CHAR);
    if (char_msg)
        char_msg->key = character;
}

// A release goes the way its press went, so a key pressed alone and let go while Alt is held still leaves
// the key-state table.
void AddKeyUp(const SDL_KeyboardEvent& key, MessageList* list)
{
    int virtual_key = EngKeysToVirtualKey_PC(&key.keysym);
    if (virtual_key == 0)
        return;
    EngUInt8 path = translation.keys_down[virtual_key];
    bool system = path == KEY_NOT_DOWN ? IsSystemKey(virtual_key, key.keysym.mod) : path == KEY_DOWN_SYSTEM;
    _EngWindowMessage* msg = list->Add(system ? ENG_WM_SYSKEYUP : ENG_WM_KEYUP);
    if (!msg)
        return;
    msg->key = virtual_key;
    msg->alt_down = (key.keysym.mod & KMOD_ALT) != 0;
    translation.keys_down[virtual_key] = KEY_NOT_DOWN;
}

// A window losing the focus gets no further key events: every key still down is released here, by the path
// it went down by, so nothing stays pressed in the key-state table or in the input layer.
void AddReleasesOfHeldKeys(MessageList* list)
{
    for (int virtual_key = 0; virtual_key < ENG_KEY_STATE_TABLE_SIZE; virtual_key++)
    {
        EngUInt8 path = translation.keys_down[virtual_key];
        if (path == KEY_NOT_DOWN)
            continue;
        _EngWindowMessage* msg = list->Add(path == KEY_DOWN_SYSTEM ? ENG_WM_SYSKEYUP : ENG_WM_KEYUP);
        if (!msg)
            return;
        msg->key = virtual_key;
        translation.keys_down[virtual_key] = KEY_NOT_DOWN;
    }
}

void AddText(const SDL_TextInputEvent& text, MessageList* list)
{
    char narrow[sizeof(text.text) + 1];
    int count = EngCodePageUtf8ToAnsi(text.text, narrow, int(sizeof(narrow)));
    for (int i = 0; i < count; i++)
    {
        _EngWindowMessage* msg = list->Add(ENG_WM_CHAR);
        if (msg)
            msg->key = EngUInt8(narrow[i]);
    }
}

void AddMouseMove(const SDL_MouseMotionEvent& motion, MessageList* list)
{
    _EngWindowMessage* msg = list->Add(ENG_WM_MOUSEMOVE);
    if (!msg)
        return;
    msg->x = motion.x;
    msg->y = motion.y;
}

bool DoubleClicksWanted()
{
    return eng_main_window && eng_main_window->GetParms()->double_clicks != 0;
}

EngUInt32 ButtonMessage(const SDL_MouseButtonEvent& button, bool down)
{
    switch (button.button)
    {
    case SDL_BUTTON_LEFT:
        if (!down)
            return ENG_WM_LBUTTONUP;
        // A second click of a pair is a double click when the window asked for them; a third starts anew.
        if (DoubleClicksWanted() && button.clicks >= 2 && button.clicks % 2 == 0)
            return ENG_WM_LBUTTONDBLCLK;
        return ENG_WM_LBUTTONDOWN;
    case SDL_BUTTON_RIGHT:
        return down ? ENG_WM_RBUTTONDOWN : ENG_WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE:
        return down ? ENG_WM_MBUTTONDOWN : ENG_WM_MBUTTONUP;
    default:
        return ENG_WM_NULL;
    }
}

void AddButton(const SDL_MouseButtonEvent& button, bool down, MessageList* list)
{
    EngUInt32 message = ButtonMessage(button, down);
    if (message == ENG_WM_NULL)
        return;
    _EngWindowMessage* msg = list->Add(message);
    if (!msg)
        return;
    msg->x = button.x;
    msg->y = button.y;
}

void AddWheel(const SDL_MouseWheelEvent& wheel, MessageList* list)
{
    int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0)
        return;
    _EngWindowMessage* msg = list->Add(ENG_WM_MOUSEWHEEL);
    if (msg)
        msg->wheel_delta = notches * ENG_WHEEL_DELTA;
}

void NoteResize(int kind)
{
    translation.resize_pending = true;
    translation.resize_since = EngMainGetTime_PC();
    if (kind >= 0)
        translation.resize_kind = kind;
}

void AddSimple(EngUInt32 message, int kind, MessageList* list)
{
    _EngWindowMessage* msg = list->Add(message);
    if (msg)
        msg->kind = kind;
}

void AddWindowEvent(const SDL_WindowEvent& window, MessageList* list)
{
    switch (window.event)
    {
    case SDL_WINDOWEVENT_CLOSE:
        AddSimple(ENG_WM_CLOSE, 0, list);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        AddSimple(ENG_WM_ACTIVATE, ENG_WINDOW_ACTIVE, list);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        AddReleasesOfHeldKeys(list);
        AddSimple(ENG_WM_ACTIVATE, ENG_WINDOW_INACTIVE, list);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        AddSimple(ENG_WM_SIZE, ENG_SIZE_MINIMIZED, list);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        // Coming back from the task bar changes no size; coming back from a maximise does.
        if (eng_main_window && eng_main_window->IsMinimised())
            AddSimple(ENG_WM_SIZE, ENG_SIZE_RESTORED, list);
        else
            NoteResize(ENG_SIZE_RESTORED);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        NoteResize(ENG_SIZE_MAXIMIZED);
        break;
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MOVED:
        NoteResize(-1);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        AddSimple(ENG_WM_PAINT, 0, list);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        AddSimple(ENG_WM_MOUSELEAVE, 0, list);
        break;
    default:
        break;
    }
}

Uint32 EventWindowId(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    default:
        return 0;
    }
}

void AddEvent(const SDL_Event& event, MessageList* list)
{
    switch (event.type)
    {
    case SDL_QUIT:
        AddSimple(ENG_WM_CLOSE, 0, list);
        break;
    case SDL_APP_WILLENTERBACKGROUND:
        AddSimple(ENG_WM_POWERBROADCAST, ENG_PBT_APMSUSPEND, list);
        break;
    case SDL_APP_DIDENTERFOREGROUND:
        AddSimple(ENG_WM_POWERBROADCAST, ENG_PBT_APMRESUMEAUTOMATIC, list);
        break;
    case SDL_WINDOWEVENT:
        AddWindowEvent(event.window, list);
        break;
    case SDL_KEYDOWN:
        AddKeyDown(event.key, list);
        break;
    case SDL_KEYUP:
        AddKeyUp(event.key, list);
        break;
    case SDL_TEXTINPUT:
        AddText(event.text, list);
        break;
    case SDL_MOUSEMOTION:
        AddMouseMove(event.motion, list);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        AddButton(event.button, event.type == SDL_MOUSEBUTTONDOWN, list);
        break;
    case SDL_MOUSEWHEEL:
        AddWheel(event.wheel, list);
        break;
    default:
        break;
    }
}

void Dispatch(const _EngWindowMessage* messages, int count)
{
    for (int i = 0; i < count; i++)
        EngWindowStaticProc_PC(MainHandle(), &messages[i]);
}

// Once the size has stayed put for a while: the size message kept back, then the end of sizing.
bool DispatchSettledResize()
{
    if (!translation.resize_pending)
        return false;
    if (EngMainGetTime_PC() - translation.resize_since < ENG_RESIZE_SETTLE_SECONDS)
        return false;
    translation.resize_pending = false;
    _EngWindowMessage messages[2];
    MessageList list(messages, 2);
    if (translation.resize_kind >= 0)
        AddSimple(ENG_WM_SIZE, translation.resize_kind, &list);
    translation.resize_kind = -1;
    AddSimple(ENG_WM_EXITSIZEMOVE, 0, &list);
    Dispatch(messages, list.Count());
    return true;
}

// Moves queued right behind a move only update the position it reports, as the system's own queue does;
// a move behind anything else stays in its place.
void MergeQueuedMoves(SDL_Event* event)
{
    if (event->type != SDL_MOUSEMOTION)
        return;
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_MOUSEMOTION && next.motion.windowID == event->motion.windowID &&
           next.motion.state == event->motion.state) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
        next.motion.xrel += event->motion.xrel;
        next.motion.yrel += event->motion.yrel;
        *event = next;
    }
}

// Turns one SDL event into messages and returns how many.
int TranslateEvent(const SDL_Event* event, _EngWindowMessage* out, int out_size)
{
    if (!event || !out || out_size < 1)
        return 0;
    if (event->type != SDL_QUIT && !IsForMainWindow(EventWindowId(*event)))
        return 0;
    MessageList list(out, out_size);
    AddEvent(*event, &list);
    return list.Count();
}
} // namespace

void EngWindowProcReset_PC()
{
    bool quit_posted = translation.quit_posted;
    translation = TranslationState();
    translation.quit_posted = quit_posted;
}

void EngPostQuitMessage_PC()
{
    translation.quit_posted = true;
}

signed char EngMainPumpOneMessage_PC()
{
    if (translation.quit_posted)
    {
        translation.quit_posted = false;
        return 0;
    }
    if (DispatchSettledResize())
        return 2;
    SDL_Event event;
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_PollEvent(&event))
        return 1;
    // The system's quit with no window left to close is the quit message itself.
    if (event.type == SDL_QUIT && !MainHandle())
        return 0;
    MergeQueuedMoves(&event);
    _EngWindowMessage messages[ENG_MAX_MESSAGES_PER_EVENT];
    Dispatch(messages, TranslateEvent(&event, messages, ENG_MAX_MESSAGES_PER_EVENT));
    return 2;
}

void EngMainWaitForMessage_PC(int ms)
{
    if (translation.quit_posted || ms <= 0)
        return;
    if (!SDL_WasInit(SDL_INIT_VIDEO))
    {
        EngMiscSleep(ms / 1000.0);
        return;
    }
    SDL_WaitEventTimeout(nullptr, ms);
}

void EngMiscDropMessages_PC(double seconds)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    double end = EngMainGetTime_PC() + seconds;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        if (EngMainGetTime_PC() > end)
            return;
    }
}

long EngWindowStaticProc_PC(SDL_Window* handle, const _EngWindowMessage* msg)
{
    if (!msg)
        return 0;
    if (eng_main_window)
        return eng_main_window->WindowProc(handle, msg);
    return EngDefWindowProc_PC(handle, msg);
}

long EngDefWindowProc_PC(SDL_Window* handle, const _EngWindowMessage* msg)
{
    if (!msg)
        return 0;
    if (msg->message == ENG_WM_SYSKEYDOWN && msg->key == ENG_VK_F4 && msg->alt_down)
    {
        _EngWindowMessage close;
        close.message = ENG_WM_CLOSE;
        return EngWindowStaticProc_PC(handle, &close);
    }
    if (msg->message == ENG_WM_CLOSE && eng_main_window && handle == eng_main_window->GetWindowHandle_PC())
    {
        // The system destroys a closed window; ours is hidden and goes with the window object, after the
        // device has let go of it.
        _EngWindowMessage destroy;
        destroy.message = ENG_WM_DESTROY;
        eng_main_window->WindowProc(handle, &destroy);
        SDL_HideWindow(handle);
    }
    return 0;
}

// --- The window procedure ---

signed char EngWindow::PumpOneMessage()
{
    if (!m_pc.present)
        return 0;
    return EngMainPumpOneMessage_PC();
}

void EngWindow::NoteInput(bool mouse_move)
{
    if (eng_main_program)
        eng_main_program->NoteInputEvent(mouse_move);
}

void EngWindow::SendInput(_EngInputEventType type, EngUInt32 value1, EngUInt32 value2)
{
    if (m_program)
        m_program->InputEventCB(type, value1, value2);
}

long EngWindow::WindowProc(SDL_Window* handle, const _EngWindowMessage* msg)
{
    switch (msg->message)
    {
    case ENG_WM_DESTROY:
        return OnDestroy_PC();
    case ENG_WM_SIZE:
        return OnSize_PC(handle, msg);
    case ENG_WM_ACTIVATE:
        SetActive(msg->kind);
        return 0;
    case ENG_WM_PAINT:
        if (eng_main_program)
            eng_main_program->NotePaint();
        return EngDefWindowProc_PC(handle, msg);
    case ENG_WM_CLOSE:
        if (m_pc.closed)
            return 0; // the system's quit that follows the close of the last window
        RememberWindowRect_PC();
        if (m_program)
            m_program->RequestQuit();
        return EngDefWindowProc_PC(handle, msg);
    case ENG_WM_KEYDOWN:
    case ENG_WM_KEYUP:
        return OnKey_PC(msg, msg->message == ENG_WM_KEYDOWN);
    case ENG_WM_CHAR:
        SendInput(_EngInputEventType::Character, EngUInt32(msg->key), 0);
        NoteInput(false);
        return 1;
    case ENG_WM_SYSKEYDOWN:
    case ENG_WM_SYSKEYUP:
        return OnSysKey_PC(handle, msg, msg->message == ENG_WM_SYSKEYDOWN);
    case ENG_WM_MOUSEMOVE:
        return OnMouseMove_PC(msg);
    case ENG_WM_LBUTTONDOWN:
        return OnButton_PC(0, true);
    case ENG_WM_LBUTTONUP:
        return OnLeftButtonUp_PC();
    case ENG_WM_LBUTTONDBLCLK:
        SendInput(_EngInputEventType::MouseDoubleClick, 0, 0);
        NoteInput(false);
        m_pc.last_double_click_time = eng_time;
        return 1;
    case ENG_WM_RBUTTONDOWN:
    case ENG_WM_RBUTTONUP:
        return OnButton_PC(1, msg->message == ENG_WM_RBUTTONDOWN);
    case ENG_WM_MBUTTONDOWN:
    case ENG_WM_MBUTTONUP:
        return OnButton_PC(2, msg->message == ENG_WM_MBUTTONDOWN);
    case ENG_WM_MOUSEWHEEL:
        SendInput(_EngInputEventType::MouseWheel,
                  EngUInt32((msg->wheel_delta / ENG_WHEEL_DELTA) * ENG_WHEEL_SCROLL_LINES), 2);
        NoteInput(false);
        return 1;
    case ENG_WM_POWERBROADCAST:
        if (m_program && msg->kind == ENG_PBT_APMRESUMEAUTOMATIC)
            m_program->DoSuspend(false);
        else if (m_program && msg->kind == ENG_PBT_APMSUSPEND)
            m_program->DoSuspend(true);
        return EngDefWindowProc_PC(handle, msg);
    case ENG_WM_EXITSIZEMOVE:
        RememberWindowRect_PC();
        CheckResize_PC(false);
        return EngDefWindowProc_PC(handle, msg);
    case ENG_WM_MOUSELEAVE:
        return OnMouseLeave_PC(handle, msg);
    default:
        return EngDefWindowProc_PC(handle, msg);
    }
}

long EngWindow::OnDestroy_PC()
{
    if (!m_recreating_window)
    {
        EngPostQuitMessage_PC();
        if (m_program)
            m_program->QuitMainLoop();
    }
    m_pc.closed = true;
    return 1;
}

long EngWindow::OnSize_PC(SDL_Window* handle, const _EngWindowMessage* msg)
{
    bool inactive = msg->kind == ENG_SIZE_MINIMIZED || msg->kind == ENG_SIZE_MAXHIDE;
    SetActive(inactive ? ENG_WINDOW_INACTIVE : ENG_WINDOW_ACTIVE);
    switch (msg->kind)
    {
    case ENG_SIZE_MAXIMIZED:
        if (!m_pc.minimised)
            m_pc.size_state = ENG_WINDOW_SIZE_MAXIMISED;
        else
        {
            m_pc.minimised = false;
            m_pc.size_state = ENG_WINDOW_SIZE_RESTORED;
        }
        CheckResize_PC(true);
        m_pc.size_state = ENG_WINDOW_SIZE_RESTORED;
        return 0;
    case ENG_SIZE_MINIMIZED:
        m_pc.minimised = true;
        CheckResize_PC(false);
        if (m_program)
            m_program->MinimisedCB(true);
        return EngDefWindowProc_PC(handle, msg);
    case ENG_SIZE_RESTORED:
    {
        bool was_sized = m_pc.size_state != ENG_WINDOW_SIZE_NORMAL;
        bool was_minimised = m_pc.minimised;
        m_pc.size_state = ENG_WINDOW_SIZE_NORMAL;
        m_pc.minimised = false;
        if (was_sized)
            CheckResize_PC(false);
        if (was_minimised && m_program)
            m_program->MinimisedCB(false);
        return EngDefWindowProc_PC(handle, msg);
    }
    default:
        return EngDefWindowProc_PC(handle, msg);
    }
}

long EngWindow::OnKey_PC(const _EngWindowMessage* msg, bool down)
{
    if (m_pc.key_callback)
    {
        m_pc.key_callback(msg->key, down);
        NoteInput(false);
        return 1;
    }
    EngKeyStateTableSet(msg->key, down);
    SendInput(down ? _EngInputEventType::KeyDown : _EngInputEventType::KeyUp, EngUInt32(msg->key), 0);
    NoteInput(false);
    return 1;
}

long EngWindow::OnSysKey_PC(SDL_Window* handle, const _EngWindowMessage* msg, bool down)
{
    int key = msg->key;
    // Alt+Enter held down toggles once: the key's auto-repeat would flip the mode back and forth.
    if (down && key == ENG_VK_RETURN && msg->repeat)
        return 1;
    if (down && key == ENG_VK_RETURN)
    {
        DebugFatalCheckQualified(ToggleFullscreenMode(false), "", "Toggle fullscreen/window mode failed");
        return 1;
    }
    if (key == ENG_VK_MENU || key == ENG_VK_F10 || key == ENG_VK_F11 || key == ENG_VK_F12)
    {
        EngKeyStateTableSet(key, down);
        return 1;
    }
    return EngDefWindowProc_PC(handle, msg);
}

long EngWindow::OnMouseMove_PC(const _EngWindowMessage* msg)
{
    SendInput(_EngInputEventType::MouseMove, EngInputEventFromFloat(float(msg->x)),
              EngInputEventFromFloat(float(msg->y)));
    NoteInput(true);
    if (m_pc.pointer_outside)
    {
        m_pc.pointer_outside = false;
        Uint32 buttons = EngCursorGetPhysicalButtons_PC();
        EngKeyStateTableSet(ENG_VK_LBUTTON, (buttons & SDL_BUTTON_LMASK) != 0);
        EngKeyStateTableSet(ENG_VK_RBUTTON, (buttons & SDL_BUTTON_RMASK) != 0);
        EngKeyStateTableSet(ENG_VK_MBUTTON, (buttons & SDL_BUTTON_MMASK) != 0);
        if (m_pc.texture_cursor.on)
            TextureCursorLeavingWindowCB_PC(false);
    }
    if (m_pc.texture_cursor.on)
        PlaceTextureCursor_PC(msg->x, msg->y);
    return 1;
}

long EngWindow::OnButton_PC(int button, bool down)
{
    static const int button_keys[3] = {ENG_VK_LBUTTON, ENG_VK_RBUTTON, ENG_VK_MBUTTON};
    EngKeyStateTableSet(button_keys[button], down);
    SendInput(_EngInputEventType::MouseButton, EngUInt32(button), down ? 1 : 0);
    NoteInput(false);
    return 1;
}

long EngWindow::OnLeftButtonUp_PC()
{
    double since = m_pc.last_double_click_time;
    if (since != 0.0 && eng_time - since < 0.1)
    {
        // The release that ends a double click belongs to it.
        EngKeyStateTableSet(ENG_VK_LBUTTON, false);
        m_pc.last_double_click_time = 0.0;
        return 1;
    }
    return OnButton_PC(0, false);
}

long EngWindow::OnMouseLeave_PC(SDL_Window* handle, const _EngWindowMessage* msg)
{
    if (!m_pc.pointer_outside)
    {
        m_pc.pointer_outside = true;
        GetCursorPos(&m_pc.outside_x, &m_pc.outside_y);
        Uint32 buttons = EngCursorGetPhysicalButtons_PC();
        m_pc.left_button_on_leaving = (buttons & SDL_BUTTON_LMASK) ? ENG_KEY_STATE_DOWN : ENG_KEY_STATE_UP;
        if (m_pc.texture_cursor.on)
            TextureCursorLeavingWindowCB_PC(true);
    }
    return EngDefWindowProc_PC(handle, msg);
}
