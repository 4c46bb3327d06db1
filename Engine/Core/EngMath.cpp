#include "Engine/Core/EngMath.h"

#include <cmath>
#include <cstring>

#include "Engine/Core/EngRandom.h"
#include "Engine/Graphics/EngMatrix.h"

namespace {
constexpr float k_two_pi = 6.28318530717958647692f;
}

int EngAbs(int value)
{
    return value < 0 ? -value : value;
}

float EngFabs(float value)
{
    return std::fabs(value);
}

int EngRoundFloat(float value)
{
    return (int)std::lround(value);
}

int EngRoundDouble(double value)
{
    return (int)std::lround(value);
}

int EngClamp(int value, int min, int max)
{
    if (value < min)
        value = min;
    if (value > max)
        value = max;
    return value;
}

void EngMiscClampFloat(float* value, float min, float max)
{
    if (!value)
        return;
    if (*value < min)
        *value = min;
    if (*value > max)
        *value = max;
}

void EngNormaliseVector3d(_Vector3d* vector)
{
    if (!vector)
        return;
    float length = std::sqrt(vector->x * vector->x + vector->y * vector->y + vector->z * vector->z);
    if (length == 0.0f)
        return;
    vector->x /= length;
    vector->y /= length;
    vector->z /= length;
}

float EngGetDirectionAngle(float dx, float dy)
{
    if (dx == 0.0f && dy == 0.0f)
        return 0.0f;
    float angle = std::atan2(dy, dx);
    if (angle < 0.0f)
        angle += k_two_pi;
    return angle < k_two_pi ? angle : 0.0f;
}

float EngGetAngleBetweenPoints(float x1, float y1, float x2, float y2)
{
    return EngGetDirectionAngle(x2 - x1, y2 - y1);
}

bool EngRangesAreSet(const float ranges[6])
{
    if (!ranges)
        return false;
    for (int i = 0; i < 6; i += 2) {
        bool zero = ranges[i] == 0.0f && ranges[i + 1] == 0.0f;
        if (!zero && ranges[i + 1] >= ranges[i])
            return true;
    }
    return false;
}

void EngRandVector3dInRanges(float out[3], const float ranges[6])
{
    if (!out || !ranges)
        return;
    for (int i = 0; i < 3; i++)
        out[i] = EngMiscRandFloatRange(ranges[2 * i], ranges[2 * i + 1], false);
}

bool EngInterpolateFloat4(const float a[4], const float b[4], float t, float out[4])
{
    if (!a || !b || !out)
        return false;
    for (int i = 0; i < 4; i++)
        out[i] = a[i] == b[i] ? a[i] : a[i] + (b[i] - a[i]) * t;
    return true;
}

bool EngMiscFloatsNearlyEqual(float a, float b)
{
    if (a == b)
        return true;
    float relative = b != 0.0f ? (b - a) / b : (b - a) / a;
    return std::fabs(relative) < 0.001f;
}

EngMatrix4::EngMatrix4()
{
    SetIdentity();
}

void EngMatrix4::SetIdentity()
{
    EngMatrixIdentity(m);
}

void EngMatrix4::SetTranslation(float x, float y, float z)
{
    EngMatrixTranslation(m, x, y, z);
}

void EngMatrix4::SetScale(float x, float y, float z)
{
    EngMatrixScaling(m, x, y, z);
}

void EngMatrix4::SetRotationZ(float angle)
{
    EngMatrixRotationZ(m, angle);
}

EngMatrix4* EngMatrix4::Multiply(const EngMatrix4* other)
{
    if (other)
        EngMatrixMultiply(m, other->m, m);
    return this;
}

void EngMatrix4::CopyTo(float out[16]) const
{
    if (out)
        memcpy(out, m, sizeof m);
}

EngMatrix4* EngMatrix4::CopyFrom(const float in[16])
{
    if (!in)
        return nullptr;
    memcpy(m, in, sizeof m);
    return this;
}
