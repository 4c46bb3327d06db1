#include "Engine/Graphics/EngParticles.h"

#include <cmath>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngRandom.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngMatrix.h"

namespace {

constexpr float kTwoPi = 6.28318531f;
constexpr float kFreeAge = -1.0f;
constexpr int kSpreadEntryReports = 3;

// Rotates v by the three angles: about x, then y, then z.
void Rotate(float v[3], const float angles[3])
{
    float m[16];
    float r[16];
    EngMatrixRotationX(m, angles[0]);
    EngMatrixRotationY(r, angles[1]);
    EngMatrixMultiply(m, m, r);
    EngMatrixRotationZ(r, angles[2]);
    EngMatrixMultiply(m, m, r);
    float out[4];
    EngMatrixTransformPoint(out, m, v[0], v[1], v[2]);
    std::memcpy(v, out, 3 * sizeof(float));
}

float Wave(char wave, float phase)
{
    const float s = std::sin(phase);
    switch (wave) {
    case 1: return s;
    case 2: return std::cos(phase);
    case 3: return std::tan(phase);
    case 4: return s * s;
    case 5: return -s * s;
    default: return 0.0f;
    }
}

float Clamped(float value, float min, float max)
{
    EngMiscClampFloat(&value, min, max);
    return value;
}

// A value between two bounds given in either order.
float Between(float a, float b)
{
    return a <= b ? EngMiscRandFloatRange(a, b, false) : EngMiscRandFloatRange(b, a, false);
}

} // namespace

EngParticles::EngParticles()
{
    vertex_buffer = nullptr;
    particles = nullptr;
    Reset();
}

EngParticles::~EngParticles()
{
    if (vertex_buffer)
        DebugError(ENG_FUNC, "Graphics not destroyed.");
    Destroy(false);
}

void EngParticles::Reset()
{
    max_particles = 0;
    parms = {};
    particles = nullptr;
    created = false;
    accumulate = false;
    num_live = 0;
    last_tick_time = 0.0f;
    last_emission_time = 0.0f;
    emitted_before = false;
    emission_carry = 0.0f;
    life_jitter = 0.0f;
    colour_jitter[0] = colour_jitter[1] = colour_jitter[2] = 0.0f;
    alpha_jitter = 0.0f;
    size_jitter = 0.0f;
    speed_jitter = 0.0f;
    previous_emitter[0] = previous_emitter[1] = previous_emitter[2] = 0.0f;
    attraction_scratch[0] = attraction_scratch[1] = attraction_scratch[2] = 0.0f;
}

bool EngParticles::Create(int max, const _EngParticleSystemParms *new_parms, bool allow_recreate)
{
    if (!new_parms) {
        DebugError(ENG_FUNC, "No parms");
        return false;
    }
    if (max <= 0 || max > ENG_PARTICLES_MAX) {
        DebugError(ENG_FUNC, "Bad num max particles [%d]", max);
        return false;
    }
    if (created && !allow_recreate) {
        DebugError(ENG_FUNC, "System already created");
        return false;
    }
    if (created)
        Destroy(true);
    parms = *new_parms;
    std::memcpy(previous_emitter, parms.emitter, sizeof(previous_emitter));
    particles = (_EngParticle *)EngMalloc((unsigned)max * (unsigned)sizeof(_EngParticle), "EngParticles::Create", true);
    if (!particles)
        return false;
    max_particles = max;
    created = true;
    InitAllParticles();
    parms.direction_set = EngRangesAreSet(parms.direction_ranges);
    parms.acceleration_set = EngRangesAreSet(parms.acceleration_ranges);
    parms.spin_set = EngRangesAreSet(parms.spin_ranges);
    parms.square_rotation_set = EngRangesAreSet(parms.square_rotation_ranges);
    parms.velocity_rotation_set = EngRangesAreSet(parms.velocity_rotation_ranges);
    parms.wobble = parms.wobble_wave[0] || parms.wobble_wave[1] || parms.wobble_wave[2];
    if (EngDeviceIsCreated())
        CreateGraphics();
    return true;
}

void EngParticles::InitAllParticles()
{
    for (int i = 0; i < max_particles; i++) {
        particles[i] = {};
        particles[i].age = kFreeAge;
    }
    num_live = 0;
}

void EngParticles::Destroy(bool release_graphics)
{
    if (particles && !created)
        DebugError(ENG_FUNC, "EngParticles exist, but not created");
    if (particles)
        EngFree(particles, false, "EngParticles::Destroy");
    particles = nullptr;
    if (!release_graphics && vertex_buffer)
        DebugError(ENG_FUNC, "Vertex buffer was not released.");
    // The square lives in memory, so it is freed either way rather than lost.
    DestroyGraphics();
    Reset();
}

