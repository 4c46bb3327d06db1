#pragma once

// The computer drivers: once per race step, before the cars move, each computer car looks ahead along its
// cell's steering direction, aims at the centre of the cell it finds there (or beside a slower car it is
// passing), picks one of three steering choices and accelerates below the cell's target speed.

class Game;
class Car;
struct _TravInfo;

class Drive
{
public:
    // A missing game or car is fatal ("No game.", "No car.").
    explicit Drive(Game* game);
    Drive(const Drive&) = delete;
    Drive& operator=(const Drive&) = delete;

    // The cell under a 640 x 480 point on a floor; outside the grid "Invalid grid pos" and the floor's first cell.
    const _TravInfo* GetTravInfoAtGridPos(int floor, float x, float y) const;
    void Tick(int car, bool overtaking);

private:
    // The side point to aim at while passing, and its distance; false when not passing.
    bool PassingCheck(int car, float look_x, float look_y, float look_distance, float* point, float* distance);
    bool KeptSidePoint(int car, float look_x, float look_y, float look_distance, float* point, float* distance);
    bool SearchCarToPass(int car, float look_x, float look_y, float look_distance, float* kept);
    bool ChooseSide(int car, const float kept[2], float* point);
    bool OverlapsSlowerCar(int car) const;
    bool Stuck(int car);
    void PutBack(int car, int cx, int cy);
    const _TravInfo* AimCell(int floor, float x, float y) const;
    bool RoadCellNear(int floor, float x, float y, int* cx, int* cy) const;

    Game* m_game;
    Car* m_car;
};
