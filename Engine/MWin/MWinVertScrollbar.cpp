#include "Engine/MWin/MWinVertScrollbar.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinTextureRegistry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace {

double Clamp(double value, double lo, double hi)
{
    return std::max(lo, std::min(value, hi));
}

// A double rounded into an int without overflowing it.
int RoundToInt(double value)
{
    return EngRoundDouble(Clamp(value, double(INT_MIN), double(INT_MAX)));
}

} // namespace

MWinVertScrollbar::MWinVertScrollbar(MWin* mwin, const char* id, MWinGroup* group, const char* texbut_id,
                                     const char* text, float x, float y, float w, float h)
    : MWinButton(mwin, id, group, MWIN_BUT_VERTSCROLLBAR, texbut_id, text, x, y, w, h)
{
}

MWinVertScrollbar::~MWinVertScrollbar() = default;

// ---------------------------------------------------------------------------------------------------------
// Geometry

float MWinVertScrollbar::Metric(int field, float fallback) const
{
    float value = LayoutField(field);
    return value > 0.0f ? value : fallback;
}

float MWinVertScrollbar::ArrowHeightIfShown() const
{
    return m_arrows ? Metric(MWIN_LF_VSB_ARROW_HEIGHT, 12.0f) : 0.0f;
}

float MWinVertScrollbar::GetBarWidth() const
{
    return Metric(MWIN_LF_VSB_BAR_WIDTH, 12.0f) * eng_aspect_x;
}

float MWinVertScrollbar::GetThumbHeight() const
{
    return Metric(MWIN_LF_VSB_THUMB_HEIGHT, 12.0f);
}

float MWinVertScrollbar::GetTrackTop() const
{
    return m_screen_area.y + Metric(MWIN_LF_VSB_END_MARGIN, 3.0f) + ArrowHeightIfShown();
}

float MWinVertScrollbar::GetTrackLength() const
{
    return m_screen_area.h - GetThumbHeight() - 2.0f * Metric(MWIN_LF_VSB_END_MARGIN, 3.0f) -
           2.0f * ArrowHeightIfShown();
}

float MWinVertScrollbar::GetThumbY() const
{
    double range = m_maximum - m_minimum;
    float length = GetTrackLength();
    // A thumb taller than its track, or no range at all, stays at the top.
    if (range <= 0.0 || length <= 0.0f)
        return GetTrackTop();
    return GetTrackTop() + float((m_value - m_minimum) * length / range);
}

double MWinVertScrollbar::ValueAtY(float y) const
{
    float length = GetTrackLength();
    if (length <= 0.0f)
        return m_minimum;
    double value = (y - GetThumbHeight() / 2.0f - GetTrackTop()) * (m_maximum - m_minimum) / length + m_minimum;
    return Clamp(value, m_minimum, m_maximum);
}

// ---------------------------------------------------------------------------------------------------------
// Value

