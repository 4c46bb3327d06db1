#include "Engine/MWin/MWinRangeSlider.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr float kLeftQuarter[4] = {0.0f, 0.0f, 0.25f, 1.0f};
constexpr float kMiddleHalf[4] = {0.25f, 0.0f, 0.75f, 1.0f};
constexpr float kRightQuarter[4] = {0.75f, 0.0f, 1.0f, 1.0f};

const char* SingleFormat(char decimals)
{
    return decimals == 3 ? "[%.2f]" : (decimals == 4 ? "[%.3f]" : "[%.1f]");
}

const char* PairFormat(char decimals)
{
    return decimals == 3 ? "[%.2f,%.2f]" : (decimals == 4 ? "[%.3f,%.3f]" : "[%.1f,%.1f]");
}

} // namespace

void MWinRangeSliderInitData(_MWinRangeSliderData* data)
{
    *data = {};
    data->maximum = 1.0f;
    data->low = 0.25f;
    data->high = 0.75f;
    data->minimum_gap = 0.1f;
    data->drag_part = MWIN_SLIDER_DRAG_NONE;
}

void MWinButton::RangeSliderSetRange(float minimum, float maximum, float minimum_gap)
{
    if (maximum < minimum)
        std::swap(minimum, maximum);
    m_slider.minimum = minimum;
    m_slider.maximum = maximum;
    m_slider.minimum_gap = minimum_gap < 0.0f ? 0.0f : minimum_gap;
    RangeSliderSetPair(m_slider.low, m_slider.high, MWIN_FIRE_NEVER, 0);
    RangeSliderUpdateLabel();
}

void MWinButton::RangeSliderSetLabel(char decimals, int prefix_length)
{
    m_slider.label_decimals = decimals;
    m_slider.label_prefix_length = prefix_length < 0 ? 0 : prefix_length;
    RangeSliderUpdateLabel();
}

void MWinButton::RangeSliderGetPair(float* low, float* high) const
{
    if (low)
        *low = m_slider.low;
    if (high)
        *high = m_slider.high;
}

char MWinButton::RangeSliderRegisterFloatPairVariable(float* pair, float divisor)
{
    if (!RegisterVariable("MWinButton::RangeSliderRegisterFloatPairVariable", MWIN_VAR_FLOAT_PAIR, pair, divisor))
        return 0;
    RangeSliderWritePair();
    return 1;
}

void MWinButton::RangeSliderWritePair()
{
    if (m_var_kind != MWIN_VAR_FLOAT_PAIR || !m_var)
        return;
    float* pair = static_cast<float*>(m_var);
    pair[0] = m_slider.low / m_var_multiplier;
    pair[1] = m_slider.high / m_var_multiplier;
}

void MWinButton::RangeSliderSetPair(float low, float high, char fire, char dragging)
{
    const float minimum = m_slider.minimum;
    const float maximum = m_slider.maximum;
    const float gap = m_slider.minimum_gap;
    if (high < low)
        std::swap(low, high);
    low = low < minimum ? minimum : low;
    high = high > maximum ? maximum : high;
    if (high - low < gap) {
        float half = (gap - (high - low)) / 2.0f;
        low -= half;
        high += half;
        if (low < minimum) {
            high += minimum - low;
            low = minimum;
        }
        if (high > maximum) {
            low -= high - maximum;
            high = maximum;
        }
        // A range narrower than the gap holds the whole range.
        low = low < minimum ? minimum : low;
    }
    bool changed = low != m_slider.low || high != m_slider.high;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.slider_dragging = dragging ? 1 : 0;
    if (!changed) {
        FireIfAsked(fire, false, &info);
        return;
    }
    m_slider.low = low;
    m_slider.high = high;
    if (dragging)
        m_slider.changed_while_dragging = 1;
    RangeSliderUpdateLabel();
    RangeSliderWritePair();
    Redraw();
    FireIfAsked(fire, true, &info);
}

