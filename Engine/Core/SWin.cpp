#include "Engine/Core/SWin.h"

#include <cstdio>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"
#include "Engine/Core/PC/SWin_PC.h"

namespace {

constexpr int kReportTextSize = 2048;
// The longest a modal wait sleeps between looks at its window.
constexpr int kIdleWaitMs = 100;

int next_class_number = 1;

int CentreOrKeep(int position, int size, int desktop)
{
    if (position <= 0)
        position = (desktop - size) / 2;
    if (position + size > desktop)
        position = desktop - size;
    return position < 0 ? 0 : position;
}

void ReportShownText(const char* title, const char* text)
{
    char utf8_title[kReportTextSize];
    char utf8_text[kReportTextSize];
    EngCodePageAnsiToUtf8(title, utf8_title, sizeof(utf8_title));
    EngCodePageAnsiToUtf8(text, utf8_text, sizeof(utf8_text));
    std::fprintf(stderr, "[%s] %s\n", utf8_title, utf8_text);
    DebugInfoQuick(ENG_FUNC, "Native window <%s> shows <%s>", title, text);
}

} // namespace

SWin::SWin() = default;

SWin::~SWin()
{
    DestroyMainWindow();
}

SWinPlacement SWin::ComputePlacement(const SWinCreateInfo& info, int desktop_width, int desktop_height, float scale)
{
    SWinPlacement place = {};
    place.width = info.width < desktop_width ? info.width : desktop_width;
    place.height = info.height < desktop_height ? info.height : desktop_height;
    place.x = CentreOrKeep(info.x, place.width, desktop_width);
    place.y = CentreOrKeep(info.y, place.height, desktop_height);
    if (scale <= 1.0f)
        return place;
    float centre_x = desktop_width * 0.5f;
    float centre_y = desktop_height * 0.5f;
    place.x = static_cast<int>(centre_x + (place.x - centre_x) * scale + 0.5f);
    place.y = static_cast<int>(centre_y + (place.y - centre_y) * scale + 0.5f);
    place.width = static_cast<int>(place.width * scale + 0.5f);
    place.height = static_cast<int>(place.height * scale + 0.5f);
    return place;
}

bool SWin::CreateMainWindow(const SWinCreateInfo* info)
{
    if (!info) {
        DebugError(ENG_FUNC, "No info specified");
        return false;
    }
    if (created) {
        DebugError(ENG_FUNC, "Window already created");
        return false;
    }
    if (!SWinOpenDisplay_PC())
        return false;
    int desktop_width = 0;
    int desktop_height = 0;
    SWinGetDesktop_PC(&desktop_width, &desktop_height, &scale_factor);
    SWinPlacement place = ComputePlacement(*info, desktop_width, desktop_height, scale_factor);
    std::snprintf(class_name, sizeof(class_name), "SWinClass%d", next_class_number++);
    EngSafeStrcpy(title, info->title, sizeof(title));
    background[0] = info->red;
    background[1] = info->green;
    background[2] = info->blue;
    window = SWinCreateWindow_PC(this, class_name, title, place, background, info->menu, info->menu_items);
    if (!window) {
        DebugError(ENG_FUNC, "CreateWindow() Failed");
        return false;
    }
    created = true;
    loop_ended = false;
    escape_down = false;
    idle_pumps = 0;
    client_x = 0.0f;
    client_y = 0.0f;
    SWinGetClientSize_PC(window, &client_width, &client_height);
    return true;
}

void SWin::GetClientArea(float* x, float* y, float* width, float* height) const
{
    *x = client_x;
    *y = client_y;
    *width = client_width;
    *height = client_height;
}

int SWin::AddControl(SWinButtonType kind, int x, int y, int width, int height, const char* text,
                     void* radio_group_widget)
{
    int index = static_cast<int>(controls.size());
    float s = scale_factor;
    SWinControl control = {};
    control.kind = kind;
    control.selection = -1;
    control.group = -1;
    control.x = static_cast<int>(x * s);
    control.y = static_cast<int>(y * s);
    control.width = static_cast<int>(width * s);
    control.height = static_cast<int>(height * s);
    if (kind == SWIN_BUTTON_RADIO_GROUP)
        control.widget = SWinCreateRadioButton_PC(window, index, control.x, control.y, control.width,
                                                  control.height, text ? text : "", radio_group_widget);
    else
        control.widget = SWinCreateControl_PC(window, index, kind, control.x, control.y, control.width,
                                              control.height, text ? text : "");
    if (!control.widget) {
        DebugError(ENG_FUNC, "CreateWindow() Failed");
        return -1;
    }
    controls.push_back(control);
    idle_pumps = 0;
    return index;
}