void EngParticles::SetEmitterPosition(float x, float y, float z)
{
    parms.emitter[0] = x;
    parms.emitter[1] = y;
    parms.emitter[2] = z;
}

const _EngParticle *EngParticles::GetParticle(int index) const
{
    if (!particles || index < 0 || index >= max_particles)
        return nullptr;
    return &particles[index];
}

signed char EngParticles::Tick(float time, bool first)
{
    if (!created)
        return -1;
    // A clock that steps back never runs the particles backwards.
    const float dt = time > last_tick_time ? time - last_tick_time : 0.0f;
    last_tick_time = time;
    for (int axis = 0; axis < 3; axis++) {
        if (parms.wobble_wave[axis])
            parms.wobble_phase[axis] = std::fmod(parms.wobble_phase[axis] + parms.wobble_speed[axis].value * dt, kTwoPi);
        if (parms.wobble_phase[axis] < 0.0f)
            parms.wobble_phase[axis] += kTwoPi;
    }
    if (!first && (parms.mode == 1 || parms.mode == 2)) {
        num_live = 0;
        for (int i = 0; i < max_particles; i++) {
            if (particles[i].age > kFreeAge && UpdateParticle(&particles[i], dt))
                num_live++;
        }
        if (num_live == 0)
            return 0;
    }
    if (!first && parms.mode == 1)
        return 1;
    if (emitted_before && time - last_emission_time < parms.min_emission_interval)
        return 1;
    last_emission_time = time;
    emitted_before = true;
    if (Emit(dt, first) == 0)
        std::memcpy(previous_emitter, parms.emitter, sizeof(previous_emitter));
    return 1;
}

// The number of particles made.
int EngParticles::Emit(float dt, bool first)
{
    float n = (float)parms.rate * dt + emission_carry + (float)(first ? parms.first_count : parms.later_count);
    if (n > (float)max_particles)
        n = (float)max_particles;
    const int k = EngRoundFloat(n);
    if (accumulate) {
        emission_carry = n;
        return 0;
    }
    emission_carry = n - (float)k;
    int made = 0;
    for (int i = 0; i < max_particles && made < k; i++) {
        if (particles[i].age > kFreeAge)
            continue;
        if (!CreateParticle(dt, &particles[i]))
            break;
        made++;
        num_live++;
    }
    return made;
}

bool EngParticles::CreateParticle(float dt, _EngParticle *p)
{
    if (!p) {
        DebugError(ENG_FUNC, "No EngParticle");
        return false;
    }
    if (!created || !particles) {
        DebugError(ENG_FUNC, "Bad Parent");
        return false;
    }
    if (parms.spread_factor <= 0.0f) {
        DebugError(ENG_FUNC, "Parent spread factor <= 0");
        return false;
    }
    if (dt <= 0.0f) {
        DebugError(ENG_FUNC, "time counter<= 0");
        return false;
    }
    *p = {};
    p->age = 0.0f;
    parms.base_life = EngMiscRandFloatRange(parms.life_min, parms.life_max, false);
    p->life = Clamped(parms.base_life + EngMiscRandFloat(life_jitter, false), 0.001f, 10000.0f);
    if (!(p->life > 0.0f))
        p->life = 0.01f;
    if (parms.acceleration_set)
        EngRandVector3dInRanges(p->acceleration, parms.acceleration_ranges);
    if (parms.direction_set)
        EngRandVector3dInRanges(p->direction, parms.direction_ranges);
    if (parms.spin_set)
        EngRandVector3dInRanges(p->spin, parms.spin_ranges);
    if (parms.square_rotation_set)
        EngRandVector3dInRanges(p->square_rotation, parms.square_rotation_ranges);
    if (parms.velocity_rotation_set)
        EngRandVector3dInRanges(p->velocity_rotation, parms.velocity_rotation_ranges);
    SetStartColour(p);
    SetEndColourChange(p);
    p->alpha = Clamped(parms.start_alpha + EngMiscRandFloat(alpha_jitter, true), 0.0f, 1.0f);
    p->alpha_change = (parms.end_alpha - p->alpha) / p->life;
    p->size = Clamped(parms.start_size + EngMiscRandFloat(size_jitter, true), 0.0001f, 10000.0f);
    p->size_change = (parms.end_size - p->size) / p->life;

    const float r = EngMiscRandFloat(dt, false) / dt;
    for (int i = 0; i < 3; i++)
        p->position[i] = previous_emitter[i] + (parms.emitter[i] - previous_emitter[i]) * r;
    AddSpread(p);
    std::memcpy(previous_emitter, parms.emitter, sizeof(previous_emitter));
    std::memcpy(p->previous, p->position, sizeof(p->previous));

    const float t = EngMiscRandFloat(kTwoPi, false);
    const float c = EngMiscRandFloat(parms.cone_angle, false) * (kTwoPi / 360.0f);
    const float speed = Clamped(parms.speed + EngMiscRandFloat(speed_jitter, true), 0.001f, 10000.0f);
    p->velocity[0] = std::cos(c) * p->direction[0] * speed;
    p->velocity[1] = std::sin(c) * std::cos(t) * p->direction[1] * speed;
    p->velocity[2] = std::sin(c) * std::sin(t) * p->direction[2] * speed;
    p->attraction = EngMiscRandFloatRange(parms.attract_min, parms.attract_max, false);
    AddWobble(p);
    p->fading_in = parms.fade_in;
    p->fade_in_alpha = 0.0f;
    p->drawn_alpha = p->fading_in ? 0.0f : p->alpha;
    return true;
}