void MWinButton::RangeSliderUpdateLabel()
{
    if (!m_slider.label_decimals)
        return;
    char label[MWIN_BUTTON_TEXT_MAX];
    label[0] = 0;
    const char* text = m_texts[0] ? m_texts[0] : "";
    int keep = m_slider.label_prefix_length;
    if (keep > int(std::strlen(text)))
        keep = int(std::strlen(text));
    if (keep >= int(sizeof(label)) - 1)
        keep = int(sizeof(label)) - 2;
    std::memcpy(label, text, size_t(keep));
    label[keep] = 0;
    if (keep > 0) {
        label[keep] = ' ';
        label[keep + 1] = 0;
    }
    size_t used = std::strlen(label);
    const float lo = m_slider.low;
    const float hi = m_slider.high;
    if (hi - lo <= m_slider.minimum_gap * 1.00001f) {
        float value = lo <= m_slider.minimum ? m_slider.minimum : (hi >= m_slider.maximum ? m_slider.maximum
                                                                                        : (lo + hi) / 2.0f);
        std::snprintf(label + used, sizeof(label) - used, SingleFormat(m_slider.label_decimals), double(value));
    } else {
        std::snprintf(label + used, sizeof(label) - used, PairFormat(m_slider.label_decimals), double(lo),
                      double(hi));
    }
    SetTextN(0, label);
    Redraw();
}

float MWinButton::RangeSliderTravel(float* start, float* thumb_w) const
{
    float margin = LayoutField(MWIN_LF_SLIDER_END_MARGIN);
    *thumb_w = LayoutField(MWIN_LF_SLIDER_THUMB_WIDTH);
    *start = m_screen_area.x + margin;
    float travel = m_screen_area.w - 2.0f * margin - 2.0f * *thumb_w;
    return travel > 0.0f ? travel : 0.0f;
}

void MWinButton::RangeSliderGetThumbs(float* low_x, float* high_x) const
{
    float start = 0.0f, thumb_w = 0.0f;
    float travel = RangeSliderTravel(&start, &thumb_w);
    float range = m_slider.maximum - m_slider.minimum;
    if (range <= 0.0f) {
        *low_x = start;
        *high_x = start;
        return;
    }
    *low_x = start + (m_slider.low - m_slider.minimum) * travel / range;
    *high_x = start + (m_slider.high - m_slider.minimum) * travel / range + thumb_w;
}

// The value whose low thumb would stand at screen x.
float MWinButton::RangeSliderValueAt(float x) const
{
    float start = 0.0f, thumb_w = 0.0f;
    float travel = RangeSliderTravel(&start, &thumb_w);
    if (travel <= 0.0f)
        return m_slider.minimum;
    return m_slider.minimum + (x - start) * (m_slider.maximum - m_slider.minimum) / travel;
}

void MWinButton::RangeSliderHandlePress(char down)
{
    if (!down) {
        if (!m_dragging)
            return;
        m_dragging = 0;
        m_slider.drag_part = MWIN_SLIDER_DRAG_NONE;
        if (m_slider.changed_while_dragging) {
            m_slider.changed_while_dragging = 0;
            RangeSliderSetPair(m_slider.low, m_slider.high, MWIN_FIRE_ALWAYS, 0);
        }
        return;
    }
    float mx = m_mwin->GetMouseX();
    float low_x = 0.0f, high_x = 0.0f, start = 0.0f, thumb_w = 0.0f;
    RangeSliderTravel(&start, &thumb_w);
    RangeSliderGetThumbs(&low_x, &high_x);
    if (mx < low_x) {
        DebugInfoQuick(ENG_FUNC, "JUMP LEFT");
        return;
    }
    if (mx >= high_x + thumb_w) {
        DebugInfoQuick(ENG_FUNC, "JUMP RIGHT");
        return;
    }
    bool on_low = mx < low_x + thumb_w;
    bool on_high = !on_low && mx >= high_x;
    m_slider.drag_part = on_low ? MWIN_SLIDER_DRAG_LOW : (on_high ? MWIN_SLIDER_DRAG_HIGH : MWIN_SLIDER_DRAG_SPAN);
    m_slider.drag_offset = mx - (on_high ? high_x - thumb_w : low_x);
    m_slider.changed_while_dragging = 0;
    m_dragging = 1;
}

