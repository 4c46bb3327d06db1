#include "Game/Controls.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInputDevices.h"
#include "Game/Game.h"

namespace {

constexpr int kAcceleratorRest = 3025;
constexpr int kAcceleratorDivisor = 24;
constexpr int kSteeringSettingOffset = 5;
constexpr float kSteeringAxisScale = 0.1f;

} // namespace

Controls::Controls(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
}

ControlsCarState* Controls::State(int car, const char* own_name)
{
    if (car >= 0 && car < CONTROLS_NUM_CARS)
        return &m_cars[car];
    DebugError(own_name, "Invalid car %d", car);
    return nullptr;
}

const ControlsCarState* Controls::GetCarState(int car) const
{
    return car >= 0 && car < CONTROLS_NUM_CARS ? &m_cars[car] : nullptr;
}

bool Controls::HasCar(const char* own_name) const
{
    if (m_car)
        return true;
    DebugError(own_name, "No car.");
    return false;
}

void Controls::ApplyToCar(int car)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state || !HasCar(ENG_FUNC))
        return;
    // Both held: both calls, in this order.
    if (state->left)
        m_car->Steer(car, -1, CONTROLS_DIGITAL_STEER_AMOUNT);
    if (state->right)
        m_car->Steer(car, 1, CONTROLS_DIGITAL_STEER_AMOUNT);
    if (state->analogue_steering)
        m_car->Steer(car, 0, float(state->analogue_amount));
    if (!state->left && !state->right && !state->analogue_steering)
        m_car->Steer(car, 0, 0.0f);
    m_car->SetAccelerating(car, state->accelerate != 0);
}

void Controls::Reset()
{
    for (ControlsCarState& state : m_cars)
        state = ControlsCarState{};
}

void Controls::SetSteeringAxis(int car, int value, int steering_setting)
{
    if (!State(car, ENG_FUNC) || !HasCar(ENG_FUNC))
        return;
    float turn = float(steering_setting + kSteeringSettingOffset) * float(-value) * kSteeringAxisScale /
                 float(ENG_INPUT_AXIS_RANGE);
    if (turn > CONTROLS_TURN_LIMIT)
        turn = CONTROLS_TURN_LIMIT;
    if (turn < -CONTROLS_TURN_LIMIT)
        turn = -CONTROLS_TURN_LIMIT;
    m_car->SetTurn(car, turn);
    m_analogue_mode = 1;
}

void Controls::SetPov(int car, int direction)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state)
        return;
    if (direction == ENG_INPUT_POV_LEFT) {
        state->left = 1;
        state->right = 0;
    } else if (direction == ENG_INPUT_POV_RIGHT) {
        state->left = 0;
        state->right = 1;
    } else if (direction == ENG_INPUT_POV_UNKNOWN || direction == ENG_INPUT_POV_CENTRED) {
        state->left = 0;
        state->right = 0;
    }
    m_analogue_mode = 0;
}

void Controls::SetLeft(int car, bool pressed)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state)
        return;
    state->left = pressed;
    m_analogue_mode = 0;
}

void Controls::SetRight(int car, bool pressed)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state)
        return;
    state->right = pressed;
    m_analogue_mode = 0;
}

void Controls::SetAcceleratorAxis(int car, int value)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state || !HasCar(ENG_FUNC))
        return;
    state->accelerator_threshold = (kAcceleratorRest - value) / kAcceleratorDivisor;
    state->accelerate = m_car->GetSpeed(car) < float(state->accelerator_threshold);
    m_input_seen = 1;
}

void Controls::SetAccelerate(int car, bool pressed)
{
    ControlsCarState* state = State(car, ENG_FUNC);
    if (!state)
        return;
    state->accelerate = pressed;
    m_input_seen = 1;
}