int SWin::AddButtonToWindow(SWinButtonType kind, int x, int y, int width, int height, const char* text)
{
    if (!window) {
        DebugError(ENG_FUNC, "No window");
        return -1;
    }
    switch (kind) {
    case SWIN_BUTTON_GROUP_BOX:
    case SWIN_BUTTON_LABEL:
    case SWIN_BUTTON_PUSH:
    case SWIN_BUTTON_EDIT:
    case SWIN_BUTTON_DROP_DOWN:
    case SWIN_BUTTON_BITMAP:
        return AddControl(kind, x, y, width, height, text, nullptr);
    case SWIN_BUTTON_RADIO_GROUP:
        return AddRadioButton(x, y, width, height, text, -1);
    }
    DebugError(ENG_FUNC, "Unknown button type %d", static_cast<int>(kind));
    return -1;
}

int SWin::AddPushButton(int x, int y, int width, int height, const char* text, SWinPushButtonCB callback)
{
    int index = AddButtonToWindow(SWIN_BUTTON_PUSH, x, y, width, height, text);
    if (index >= 0)
        controls[index].push_callback = callback;
    return index;
}

int SWin::AddRadioButton(int x, int y, int width, int height, const char* text, int join)
{
    if (!window) {
        DebugError(ENG_FUNC, "No window");
        return -1;
    }
    int group = static_cast<int>(controls.size());
    void* group_widget = nullptr;
    if (join >= 0) {
        SWinControl* member = GetControlOfKind(ENG_FUNC, join, SWIN_BUTTON_RADIO_GROUP);
        if (!member)
            return -1;
        group = member->group;
        group_widget = controls[group].widget;
    }
    int index = AddControl(SWIN_BUTTON_RADIO_GROUP, x, y, width, height, text, group_widget);
    if (index < 0)
        return -1;
    controls[index].group = group;
    // The first button of a new group starts chosen.
    controls[index].checked = index == group;
    return index;
}

SWinControl* SWin::GetControlOfKind(const char* own_name, int index, SWinButtonType kind)
{
    SWinControl* control = GetControl(own_name, index);
    if (control && control->kind != kind) {
        DebugError(own_name, "Control %d is not of kind %d", index, static_cast<int>(kind));
        return nullptr;
    }
    return control;
}

bool SWin::RadioSetChecked(int index)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_RADIO_GROUP);
    if (!control)
        return false;
    changing_by_call = true;
    SWinSetRadioChecked_PC(control->widget);
    changing_by_call = false;
    MarkChosen(index);
    idle_pumps = 0;
    return true;
}

bool SWin::RadioIsChecked(int index)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_RADIO_GROUP);
    return control && control->checked;
}

bool SWin::RadioGroupBind(int index, EngUInt8* mirror, SWinControlChangeCB callback)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_RADIO_GROUP);
    if (!control)
        return false;
    SWinControl& first = controls[control->group];
    first.group_mirror = mirror;
    first.change_callback = callback;
    return true;
}

bool SWin::IsInGroup(int index, int group) const
{
    return controls[index].kind == SWIN_BUTTON_RADIO_GROUP && controls[index].group == group;
}

int SWin::PositionInGroup(int index) const
{
    int position = 0;
    for (int i = 0; i < index; i++)
        position += IsInGroup(i, controls[index].group) ? 1 : 0;
    return position;
}

void SWin::MarkChosen(int index)
{
    int group = controls[index].group;
    for (int i = 0; i < static_cast<int>(controls.size()); i++)
        if (IsInGroup(i, group))
            controls[i].checked = i == index;
    if (controls[group].group_mirror)
        *controls[group].group_mirror = static_cast<EngUInt8>(PositionInGroup(index));
}

bool SWin::SetControlEnabled(int index, bool enabled)
{
    SWinControl* control = GetControl(ENG_FUNC, index);
    if (!control)
        return false;
    control->disabled = !enabled;
    SWinEnableControl_PC(control->widget, enabled);
    idle_pumps = 0;
    return true;
}

