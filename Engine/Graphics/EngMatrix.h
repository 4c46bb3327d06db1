#pragma once
// Matrix helpers in Direct3D's convention: 16 floats, row-major, for row vectors (a point p is transformed
// as p x M, the translation sits in elements 12 to 14). Every output may alias an input.

// Identity.
void EngMatrixIdentity(float out[16]);
// out := a x b, so a's transformation applies first to a row vector.
void EngMatrixMultiply(float out[16], const float a[16], const float b[16]);
void EngMatrixTranslation(float out[16], float x, float y, float z);
void EngMatrixScaling(float out[16], float x, float y, float z);
// Rotations in radians, clockwise when looking down the axis towards the origin (left-handed sense).
void EngMatrixRotationX(float out[16], float angle);
void EngMatrixRotationY(float out[16], float angle);
void EngMatrixRotationZ(float out[16], float angle);
// Right-handed perspective projection from a vertical field of view; depth maps to 0..1.
void EngMatrixPerspectiveFovRH(float out[16], float fov_y, float aspect, float z_near, float z_far);
// Orthographic projections of the box (left..right, bottom..top, near..far); depth maps to 0..1.
void EngMatrixOrthoOffCenterLH(float out[16], float left, float right, float bottom, float top, float z_near, float z_far);
void EngMatrixOrthoOffCenterRH(float out[16], float left, float right, float bottom, float top, float z_near, float z_far);
// Row vector (x, y, z, 1) times m; out receives x, y, z, w.
void EngMatrixTransformPoint(float out[4], const float m[16], float x, float y, float z);