void MWinButton::RangeSliderDragTo(float mx)
{
    float value = RangeSliderValueAt(mx - m_slider.drag_offset);
    float lo = m_slider.low;
    float hi = m_slider.high;
    const float gap = m_slider.minimum_gap;
    if (m_slider.drag_part == MWIN_SLIDER_DRAG_LOW) {
        lo = value > hi - gap ? hi - gap : value;
    } else if (m_slider.drag_part == MWIN_SLIDER_DRAG_HIGH) {
        hi = value < lo + gap ? lo + gap : value;
    } else {
        float width = hi - lo;
        lo = value > m_slider.maximum - width ? m_slider.maximum - width : value;
        lo = lo < m_slider.minimum ? m_slider.minimum : lo;
        hi = lo + width;
    }
    RangeSliderSetPair(lo, hi, MWIN_FIRE_IF_CHANGED, 1);
}

char MWinButton::RangeSliderHandleMouseMove()
{
    if (!m_dragging || m_slider.drag_part == MWIN_SLIDER_DRAG_NONE)
        return 0;
    RangeSliderDragTo(m_mwin->GetMouseX());
    return 1;
}

char MWinButton::RangeSliderHandleKeyDown(int key)
{
    float lo = m_slider.low;
    float hi = m_slider.high;
    float step = (m_slider.maximum - m_slider.minimum) / 100.0f;
    bool only_low = EngKeyStateTableIsDown(ENG_VK_CONTROL);
    bool only_high = !only_low && EngKeyStateTableIsDown(ENG_VK_SHIFT);
    switch (key) {
    case ENG_VK_UP:
        lo = 0.0f;
        hi = 0.0f;
        break;
    case ENG_VK_DOWN: {
        float middle = (m_slider.minimum + m_slider.maximum) / 2.0f;
        float half = (hi - lo) / 2.0f;
        lo = middle - half;
        hi = middle + half;
        break;
    }
    case ENG_VK_LEFT:
    case ENG_VK_RIGHT:
        step = key == ENG_VK_LEFT ? -step : step;
        lo += only_high ? 0.0f : step;
        hi += only_low ? 0.0f : step;
        break;
    default:
        return 0;
    }
    RangeSliderSetPair(lo, hi, MWIN_FIRE_IF_CHANGED, 0);
    return 1;
}

void MWinButton::RangeSliderRender(_MWinTextureState state)
{
    MWinTextures* textures = m_mwin->GetTextures();
    int thumb = textures->GetStandardTexButNum(MWIN_STD_HSCROLL_THUMB);
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    float low_x = 0.0f, high_x = 0.0f, start = 0.0f, tw = 0.0f;
    RangeSliderTravel(&start, &tw);
    RangeSliderGetThumbs(&low_x, &high_x);
    float bar_h = LayoutField(MWIN_LF_SLIDER_BAR_HEIGHT);
    bar_h = bar_h > 0.0f && bar_h < m_screen_area.h ? bar_h : m_screen_area.h;
    float y = m_screen_area.y + (m_screen_area.h - bar_h) / 2.0f;
    textures->DrawTexButStatePart(thumb, state, low_x, y, tw, bar_h, kLeftQuarter, modulate);
    if (high_x - low_x > tw)
        textures->DrawTexButStatePart(thumb, state, low_x + tw, y, high_x - low_x - tw, bar_h, kMiddleHalf, modulate);
    textures->DrawTexButStatePart(thumb, state, high_x, y, tw, bar_h, kRightQuarter, modulate);
    if (tw <= 4.0f)
        return;
    float inset = LayoutField(MWIN_LF_SLIDER_END_MARGIN);
    float aw = tw - 2.0f * inset;
    float ah = bar_h - 2.0f * inset;
    if (aw <= 0.0f || ah <= 0.0f)
        return;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LEFT_ARROW), state, low_x + inset, y + inset, aw,
                         ah, modulate);
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_RIGHT_ARROW), state, high_x + inset, y + inset,
                         aw, ah, modulate);
}
