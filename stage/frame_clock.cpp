// The frame clock's arithmetic and its two entry points for the message loop.
#include "stage/frame_clock.h"

#include <mmsystem.h>

#include "host/host_state.h"
#include "stage/stage.h"

namespace FrameClock {

State clock = {};

namespace {
TimeSource timeSource = timeGetTime;
Sleeper sleeper = Sleep;
}  // namespace

void SetTimeSource(TimeSource source) {
  timeSource = source;
}
void SetSleeper(Sleeper newSleeper) {
  sleeper = newSleeper;
}

void BuildFrameTable(uint16_t table[kFramesPerSecond]) {
  // Integer division, not a rounded 22.22 ms: 35 periods of 22 ms and 10 of 23 ms, one second.
  for (int i = 0; i < kFramesPerSecond; ++i) {
    table[i] = uint16_t(1000 * (i + 1) / kFramesPerSecond - 1000 * i / kFramesPerSecond);
  }
}

void ResetState(State& state, uint32_t now) {
  BuildFrameTable(state.frameLengths);
  state.accumulated = 0;
  state.frameIndex = 0;
  state.pendingFrames = 0;
  state.lastTime = now;
  state.enabled = true;
}

unsigned CountElapsed(State& state, uint32_t now) {
  state.accumulated += now - state.lastTime;
  state.lastTime = now;
  unsigned counted = 0;
  while (state.accumulated >= state.frameLengths[state.frameIndex]) {
    state.accumulated -= state.frameLengths[state.frameIndex];
    state.frameIndex = uint16_t((state.frameIndex + 1) % kFramesPerSecond);
    ++state.pendingFrames;
    ++counted;
  }
  return counted;
}

int IdleSleepLength(const State& state, bool idle, bool preview) {
  if (!idle) return preview ? 0 : -1;
  const uint32_t length = state.frameLengths[state.frameIndex];
  return state.accumulated + 1 < length ? int(length - state.accumulated - 1) : 0;
}

void Reset() {
  ResetState(clock, timeSource());
}

void Stop() {
  clock.enabled = false;
  clock.accumulated = 0;
  clock.lastTime = timeSource();
}

void Tick() {
  if (!Stage::HasScene() || !clock.enabled) return;
  if (CountElapsed(clock, timeSource()) == 0) return;
  Stage::StepFrame();
  InvalidateRect(saverWindow, nullptr, FALSE);
  UpdateWindow(saverWindow);
}

void IdleSleep(bool idle) {
  if (!Stage::HasScene() || !clock.enabled) return;
  const int length = IdleSleepLength(clock, idle, isPreview);
  if (length >= 0) sleeper(DWORD(length));
}

}  // namespace FrameClock
