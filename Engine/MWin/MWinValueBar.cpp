#include "Engine/MWin/MWinValueBar.h"

#include <cmath>

#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"

namespace {

double Clamp01(double t)
{
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

} // namespace

double MWinButton::GetHorzValueBarValue() const
{
    return m_kind == MWIN_BUT_HORZSCROLLBAR ? m_valuebar.value : -1.0;
}

void MWinButton::SetHorzValueBar(double value, double minimum, double maximum, char logarithmic)
{
    m_valuebar.value = value;
    m_valuebar.minimum = minimum;
    m_valuebar.maximum = maximum;
    m_valuebar.logarithmic = logarithmic;
}

float MWinButton::ValueBarThumbWidth() const
{
    return LayoutField(MWIN_LF_VALUE_BAR_THUMB_WIDTH) * (m_mwin ? m_mwin->GetWindowScaleX() : 1.0f);
}

float MWinButton::ValueBarTrack(float* start) const
{
    float inset = LayoutField(MWIN_LF_VALUE_BAR_INSET);
    *start = m_screen_area.x + inset;
    return m_screen_area.w - ValueBarThumbWidth() - 2.0f * inset;
}

float MWinButton::GetHorzValueBarThumbX() const
{
    float start = 0.0f;
    float length = ValueBarTrack(&start);
    double range = m_valuebar.maximum - m_valuebar.minimum;
    if (range <= 0.0)
        return start;
    double t = Clamp01((m_valuebar.value - m_valuebar.minimum) / range);
    double position = m_valuebar.value - m_valuebar.minimum;
    if (m_valuebar.logarithmic)
        position = t == 0.0 ? 0.0 : std::log(1.0 + t * (M_E - 1.0)) * range;
    return float(start + position * length / range);
}

double MWinButton::HorzValueBarValueAt(float x) const
{
    float start = 0.0f;
    float length = ValueBarTrack(&start);
    double range = m_valuebar.maximum - m_valuebar.minimum;
    if (range <= 0.0 || length <= 0.0f)
        return m_valuebar.minimum;
    double along = Clamp01((x - start) / length);
    // The inverse of the thumb's place on the logarithmic scale.
    double t = m_valuebar.logarithmic ? (std::exp(along) - 1.0) / (M_E - 1.0) : along;
    return m_valuebar.minimum + t * range;
}

bool MWinButton::IsMouseOverHorzValueBarThumb() const
{
    if (!m_mwin)
        return false;
    float x = GetHorzValueBarThumbX();
    float mx = m_mwin->GetMouseX();
    float my = m_mwin->GetMouseY();
    bool in_height = my >= m_screen_area.y && my < m_screen_area.y + m_screen_area.h;
    return in_height && mx >= x && mx < x + ValueBarThumbWidth();
}

// A press on the thumb takes hold of it where it was pressed; a press beside it brings its middle under the
// pointer. Either way the bar follows the pointer until the release.
void MWinButton::ValueBarHandlePress(char down)
{
    if (!down) {
        m_dragging = 0;
        return;
    }
    float thumb_x = GetHorzValueBarThumbX();
    float mx = m_mwin->GetMouseX();
    m_valuebar.grab_offset = IsMouseOverHorzValueBarThumb() ? mx - thumb_x : ValueBarThumbWidth() / 2.0f;
    m_dragging = 1;
    ValueBarHandleMouseMove();
}

// Reports each change while dragging; the callback may remove the bar, so nothing of it is touched after.
char MWinButton::ValueBarHandleMouseMove()
{
    if (!m_dragging)
        return 0;
    double value = HorzValueBarValueAt(m_mwin->GetMouseX() - m_valuebar.grab_offset);
    if (value == m_valuebar.value)
        return 1;
    m_valuebar.value = value;
    Redraw();
    Fire(nullptr);
    return 1;
}

// The thumb lies over the bar's picture, so the player sees where the value stands.
void MWinButton::ValueBarRenderThumb(_MWinTextureState state)
{
    MWinTextures* textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    float width = ValueBarThumbWidth();
    if (!textures || width <= 0.0f)
        return;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_HSCROLL_THUMB), state, GetHorzValueBarThumbX(),
                         m_screen_area.y, width, m_screen_area.h, m_modulate_mode ? m_modulate_colour : nullptr);
}
