#pragma once
// A CPU particle system: a fixed pool of particles emitted from a moving emitter as a parameter record says,
// moved by velocity, acceleration, attraction to the emitter and rotation, changing colour, transparency and
// size over their life, and drawn as textured squares, one small draw each. Allocates only in Create.
// Main thread only; time comes from the caller (an absolute time in seconds).

#include "Engine/Core/EngTypes.h"

class EngTexture;

// A wobble value of one axis, followed by a float the system does not read.
struct _EngParticleAxisValue {
    float value;
    float unused;
};

struct _EngParticleSystemParms {
    int first_count;           // particles emitted on the first tick
    int later_count;           // particles added at each later emission
    char mode;                 // 0 emit only, 1 update only (emission only on the first tick), 2 emit and update
    EngTexture *texture;       // may be null; not owned
    char use_colour;           // 0: white with the particle's alpha
    char fade_in;              // alpha first rises from 0 by 1.0 a second
    char blend_mode;           // 0..5
    unsigned int rate;         // particles per second
    float min_emission_interval;
    float life_min;
    float life_max;
    float base_life;           // written by the system
    float speed;
    char attract;
    int attract_axis[3];
    float attract_min;
    float attract_max;
    float start_colour[3];
    float end_colour[3];
    float start_colour_2[3];
    float end_colour_2[3];
    int start_colour_random;
    int end_colour_random;
    float start_alpha;
    float end_alpha;
    float start_size;
    float end_size;
    char spread_mode;          // 0..8
    float spread_factor;       // divisor, above 0
    float spread_min;
    float spread_max;
    float cone_angle;          // degrees
    float emitter[3];
    char direction_set;        // the *_set flags are computed by Create
    float direction_ranges[6]; // x min, x max, y min, y max, z min, z max
    char acceleration_set;
    float acceleration_ranges[6];
    char spin_set;
    float spin_ranges[6];
    char square_rotation_set;
    float square_rotation_ranges[6];
    char velocity_rotation_set;
    float velocity_rotation_ranges[6];
    char wobble;
    char wobble_wave[3];       // 0 none, 1 sine, 2 cosine, 3 tangent, 4 sine squared, 5 minus sine squared
    _EngParticleAxisValue wobble_speed[3];     // radians per second
    _EngParticleAxisValue wobble_amplitude[3];
    float wobble_phase[3];     // written by the system, kept in 0..2 pi
    char depth_test;           // also picks the square's vertex order
    char both_faces;
    unsigned int num_spread_entries;
    const int *spread_entries; // pairs (x, y); not owned
    int spread_x_origin;
    int spread_x_range;
    int spread_y_origin;
    int spread_y_range;
};

struct _EngParticle {
    float previous[3];
    float position[3];
    float velocity[3];
    float acceleration[3];
    float direction[3];
    float colour[3];
    float drawn_alpha;
    float colour_2[3];
    float alpha_2;
    float colour_change[3];
    EngUInt32 unused;
    char fading_in;
    float fade_in_alpha;
    float alpha;
    float alpha_change;
    float size;
    float size_change;
    float age; // -1 marks a free slot
    float life;
    float attraction;
    float spin[3];
    float velocity_rotation[3];
    float square_rotation[3];
};
static_assert(sizeof(_EngParticle) == 180, "a particle is a 180-byte record");

// The largest pool Create accepts.
constexpr int ENG_PARTICLES_MAX = 1000000;

class EngParticles {
public:
    EngParticles();
    ~EngParticles();
    EngParticles(const EngParticles &) = delete;
    EngParticles &operator=(const EngParticles &) = delete;

    bool Create(int max_particles, const _EngParticleSystemParms *parms, bool allow_recreate);
    bool CreateGraphics();
    void DestroyGraphics();
    void Destroy(bool release_graphics);
    // -1 not created, 0 finished (no live particle after an update), 1 otherwise.
    signed char Tick(float time, bool first);
    bool Render();
    bool Render_DX9();

    // Moves the emitter; particles emitted next start on the path from the previous place.
    void SetEmitterPosition(float x, float y, float z);

    bool IsCreated() const { return created; }
    bool HasGraphics() const { return vertex_buffer != nullptr; }
    int GetMaxParticles() const { return max_particles; }
    int GetNumLive() const { return num_live; }
    const _EngParticleSystemParms *GetParms() const { return &parms; }
    const _EngParticle *GetParticle(int index) const;

private:
    void Reset();
    void InitAllParticles();
    bool CreateParticle(float dt, _EngParticle *particle);
    bool UpdateParticle(_EngParticle *particle, float dt);
    void AddSpread(_EngParticle *particle);
    void AddWobble(_EngParticle *particle) const;
    void SetStartColour(_EngParticle *particle);
    void SetEndColourChange(_EngParticle *particle);
    int Emit(float dt, bool first);
    void FillSquare(const _EngParticle *particle, unsigned char *vertices) const;

    int max_particles;
    _EngParticleSystemParms parms;
    _EngParticle *particles;
    bool created;
    bool accumulate;
    int num_live;
    float last_tick_time;
    float last_emission_time;
    bool emitted_before;
    float emission_carry;
    float life_jitter;
    float colour_jitter[3];
    float alpha_jitter;
    float size_jitter;
    float speed_jitter;
    float previous_emitter[3];
    float attraction_scratch[3];
    unsigned char *vertex_buffer; // one square: four vertices of position, colour and texture coordinates
};
