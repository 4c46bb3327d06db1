#pragma once
// The race tests' scripted pilot: drives car 0 through the players' input path (key presses handed to the
// caller, which sends them to the window) along the racing line, steering toward a point a few steps ahead
// of the nearest one and keeping to the line's target speed, as a steady driver would.

#include <cmath>
#include <functional>
#include <utility>

#include "Engine/Core/EngKeyStateTable.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Traverse.h"

class ScriptedPilot
{
public:
    using SendKey = std::function<void(int key, bool down)>;

    explicit ScriptedPilot(SendKey send) : m_send(std::move(send)) {}

    // The game clears the controls when a race ends: the pilot lets go of every key before the next one.
    void LetGo()
    {
        Hold(ENG_VK_LEFT, false, &left_held);
        Hold(ENG_VK_RIGHT, false, &right_held);
        Hold('A', false, &accelerate_held);
    }

    void Drive(Game* game)
    {
        Car* car = game->GetCar();
        Traverse* traverse = game->GetTraverse();
        const CarState* state = car->GetState(0);
        const int cx = int(state->x * TRAV_GRID_SIZE / 640.0f), cy = int(state->y * TRAV_GRID_SIZE / 480.0f);
        const int nearest = traverse->GetNearestIndex(state->floor, cx, cy);
        const int count = traverse->GetBestLineCount();
        bool left = false, right = false, accelerate = true;
        if (nearest >= 0 && count > 0) {
            const TravPoint* ahead = traverse->GetBestLinePoint((nearest + look_ahead) % count);
            float dx = (ahead->x + 0.5f) * 640.0f / TRAV_GRID_SIZE - state->x;
            float dy = (ahead->y + 0.5f) * 480.0f / TRAV_GRID_SIZE - state->y;
            float wanted = std::atan2(-dx, -dy);
            float diff = std::remainder(wanted - state->heading, 2.0f * 3.14159265f);
            left = diff > steer_dead_zone;
            right = diff < -steer_dead_zone;
            float target = float(traverse->GetTargetSpeed(0, state->floor, cx, cy));
            const TrackParmsRecord* parms = traverse->GetTrackParms(traverse->GetTrack(), 0);
            accelerate = state->speed <= target * parms->speed_base * speed_factor / 255.0f;
        }
        Hold(ENG_VK_LEFT, left, &left_held);
        Hold(ENG_VK_RIGHT, right, &right_held);
        Hold('A', accelerate, &accelerate_held);
    }

    int look_ahead = 6;
    float steer_dead_zone = 0.06f;
    float speed_factor = 1.0f;

private:
    // Sends only changes.
    void Hold(int key, bool down, bool* held)
    {
        if (*held == down)
            return;
        m_send(key, down);
        *held = down;
    }

    SendKey m_send;
    bool left_held = false, right_held = false, accelerate_held = false;
};
