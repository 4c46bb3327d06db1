#pragma once

// Darkens the whole screen with a black quad of the given alpha (clamped to 0..1).
void EngDimDraw(float alpha);
// Releases the dimming quad; the next draw makes it again at the screen size of that moment.
void EngDimDestroy();
