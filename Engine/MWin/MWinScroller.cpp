#include "Engine/MWin/MWinScroller.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWin.h"

#include <cmath>

namespace {

constexpr float kNoPress = -9999.0f;
constexpr double kSampleInterval = 0.005;
constexpr double kTapMaxPress = 0.2;
constexpr double kTapReportDelay = 0.3;
constexpr float kOvershoot = 100.0f;
constexpr float kDefaultThreshold = 3.0f;

float Clamp(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

EngScroller::EngScroller()
    : m_on(0), m_area{0.0f, 0.0f, MWIN_VIRTUAL_WIDTH, MWIN_VIRTUAL_HEIGHT}, m_one_axis(0), m_axes{},
      m_press_x(kNoPress), m_press_y(kNoPress), m_pointer_x(0.0f), m_pointer_y(0.0f), m_button_held(0),
      m_tap_callback(nullptr), m_tap_user_data(nullptr), m_press_time(0.0), m_tap_time(0.0), m_reserved(0),
      m_tap_x(0.0f), m_tap_y(0.0f), m_tap_count(0)
{
}

void EngScroller::TurnOn(const _Dimension* area, bool one_axis_at_a_time, bool x_enabled, float x_value,
                         float x_min, float x_max, float x_speed, float x_threshold, bool x_overscroll,
                         bool y_enabled, float y_value, float y_min, float y_max, float y_speed, float y_threshold,
                         bool y_overscroll, float friction)
{
    _Dimension whole = {0.0f, 0.0f, MWIN_VIRTUAL_WIDTH, MWIN_VIRTUAL_HEIGHT};
    if (!area)
        area = &whole;
    if (area->w <= 0.0f || area->h <= 0.0f) {
        DebugError(ENG_FUNC, "Invalid Dimension");
        m_on = 0;
        return;
    }
    m_area = *area;
    m_one_axis = one_axis_at_a_time ? 1 : 0;
    const bool enabled[2] = {x_enabled, y_enabled};
    const float value[2] = {x_value, y_value};
    const float minimum[2] = {x_min, y_min};
    const float maximum[2] = {x_max, y_max};
    const float speed[2] = {x_speed, y_speed};
    const float threshold[2] = {x_threshold, y_threshold};
    const bool overscroll[2] = {x_overscroll, y_overscroll};
    for (int i = 0; i < 2; i++) {
        Axis& a = m_axes[i];
        a = Axis{};
        a.enabled = enabled[i] ? 1 : 0;
        a.value = value[i];
        a.minimum = minimum[i];
        a.maximum = maximum[i];
        a.speed = speed[i];
        a.range = maximum[i] - minimum[i] > 0.0f ? maximum[i] - minimum[i] : 1.0f;
        a.threshold = threshold[i] > 0.0f ? threshold[i] : kDefaultThreshold;
        a.overscroll = overscroll[i] ? 1 : 0;
        a.sample_interval = kSampleInterval;
        a.overshoot = kOvershoot;
        a.friction = friction;
        a.spring_rate = 60.0f * friction;
    }
    m_tap_time = 0.0;
    m_on = 1;
    Reset(0);
    Reset(1);
}

void EngScroller::Reset(int axis)
{
    if (!m_on)
        DebugError(ENG_FUNC, "Not on");
    Axis& a = m_axes[axis & 1];
    a.state = ESS_IDLE;
    a.velocity = 0.0f;
    m_press_x = kNoPress;
    m_press_y = kNoPress;
    a.value = Clamp(a.value, a.minimum, a.maximum);
}

void EngScroller::SetXValue(float value)
{
    Reset(0);
    m_axes[0].value = value;
}

void EngScroller::SetYValue(float value)
{
    Reset(1);
    m_axes[1].value = value;
}

void EngScroller::SetTapCallback(EngScrollerTapCB callback, void* user_data)
{
    m_tap_callback = callback;
    m_tap_user_data = user_data;
}

float EngScroller::AreaSize(int axis) const
{
    return axis == 0 ? m_area.w : m_area.h;
}

bool EngScroller::OtherAxisDragging(int axis) const
{
    return m_one_axis && m_axes[1 - axis].state == ESS_DRAGGING;
}

bool EngScroller::IsPointerInArea() const
{
    return MWinIsPointInArea(&m_area, m_pointer_x, m_pointer_y);
}

// A quick press and release that never became a drag is a tap.
bool EngScroller::CountTap(float x, float y, bool taps_allowed)
{
    bool waiting = false;
    for (const Axis& a : m_axes) {
        if (!a.enabled)
            continue;
        if (a.state == ESS_DRAGGING)
            return false;
        if (a.state == ESS_ARMED || a.state == ESS_TRACKING)
            waiting = true;
    }
    if (!waiting || eng_time - m_press_time >= kTapMaxPress)
        return false;
    if (!taps_allowed)
        return true;
    m_tap_count = m_tap_time == 0.0 ? 1 : m_tap_count + 1;
    m_tap_time = eng_time;
    m_tap_x = x;
    m_tap_y = y;
    for (Axis& a : m_axes)
        a.state = ESS_IDLE;
    return true;
}

bool EngScroller::HandlePressOnAxis(int axis, bool down)
{
    Axis& a = m_axes[axis];
    if (down) {
        if (OtherAxisDragging(axis))
            return false;
        if (a.state != ESS_IDLE || a.velocity != 0.0f)
            Reset(axis);
        if (!IsPointerInArea())
            return false;
        a.state = ESS_ARMED;
        return true;
    }
    if (a.state != ESS_IDLE) {
        a.state = ESS_IDLE;
        return true;
    }
    Reset(axis);
    return false;
}

bool EngScroller::HandleButton(int button, bool down, float x, float y, bool simulated, bool taps_allowed)
{
    if (!m_on || button != 0)
        return false;
    if (simulated) {
        Reset(0);
        Reset(1);
        m_tap_time = 0.0;
        return false;
    }
    m_pointer_x = x;
    m_pointer_y = y;
    bool was_held = m_button_held != 0;
    m_button_held = down ? 1 : 0;
    if (!down && was_held) {
        bool tapped_state = false;
        for (const Axis& a : m_axes)
            tapped_state |= a.enabled && (a.state == ESS_ARMED || a.state == ESS_TRACKING);
        if (tapped_state && CountTap(x, y, taps_allowed))
            return taps_allowed;
    }
    bool used = false;
    for (int axis = 0; axis < 2; axis++)
        if (m_axes[axis].enabled)
            used |= HandlePressOnAxis(axis, down);
    // Recorded after the axes' resets so that the press position survives them.
    if (down) {
        m_press_x = x;
        m_press_y = y;
        m_press_time = eng_time;
    }
    return used;
}

bool EngScroller::HandleDrag(int axis, float coordinate, float size)
{
    Axis& a = m_axes[axis];
    if (OtherAxisDragging(axis))
        return false;
    a.pointer = coordinate;
    switch (a.state) {
    case ESS_ARMED:
        a.sample = a.prev_sample = a.drag_start = coordinate;
        a.sample_time = a.prev_sample_time = eng_time;
        a.start_value = a.value;
        a.velocity = 0.0f;
        a.state = ESS_TRACKING;
        return true;
    case ESS_TRACKING:
        if (std::fabs(coordinate - a.drag_start) > a.threshold)
            a.state = ESS_DRAGGING;
        return true;
    case ESS_DRAGGING:
        if (size <= 0.0f)
            return true;
        a.value = a.start_value - (coordinate - a.drag_start) / size * a.speed;
        if (!a.overscroll)
            a.value = Clamp(a.value, a.minimum, a.maximum);
        if (eng_time - a.sample_time > a.sample_interval && coordinate != a.sample) {
            a.prev_sample = a.sample;
            a.prev_sample_time = a.sample_time;
            a.sample = coordinate;
            a.sample_time = eng_time;
        }
        return true;
    default:
        return false;
    }
}

bool EngScroller::HandleMouseMove(float x, float y, bool simulated)
{
    if (!m_on || simulated)
        return false;
    m_pointer_x = x;
    m_pointer_y = y;
    const float coordinate[2] = {x, y};
    bool both = m_axes[0].enabled && m_axes[1].enabled;
    bool dragging = m_axes[0].state == ESS_DRAGGING || m_axes[1].state == ESS_DRAGGING;
    if (m_one_axis && both && !dragging) {
        int axis = std::fabs(x - m_press_x) > std::fabs(y - m_press_y) ? 0 : 1;
        return HandleDrag(axis, coordinate[axis], AreaSize(axis));
    }
    bool used = false;
    for (int axis = 0; axis < 2; axis++)
        if (m_axes[axis].enabled)
            used |= HandleDrag(axis, coordinate[axis], AreaSize(axis));
    return used;
}

bool EngScroller::HandleDoubleClick(int button, float x, float y)
{
    if (button != 0)
        return false;
    HandleButton(0, true, x, y, false, true);
    return HandleButton(0, false, x, y, false, true);
}

bool EngScroller::TickTap()
{
    if (eng_time - m_tap_time < kTapReportDelay)
        return true;
    m_tap_time = 0.0;
    if (m_tap_callback)
        m_tap_callback(m_reserved, m_tap_count, m_tap_x, m_tap_y, m_tap_user_data);
    return true;
}

bool EngScroller::TickAxis(int axis)
{
    Axis& a = m_axes[axis];
    float before = a.value;
    float size = AreaSize(axis);
    if (a.state == ESS_DRAGGING && eng_time - a.sample_time >= a.sample_interval) {
        a.prev_sample = a.sample;
        a.prev_sample_time = a.sample_time;
        a.sample = a.pointer;
        a.sample_time = eng_time;
    }
    if (a.velocity != 0.0f && size > 0.0f) {
        a.value -= a.velocity * eng_frame_time * a.speed / size * a.range;
        float lo = a.minimum - a.overshoot;
        float hi = a.maximum + a.overshoot;
        if (a.value <= lo || a.value >= hi) {
            a.value = Clamp(a.value, lo, hi);
            a.velocity = 0.0f;
        }
        float slowed = a.velocity - a.friction * a.velocity * eng_frame_time;
        a.velocity = (slowed > 0.0f) == (a.velocity > 0.0f) ? slowed : 0.0f;
    }
    if (a.state == ESS_IDLE && (a.value < a.minimum || a.value > a.maximum)) {
        float limit = a.value < a.minimum ? a.minimum : a.maximum;
        float distance = std::fabs(a.value - limit);
        float step = (distance + 1.0f) * a.spring_rate * eng_frame_time;
        a.value = step >= distance ? limit : a.value + (limit > a.value ? step : -step);
    }
    return a.value != before;
}

bool EngScroller::Tick()
{
    if (!m_on)
        return false;
    if (m_tap_time != 0.0)
        return TickTap();
    bool changed = false;
    for (int axis = 0; axis < 2; axis++)
        if (m_axes[axis].enabled)
            changed |= TickAxis(axis);
    return changed;
}
