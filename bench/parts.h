// The benchmark's four parts. Each runs in a process of its own, because the stage and the
// host keep process-wide state that a saver run uses up (the opening happens once).
#pragma once

int MeasureFrameCost();               // frame step plus paint, dim phase and scene phase
int MeasureScaleSpeed();              // the dim's pixel scaling against memcpy
int MeasureFramePacing(int seconds);  // the real message loop, observed from outside
int MeasureSaverProcess(const char* saverPath, int seconds);  // lumora.scr /s from outside