void EngParticles::SetStartColour(_EngParticle *p)
{
    for (int i = 0; i < 3; i++) {
        const float base = parms.start_colour_random ? Between(parms.start_colour[i], parms.start_colour_2[i])
                                                     : parms.start_colour[i];
        p->colour[i] = Clamped(base + EngMiscRandFloat(colour_jitter[i], true), 0.0f, 1.0f);
        p->colour_2[i] = 1.0f;
    }
    p->alpha_2 = 1.0f;
}

void EngParticles::SetEndColourChange(_EngParticle *p)
{
    for (int i = 0; i < 3; i++) {
        const float base =
            parms.end_colour_random ? Between(parms.end_colour[i], parms.end_colour_2[i]) : parms.end_colour[i];
        p->colour_change[i] = (Clamped(base, 0.0f, 1.0f) - p->colour[i]) / p->life;
    }
}

void EngParticles::AddSpread(_EngParticle *p)
{
    static int entry_reports = 0;
    const float f = parms.spread_factor;
    const float lo = parms.spread_min;
    const float hi = parms.spread_max;
    float *pos = p->position;
    switch (parms.spread_mode) {
    case 0:
        for (int i = 0; i < 3; i++)
            pos[i] += EngMiscRandFloatRange(lo, hi, false) / f;
        return;
    case 1:
    case 2: {
        const float radius = parms.spread_mode == 1 ? EngMiscRandFloat((hi - lo) / f, false) : (hi - lo) / f;
        const float angle = EngMiscRandFloat(kTwoPi, false);
        pos[0] += std::cos(angle) * radius;
        pos[1] += std::sin(angle) * radius;
        return;
    }
    case 3: {
        const int side = EngClamp((int)EngMiscRandFloat(4.0f, false), 0, 3);
        const float along = EngMiscRandFloatRange(lo, hi, false) / f;
        const float edge = (side == 0 || side == 2 ? lo : hi) / f;
        pos[0] += side < 2 ? edge : along;
        pos[1] += side < 2 ? along : edge;
        return;
    }
    case 4: pos[0] += EngMiscRandFloatRange(lo, hi, true) / f; return;
    case 5: pos[1] += EngMiscRandFloatRange(lo, hi, true) / f; return;
    case 6:
        pos[0] += EngMiscRandFloatRange(lo, hi, true) / f;
        pos[2] += EngMiscRandFloatRange(lo, hi, true) / f;
        return;
    case 7:
        pos[1] += EngMiscRandFloatRange(lo, hi, true) / f;
        pos[2] += EngMiscRandFloatRange(lo, hi, true) / f;
        return;
    case 8: {
        if (!parms.spread_entries || parms.num_spread_entries < 2 || parms.spread_x_range < 1 ||
            parms.spread_y_range < 1) {
            if (entry_reports < kSpreadEntryReports) {
                entry_reports++;
                DebugError(ENG_FUNC, "No spread entries");
            }
            return;
        }
        const int count = (int)(parms.num_spread_entries > (unsigned)ENG_PARTICLES_MAX ? ENG_PARTICLES_MAX
                                                                                       : parms.num_spread_entries);
        const int index = EngClamp((int)EngMiscRandFloat((float)count, false), 0, count - 1);
        const float ex = (float)(parms.spread_entries[2 * index] - parms.spread_x_origin) / (float)parms.spread_x_range;
        const float ey = (float)(parms.spread_entries[2 * index + 1] - parms.spread_y_origin) / (float)parms.spread_y_range;
        pos[0] += (lo + (hi - lo) * ex) / f;
        pos[1] += (lo + (hi - lo) * ey) / f;
        return;
    }
    default: return;
    }
}

