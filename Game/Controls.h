#pragma once

// The control state of the eight cars as the players' devices leave it, applied to a car once per race step.

#include "Engine/Core/EngTypes.h"

class Game;

constexpr int CONTROLS_NUM_CARS = 8;
constexpr float CONTROLS_DIGITAL_STEER_AMOUNT = 6.0f;
constexpr float CONTROLS_TURN_LIMIT = 0.7f;

// What a car takes from the controls. The car implements it; the controls never see more of the car.
class ControlledCar
{
public:
    virtual ~ControlledCar() = default;
    // direction -1 left, 1 right, 0 analogue; amount 0 only clears the car's turning flag.
    virtual void Steer(int car, int direction, float amount) = 0;
    virtual void SetAccelerating(int car, bool on) = 0;
    virtual void SetTurn(int car, float turn) = 0;
    virtual float GetSpeed(int car) const = 0;
};

struct ControlsCarState
{
    EngUInt8 left;
    EngUInt8 right;
    EngUInt8 analogue_steering;
    EngInt32 analogue_amount;
    EngUInt8 accelerate;
    EngInt32 accelerator_threshold;
};

class Controls
{
public:
    explicit Controls(Game* game);
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    void SetCar(ControlledCar* car) { m_car = car; }
    ControlledCar* GetCar() const { return m_car; }

    void ApplyToCar(int car);
    // Every car's values to 0; the two flags keep theirs.
    void Reset();

    // The device actions. steering_setting is the profile's steering (0..9).
    void SetSteeringAxis(int car, int value, int steering_setting);
    void SetPov(int car, int direction);
    void SetLeft(int car, bool pressed);
    void SetRight(int car, bool pressed);
    void SetAcceleratorAxis(int car, int value);
    void SetAccelerate(int car, bool pressed);

    // While set, a car's turn does not decay.
    bool IsAnalogueMode() const { return m_analogue_mode != 0; }
    void SetAnalogueMode(bool on) { m_analogue_mode = on; }
    // Set by the first accelerate input and never cleared.
    bool HasSeenInput() const { return m_input_seen != 0; }
    // Set when the controller mapping screen opens and never cleared: that driver knows the controls.
    void SetMappingScreenOpened() { m_mapping_screen_opened = 1; }
    bool WasMappingScreenOpened() const { return m_mapping_screen_opened != 0; }
    // Null for a bad number.
    const ControlsCarState* GetCarState(int car) const;

private:
    ControlsCarState* State(int car, const char* own_name);
    bool HasCar(const char* own_name) const;

    Game* m_game;
    ControlledCar* m_car = nullptr;
    ControlsCarState m_cars[CONTROLS_NUM_CARS] = {};
    EngUInt8 m_analogue_mode = 0;
    EngUInt8 m_input_seen = 0;
    EngUInt8 m_mapping_screen_opened = 0;
};
