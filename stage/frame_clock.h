// The 45 Hz frame clock. The host's message loop calls Tick before every look at the queue and
// IdleSleep after it; a tick that finds whole frame periods elapsed hands them to the stage and
// repaints the saver window at once. Periods are whole milliseconds from a 45-entry table that
// adds up to exactly one second, so the rate never drifts against the millisecond timer.
#pragma once
#include <windows.h>

#include <cstdint>

namespace FrameClock {

constexpr int kFramesPerSecond = 45;

struct State {
  uint16_t frameLengths[kFramesPerSecond];
  uint32_t accumulated;    // ms since the current period began
  uint16_t frameIndex;     // which table entry is the current period's length
  uint16_t pendingFrames;  // periods counted and not yet consumed by the stage
  uint32_t lastTime;       // timer reading at the previous tick
  bool enabled;            // false until the opening capture is done
};

// The clock the saver runs on.
extern State clock;

// Where the clock reads the time and how it sleeps; tests replace them.
using TimeSource = DWORD(WINAPI*)();
using Sleeper = void(WINAPI*)(DWORD milliseconds);
void SetTimeSource(TimeSource source);
void SetSleeper(Sleeper sleeper);

// Pure arithmetic, usable without a window.
void BuildFrameTable(uint16_t table[kFramesPerSecond]);
void ResetState(State& state, uint32_t now);
// Adds the time since the last reading and counts the whole periods that elapsed; returns the
// number counted by this call. Unsigned 32-bit throughout, so timer wrap-around is harmless.
unsigned CountElapsed(State& state, uint32_t now);
// How long an idle pass should sleep, or -1 for no sleep at all.
int IdleSleepLength(const State& state, bool idle, bool preview);

// The operations the host and the stage call.
void Reset();               // starts the clock: at the end of the opening capture
void Stop();                // the stopped state the stage sets up before any window
void Tick();                // counts periods, steps the stage and repaints
void IdleSleep(bool idle);  // sleeps until about 1 ms before the next frame

}  // namespace FrameClock