bool SWin::IsControlEnabled(int index)
{
    SWinControl* control = GetControl(ENG_FUNC, index);
    return control && !control->disabled;
}

bool SWin::DropDownAddItem(int index, const char* text)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    if (!control)
        return false;
    control->items.push_back(text ? text : "");
    SWinDropDownAdd_PC(control->widget, text ? text : "");
    idle_pumps = 0;
    return true;
}

bool SWin::DropDownClear(int index)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    if (!control)
        return false;
    changing_by_call = true;
    SWinDropDownClear_PC(control->widget);
    changing_by_call = false;
    control->items.clear();
    SetSelection(control, -1);
    idle_pumps = 0;
    return true;
}

bool SWin::DropDownBind(int index, int* mirror, SWinControlChangeCB callback)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    if (!control)
        return false;
    control->list_mirror = mirror;
    control->change_callback = callback;
    return true;
}

void SWin::SetSelection(SWinControl* control, int selection)
{
    control->selection = selection;
    if (control->list_mirror)
        *control->list_mirror = selection;
}

bool SWin::DropDownSetSelection(int index, int selection)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    if (!control || selection < -1 || selection >= static_cast<int>(control->items.size()))
        return false;
    changing_by_call = true;
    SWinDropDownSelect_PC(control->widget, selection);
    changing_by_call = false;
    SetSelection(control, selection);
    idle_pumps = 0;
    return true;
}

int SWin::DropDownGetSelection(int index)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    return control ? control->selection : -1;
}

int SWin::DropDownGetCount(int index)
{
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    return control ? static_cast<int>(control->items.size()) : 0;
}

bool SWin::DropDownGetItemText(int index, int item, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return false;
    buffer[0] = 0;
    SWinControl* control = GetControlOfKind(ENG_FUNC, index, SWIN_BUTTON_DROP_DOWN);
    if (!control || item < 0 || item >= static_cast<int>(control->items.size()))
        return false;
    EngSafeStrcpy(buffer, control->items[item].c_str(), static_cast<unsigned>(size));
    return true;
}

SWinControl* SWin::GetControl(const char* own_name, int index)
{
    if (index < 0 || index >= static_cast<int>(controls.size()))
        return nullptr;
    SWinControl* control = &controls[index];
    if (!control->widget) {
        DebugError(own_name, "No window");
        return nullptr;
    }
    return control;
}

bool SWin::PushButtonSetCallback(int index, SWinPushButtonCB callback)
{
    SWinControl* control = GetControl(ENG_FUNC, index);
    if (!control)
        return false;
    if (control->kind != SWIN_BUTTON_PUSH) {
        DebugError(ENG_FUNC, "Not a push button");
        return false;
    }
    control->push_callback = callback;
    return true;
}

bool SWin::SetButtonText(int index, const char* text)
{
    SWinControl* control = GetControl(ENG_FUNC, index);
    if (!control)
        return false;
    SWinSetControlText_PC(control->widget, control->kind, text ? text : "");
    idle_pumps = 0;
    return true;
}

bool SWin::GetButtonText(int index, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return false;
    buffer[0] = 0;
    SWinControl* control = GetControl(ENG_FUNC, index);
    if (!control)
        return false;
    SWinGetControlText_PC(control->widget, control->kind, buffer, size);
    return true;
}

bool SWin::SetButtonTextAlign(int index, SWinTextAlign align)
{
    if (align != SWIN_TEXT_ALIGN_NONE && align != SWIN_TEXT_ALIGN_CENTRE && align != SWIN_TEXT_ALIGN_RIGHT)
        return false;
    SWinControl* control = GetControl(ENG_FUNC, index);
    if (!control)
        return false;
    SWinSetControlAlign_PC(control->widget, control->kind, align);
    idle_pumps = 0;
    return true;
}

int SWin::ProcessAnyWindowsMessages()
{
    if (loop_ended)
        return 0;
    if (!window) {
        DebugError(ENG_FUNC, "No window");
        return 0;
    }
    if (SWinHandleOneEvent_PC())
        return loop_ended ? 0 : 2;
    if (++idle_pumps >= SWIN_NONINTERACTIVE_IDLE_PUMPS && EngMessageBoxIsNonInteractive_PC())
        AnswerForAbsentPerson();
    return loop_ended ? 0 : 1;
}

