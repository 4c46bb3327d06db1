#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/Graphics/EngDimension.h"

typedef void (*EngScrollerTapCB)(EngUInt32 word, int taps, float x, float y, void* user_data);

enum _EngScrollerState : char {
    ESS_IDLE = 0,
    ESS_ARMED = 2,
    ESS_TRACKING = 3,
    ESS_DRAGGING = 4,
};

// Turns drags inside an area into one or two scroll values: a press arms an axis, a move beyond the
// threshold starts the drag, the value follows the pointer and springs back inside its limits when let go.
// Quick taps are counted and reported 0.3 s after the last one.
class EngScroller {
public:
    EngScroller();

    void TurnOn(const _Dimension* area, bool one_axis_at_a_time, bool x_enabled, float x_value, float x_min,
                float x_max, float x_speed, float x_threshold, bool x_overscroll, bool y_enabled, float y_value,
                float y_min, float y_max, float y_speed, float y_threshold, bool y_overscroll, float friction);
    void TurnOff() { m_on = 0; }
    bool IsOn() const { return m_on != 0; }
    void Reset(int axis);
    void SetXValue(float value);
    void SetYValue(float value);
    float GetXValue() const { return m_axes[0].value; }
    float GetYValue() const { return m_axes[1].value; }
    _EngScrollerState GetState(int axis) const { return _EngScrollerState(m_axes[axis & 1].state); }
    float GetVelocity(int axis) const { return m_axes[axis & 1].velocity; }
    void SetTapCallback(EngScrollerTapCB callback, void* user_data);

    bool HandleButton(int button, bool down, float x, float y, bool simulated, bool taps_allowed);
    bool HandleMouseMove(float x, float y, bool simulated);
    bool HandleDoubleClick(int button, float x, float y);
    bool Tick();
    bool IsPointerInArea() const;

private:
    struct Axis {
        float value;
        float minimum;
        float maximum;
        float speed; // value per drag across the area's full size
        float start_value;
        float drag_start;
        float sample;
        float prev_sample;
        double sample_time;
        double prev_sample_time;
        float velocity;
        float pointer;
        float range;
        char state;
        double sample_interval;
        float overshoot;
        float friction;
        float spring_rate;
        float threshold;
        char overscroll;
        char enabled;
    };

    bool HandleDrag(int axis, float coordinate, float size);
    bool HandlePressOnAxis(int axis, bool down);
    bool CountTap(float x, float y, bool taps_allowed);
    bool TickTap();
    bool TickAxis(int axis);
    float AreaSize(int axis) const;
    bool OtherAxisDragging(int axis) const;

    char m_on;
    _Dimension m_area;
    char m_one_axis;
    Axis m_axes[2];
    float m_press_x;
    float m_press_y;
    float m_pointer_x;
    float m_pointer_y;
    char m_button_held;
    EngScrollerTapCB m_tap_callback;
    void* m_tap_user_data;
    double m_press_time;
    double m_tap_time;
    EngUInt32 m_reserved;
    float m_tap_x;
    float m_tap_y;
    int m_tap_count;
};
