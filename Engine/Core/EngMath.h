#pragma once

struct _Vector3d {
    float x;
    float y;
    float z;
};

int EngAbs(int value);
float EngFabs(float value);
// Nearest integer, halves away from zero.
int EngRoundFloat(float value);
int EngRoundDouble(double value);
// The minimum is applied first, then the maximum.
int EngClamp(int value, int min, int max);
void EngMiscClampFloat(float* value, float min, float max);
// Unchanged when the length is 0.
void EngNormaliseVector3d(_Vector3d* vector);
// Direction of (dx, dy) in radians from +x towards +y, in [0, 2 pi); 0 for a zero vector.
float EngGetDirectionAngle(float dx, float dy);
float EngGetAngleBetweenPoints(float x1, float y1, float x2, float y2);
// ranges: three min/max pairs. True when any pair is not (0, 0) and its max is not below its min.
bool EngRangesAreSet(const float ranges[6]);
void EngRandVector3dInRanges(float out[3], const float ranges[6]);
bool EngInterpolateFloat4(const float a[4], const float b[4], float t, float out[4]);
// Equal, or a relative difference below 0.001.
bool EngMiscFloatsNearlyEqual(float a, float b);

// 16 floats, row-major, for row vectors (translation in elements 12 to 14).
class EngMatrix4 {
public:
    EngMatrix4();

    void SetIdentity();
    void SetTranslation(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetRotationZ(float angle);
    // this := other x this, so other's transformation applies first to a row vector.
    EngMatrix4* Multiply(const EngMatrix4* other);
    void CopyTo(float out[16]) const;
    EngMatrix4* CopyFrom(const float in[16]);

    float m[16];
};