int SWin::WaitForWindowsMessages()
{
    int result = ProcessAnyWindowsMessages();
    // Nobody there: the idle pumps that answer for the absent person follow each other at once.
    if (result == 1 && !EngMessageBoxIsNonInteractive_PC())
        SWinWaitForEvent_PC(kIdleWaitMs);
    return result;
}

// Only a window that offers buttons waits for someone; one without them is a notice the caller closes.
void SWin::AnswerForAbsentPerson()
{
    bool has_push_button = false;
    for (const SWinControl& control : controls)
        has_push_button = has_push_button || control.kind == SWIN_BUTTON_PUSH;
    if (!has_push_button)
        return;
    char text[kReportTextSize];
    for (const SWinControl& control : controls) {
        SWinGetControlText_PC(control.widget, control.kind, text, sizeof(text));
        if (text[0])
            ReportShownText(title, text);
    }
    DebugInfoQuick(ENG_FUNC, "Native window <%s> closed: nobody is there to answer", title);
    DestroyMainWindow();
}

void SWin::QuitWindowLoop()
{
    loop_ended = true;
}

void SWin::DestroyMainWindow()
{
    if (window)
        SWinDestroyWindow_PC(window);
    // The platform reports the destruction through OnDestroyed; this covers a window it never announced.
    OnDestroyed();
}

void SWin::OnDestroyed()
{
    loop_ended = true;
    window = nullptr;
    created = false;
    controls.clear();
}

void SWin::MsgRouter(void* window, SWinMessage message, int param)
{
    SWin* owner = window ? SWinGetOwner_PC(window) : nullptr;
    if (!owner) {
        DebugError(ENG_FUNC, "Could not get wnd.");
        return;
    }
    switch (message) {
    case SWIN_MESSAGE_COMMAND:
        owner->OnCommand(param);
        break;
    case SWIN_MESSAGE_MENU_COMMAND:
        owner->OnMenuCommand(param);
        break;
    case SWIN_MESSAGE_KEY_DOWN:
        owner->OnKeyDown(param);
        break;
    case SWIN_MESSAGE_KEY_UP:
        owner->OnKeyUp(param);
        break;
    case SWIN_MESSAGE_DESTROY:
        SWinForgetOwner_PC(window);
        owner->OnDestroyed();
        break;
    }
}

void SWin::OnCommand(int index)
{
    if (index < 0 || index >= static_cast<int>(controls.size())) {
        OnMenuCommand(index);
        return;
    }
    SWinControl& control = controls[index];
    if (control.kind == SWIN_BUTTON_PUSH) {
        if (control.push_callback)
            control.push_callback(this, user);
        return;
    }
    if (control.kind == SWIN_BUTTON_DROP_DOWN) {
        OnDropDownChanged(index);
        return;
    }
    if (control.kind == SWIN_BUTTON_RADIO_GROUP) {
        OnRadioToggled(index);
        return;
    }
    OnMenuCommand(index);
}

void SWin::OnDropDownChanged(int index)
{
    SWinControl& control = controls[index];
    int selection = SWinGetSelection_PC(control.widget);
    bool changed = selection != control.selection;
    SetSelection(&control, selection);
    if (changed && !changing_by_call)
        ReportChange(index, control.change_callback, selection, selection);
}

// Both buttons of a switch report; only the one now chosen counts, and choosing the chosen one is no change.
void SWin::OnRadioToggled(int index)
{
    if (!SWinIsRadioChecked_PC(controls[index].widget) || controls[index].checked)
        return;
    MarkChosen(index);
    if (!changing_by_call)
        ReportChange(index, controls[controls[index].group].change_callback, PositionInGroup(index), 1);
}

void SWin::ReportChange(int index, SWinControlChangeCB own, int own_value, int value)
{
    if (own)
        own(this, own_value, user);
    // The control's callback may have closed the window.
    if (window && change_callback)
        change_callback(this, index, value, user);
}

void SWin::OnMenuCommand(int command)
{
    if (command_callback)
        command_callback(this, command, user);
}

void SWin::OnKeyDown(int key)
{
    if (key == SWIN_KEY_ESCAPE)
        escape_down = true;
}

void SWin::OnKeyUp(int key)
{
    if (key != SWIN_KEY_ESCAPE || !escape_down)
        return;
    escape_down = false;
    DestroyMainWindow();
}