void EngParticles::AddWobble(_EngParticle *p) const
{
    if (!parms.wobble)
        return;
    for (int axis = 0; axis < 3; axis++) {
        if (parms.wobble_wave[axis])
            p->position[axis] += parms.wobble_amplitude[axis].value * Wave(parms.wobble_wave[axis], parms.wobble_phase[axis]);
    }
}

bool EngParticles::UpdateParticle(_EngParticle *p, float dt)
{
    p->age += dt;
    if (p->age >= p->life) {
        p->age = kFreeAge;
        return false;
    }
    for (int i = 0; i < 3; i++) {
        p->previous[i] = p->position[i];
        p->position[i] += p->velocity[i] * dt;
        p->velocity[i] += p->acceleration[i] * dt;
    }
    if (parms.attract) {
        _Vector3d towards = {parms.emitter[0] - p->position[0], parms.emitter[1] - p->position[1],
                             parms.emitter[2] - p->position[2]};
        if (!parms.attract_axis[0])
            towards.x = 0.0f;
        if (!parms.attract_axis[1])
            towards.y = 0.0f;
        if (!parms.attract_axis[2])
            towards.z = 0.0f;
        EngNormaliseVector3d(&towards);
        attraction_scratch[0] = towards.x;
        attraction_scratch[1] = towards.y;
        attraction_scratch[2] = towards.z;
        for (int i = 0; i < 3; i++)
            p->velocity[i] += attraction_scratch[i] * dt * p->attraction;
    }
    if (parms.spin_set) {
        const float angles[3] = {p->spin[0] * dt, p->spin[1] * dt, p->spin[2] * dt};
        Rotate(p->position, angles);
    }
    if (parms.velocity_rotation_set) {
        const float angles[3] = {p->velocity_rotation[0] * dt, p->velocity_rotation[1] * dt,
                                 p->velocity_rotation[2] * dt};
        Rotate(p->velocity, angles);
    }
    for (int i = 0; i < 3; i++)
        p->colour[i] += p->colour_change[i] * dt;
    p->size += p->size_change * dt;
    if (!p->fading_in) {
        p->alpha += p->alpha_change * dt;
    } else {
        p->fade_in_alpha += dt;
        if (p->fade_in_alpha >= parms.start_alpha) {
            p->alpha = p->fade_in_alpha;
            p->fading_in = 0;
            if (p->life > p->age)
                p->alpha_change = (parms.end_alpha - p->alpha) / (p->life - p->age);
        }
    }
    p->drawn_alpha = p->fading_in ? p->fade_in_alpha : p->alpha;
    for (int i = 0; i < 3; i++) {
        if (p->colour[i] < 0.0f)
            p->colour[i] = 0.0f;
    }
    return true;
}

bool EngParticles::Render()
{
    if (!EngDeviceIsCreated() || !created || !particles)
        return false;
    const bool zbuffer_was_on = !parms.depth_test && EngDeviceTurnOffZBufferIfOn();
    const bool lighting_was_on = EngDeviceTurnOffLightingIfOn();
    const bool two_sided_before = EngDeviceIsShowingTwoSidedPolygons();
    const bool two_sided = parms.both_faces != 0;
    if (two_sided != two_sided_before)
        EngDeviceShowTwoSidedPolygons(two_sided);
    static const int factors[6][2] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_ONE},        {D3DBLEND_DESTCOLOR, D3DBLEND_ONE},
        {D3DBLEND_INVDESTCOLOR, D3DBLEND_SRCCOLOR}, {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, {D3DBLEND_SRCALPHASAT, D3DBLEND_INVSRCALPHA},
    };
    if (parms.blend_mode >= 0 && parms.blend_mode <= 5)
        EngDeviceEnableBlending(factors[(int)parms.blend_mode][0], factors[(int)parms.blend_mode][1]);
    else
        EngDeviceEnableBlendingType(99);
    const bool drew = eng_main_device_type == ENG_DEVICE_DX9 && Render_DX9();
    if (two_sided != two_sided_before)
        EngDeviceShowTwoSidedPolygons(two_sided_before);
    EngDeviceDisableBlending();
    if (zbuffer_was_on)
        EngDeviceTurnOnZBuffer();
    if (lighting_was_on)
        EngDeviceTurnOnLighting();
    return drew;
}