void MWinVertScrollbar::SetRange(double minimum, double maximum, double page, double step)
{
    if (maximum < minimum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    m_page = page > 0.0 ? page : (maximum - minimum) / 10.0;
    m_step = step > 0.0 ? step : (maximum - minimum) / 100.0;
    m_value = minimum;
    RebuildLabel();
    Redraw();
}

void MWinVertScrollbar::SetRange(int minimum, int maximum, int page, int step)
{
    SetRange(double(minimum), double(maximum), double(page), double(step));
}

double MWinVertScrollbar::ApplySnap(double value)
{
    static const float kSnaps[4] = {1.0f, 0.1f, 0.01f, 0.001f};
    if (m_snap == 0.0f)
        return value;
    for (int k = 0; k < 4; k++) {
        if (m_snap != kSnaps[k])
            continue;
        double scale = std::pow(10.0, k);
        return std::round(value * scale) / scale;
    }
    DebugError(ENG_FUNC, "Unsupported snap value %f", double(m_snap));
    m_snap = 0.0f;
    return value;
}

char MWinVertScrollbar::FireValue(char fire, char dragging)
{
    if (!fire)
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.vscroll.value = m_value;
    info.kind.vscroll.dragging = dragging;
    // Nothing of this object is touched after the callback: it may have removed the bar.
    Fire(&info);
    return 1;
}

char MWinVertScrollbar::SetPosDouble(double value, char dragging, char force, char fire)
{
    if (m_kind != MWIN_BUT_VERTSCROLLBAR) {
        DebugError(ENG_FUNC, "Not a scrollbar [%s]", m_id);
        return 0;
    }
    value = Clamp(value, m_minimum, m_maximum);
    if (value == m_value && !force)
        return FireValue(fire, dragging);
    m_value = Clamp(ApplySnap(value), m_minimum, m_maximum);
    RebuildLabel();
    WriteBoundVariable();
    if (dragging)
        m_changed_while_dragging = 1;
    return FireValue(fire, dragging);
}

char MWinVertScrollbar::SetPosInt(int value, char dragging, char force, char fire)
{
    return SetPosDouble(double(value), dragging, force, fire);
}

char MWinVertScrollbar::SetPosFloat(float value, char dragging, char force, char fire)
{
    return SetPosDouble(double(value), dragging, force, fire);
}

char MWinVertScrollbar::SetPosUnsigned(unsigned value, char dragging, char force, char fire)
{
    return SetPosDouble(double(value), dragging, force, fire);
}

double MWinVertScrollbar::GetPosDouble() const
{
    return m_kind == MWIN_BUT_VERTSCROLLBAR ? m_value : -1.0;
}

void MWinVertScrollbar::StepUp()
{
    if (m_value - m_step >= m_minimum)
        SetPosDouble(m_value - m_step, 0, 0, 1);
}

void MWinVertScrollbar::StepDown()
{
    if (m_value + m_step <= m_maximum)
        SetPosDouble(m_value + m_step, 0, 0, 1);
}

void MWinVertScrollbar::PageUp()
{
    SetPosDouble(std::max(m_value - m_page, m_minimum), 0, 0, 1);
}

void MWinVertScrollbar::PageDown()
{
    SetPosDouble(std::min(m_value + m_page, m_maximum), 0, 0, 1);
}

// ---------------------------------------------------------------------------------------------------------
// Label and bound variable

void MWinVertScrollbar::SetLabel(char mode, int prefix_length, float factor)
{
    m_label_mode = mode;
    m_label_prefix_length = std::max(0, prefix_length);
    m_label_factor = factor;
    RebuildLabel();
}

void MWinVertScrollbar::RebuildLabel()
{
    if (m_label_mode == 0)
        return;
    int decimals = m_label_mode >= 2 && m_label_mode <= 4 ? m_label_mode - 1 : 0;
    double shown = m_value * m_label_factor;
    char text[MWIN_BUTTON_TEXT_MAX];
    if (m_label_prefix_length <= 0) {
        std::snprintf(text, sizeof(text), "%.*f", decimals, shown);
        SetText(text);
        return;
    }
    // Half the text for the prefix leaves room for any number behind it.
    char prefix[MWIN_BUTTON_TEXT_MAX / 2] = {};
    const char* current = m_texts[0] ? m_texts[0] : "";
    size_t keep = strnlen(current, std::min(size_t(m_label_prefix_length), sizeof(prefix) - 1));
    std::memcpy(prefix, current, keep);
    prefix[keep] = 0;
    std::snprintf(text, sizeof(text), "%s [%.*f]", prefix, decimals, shown);
    SetText(text);
}

void MWinVertScrollbar::WriteBoundVariable()
{
    if (!m_bound)
        return;
    switch (m_bound_kind) {
    case MWIN_VSB_VAR_SIGNED_BYTE:
        *static_cast<signed char*>(m_bound) = (signed char)(EngRoundDouble(Clamp(m_value, -127.0, 127.0)));
        break;
    case MWIN_VSB_VAR_BYTE:
        *static_cast<unsigned char*>(m_bound) = (unsigned char)(EngRoundDouble(Clamp(m_value, 0.0, 255.0)));
        break;
    case MWIN_VSB_VAR_INT:
        *static_cast<int*>(m_bound) = RoundToInt(m_value / m_bound_scale);
        break;
    case MWIN_VSB_VAR_UNSIGNED:
        *static_cast<unsigned*>(m_bound) = unsigned(std::llround(Clamp(m_value / m_bound_scale, 0.0, 4294967295.0)));
        break;
    case MWIN_VSB_VAR_FLOAT:
        *static_cast<float*>(m_bound) = float(m_bound_scale > 0.0f ? m_value / m_bound_scale : m_value);
        break;
    default:
        break;
    }
}

void MWinVertScrollbar::ReadBoundVariable()
{
    double value = 0.0;
    switch (m_bound_kind) {
    case MWIN_VSB_VAR_SIGNED_BYTE:
        value = *static_cast<const signed char*>(m_bound);
        break;
    case MWIN_VSB_VAR_BYTE:
        value = *static_cast<const unsigned char*>(m_bound);
        break;
    case MWIN_VSB_VAR_INT:
        value = *static_cast<const int*>(m_bound) * double(m_bound_scale);
        break;
    case MWIN_VSB_VAR_UNSIGNED:
        value = *static_cast<const unsigned*>(m_bound) * double(m_bound_scale);
        break;
    case MWIN_VSB_VAR_FLOAT:
        value = *static_cast<const float*>(m_bound) * double(m_bound_scale > 0.0f ? m_bound_scale : 1.0f);
        break;
    default:
        return;
    }
    SetPosDouble(value, 0, 1, 0);
}

char MWinVertScrollbar::Bind(_MWinVertScrollbarVariable kind, void* variable, float scale)
{
    bool scaled = kind == MWIN_VSB_VAR_INT || kind == MWIN_VSB_VAR_UNSIGNED;
    if (scaled && scale == 0.0f) {
        DebugError(ENG_FUNC, "ID: %s - 0 val passed as mult", m_id);
        return 0;
    }
    m_bound_kind = variable ? kind : MWIN_VSB_VAR_NONE;
    m_bound = variable;
    m_bound_scale = scale;
    ReadBoundVariable();
    return 1;
}

char MWinVertScrollbar::BindSignedByteVariable(signed char* variable)
{
    return Bind(MWIN_VSB_VAR_SIGNED_BYTE, variable, 1.0f);
}

char MWinVertScrollbar::BindByteVariable(unsigned char* variable)
{
    return Bind(MWIN_VSB_VAR_BYTE, variable, 1.0f);
}

char MWinVertScrollbar::BindIntVariable(int* variable, float multiplier)
{
    return Bind(MWIN_VSB_VAR_INT, variable, multiplier);
}

char MWinVertScrollbar::BindUnsignedVariable(unsigned* variable, float multiplier)
{
    return Bind(MWIN_VSB_VAR_UNSIGNED, variable, multiplier);
}

char MWinVertScrollbar::BindFloatVariable(float* variable, float divisor)
{
    return Bind(MWIN_VSB_VAR_FLOAT, variable, divisor);
}

// ---------------------------------------------------------------------------------------------------------
// Input

char MWinVertScrollbar::HandleButtonPressed(int button, char down, char flag)
{
    (void)flag;
    if (!m_ready || !m_enabled || !m_shown || button != 0)
        return 0;
    if (!down) {
        bool was_dragging = m_dragging != 0;
        m_pressed = 0;
        EndDrag();
        return was_dragging || IsMouseOver() ? 1 : 0;
    }
    if (!IsMouseOver())
        return 0;
    m_pressed = 1;
    float y = m_mwin->GetMouseY();
    float arrow_margin = Metric(MWIN_LF_VSB_ARROW_MARGIN, 3.0f);
    float arrow_height = ArrowHeightIfShown();
    float top = m_screen_area.y;
    float bottom = m_screen_area.y + m_screen_area.h;
    float thumb_y = GetThumbY();
    if (m_arrows && y >= top + arrow_margin && y < top + arrow_margin + arrow_height) {
        StepUp();
    } else if (m_arrows && y < bottom - arrow_margin && y >= bottom - arrow_margin - arrow_height) {
        StepDown();
    } else if (y >= thumb_y && y < thumb_y + GetThumbHeight()) {
        m_dragging = 1;
        m_changed_while_dragging = 0;
        m_grab_offset = y - thumb_y - GetThumbHeight() / 2.0f;
    } else if (ValueAtY(y) <= m_value) {
        PageUp();
    } else {
        PageDown();
    }
    return 1;
}

char MWinVertScrollbar::HandleDoubleClick(int button)
{
    return HandleButtonPressed(button, 1, 0);
}

void MWinVertScrollbar::EndDrag()
{
    if (!m_dragging)
        return;
    m_dragging = 0;
    if (!m_changed_while_dragging)
        return;
    m_changed_while_dragging = 0;
    SetPosDouble(m_value, 0, 0, 1);
}

void MWinVertScrollbar::CancelPress()
{
    m_pressed = 0;
    EndDrag();
}

void MWinVertScrollbar::ResetState()
{
    m_pressed = 0;
    EndDrag();
    MWinButton::ResetState();
}

char MWinVertScrollbar::HandleMouseMove()
{
    if (!m_ready || !m_shown)
        return 0;
    if (!m_dragging)
        return 0;
    MWin* mwin = m_mwin;
    SetPosDouble(ValueAtY(mwin->GetMouseY() - m_grab_offset), 1, 0, 1);
    mwin->RequestRedraw();
    return 1;
}

char MWinVertScrollbar::HandleMouseWheel(int steps)
{
    if (!m_ready || !m_enabled || !m_shown || steps == 0)
        return 0;
    MWin* mwin = m_mwin;
    mwin->RequestRedraw();
    _MWinButtonExistCheck check;
    FillStillExistsCheckInfo(&check);
    for (int i = 0; i < std::abs(steps); i++) {
        if (steps > 0)
            StepUp();
        else
            StepDown();
        // Each step calls back, and a callback that switched screens took the bar with it.
        if (!DoWeStillExist(&check))
            return 1;
    }
    return 1;
}

char MWinVertScrollbar::HandleKeyDown(int key)
{
    if (!m_ready || !m_enabled || !m_shown)
        return 0;
    m_key_handled = 1;
    switch (key) {
    case ENG_VK_PRIOR:
    case ENG_VK_LEFT:
        PageUp();
        return 1;
    case ENG_VK_NEXT:
    case ENG_VK_RIGHT:
        PageDown();
        return 1;
    case ENG_VK_UP:
        StepUp();
        return 1;
    case ENG_VK_DOWN:
        StepDown();
        return 1;
    default:
        m_key_handled = 0;
        return 0;
    }
}

char MWinVertScrollbar::IsCapturingInput()
{
    return m_dragging ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void MWinVertScrollbar::Render()
{
    if (!m_on_screen || !m_shown || !m_mwin || m_visible_area.h <= 0.0f || !EngDeviceIsCreated())
        return;
    MWinTextures* textures = m_mwin->GetTextures();
    if (!textures)
        return;
    EngDeviceTurnOnCropInViewport(m_visible_area.x, m_visible_area.y, m_visible_area.w, m_visible_area.h);
    _MWinTextureState state = GetTextureState();
    DrawBackground(state);
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    float width = GetBarWidth();
    float x = m_screen_area.x + (m_screen_area.w - width) / 2.0f;
    if (m_arrows) {
        float margin = Metric(MWIN_LF_VSB_ARROW_MARGIN, 3.0f);
        float height = ArrowHeightIfShown();
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LEFT_ARROW), state, x,
                             m_screen_area.y + margin, width, height, modulate);
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_RIGHT_ARROW), state, x,
                             m_screen_area.y + m_screen_area.h - margin - height, width, height, modulate);
    }
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_VSCROLL_THUMB), state, x, GetThumbY(), width,
                         GetThumbHeight(), modulate);
    DrawForeground();
    EngDeviceTurnOffCrop();
}
