// The one user setting, the brightness the desktop is dimmed to, kept in the per-user registry.
#pragma once
#include <cstdint>

constexpr int kDefaultBrightness = 4;
constexpr int kMaxBrightness = 8;

extern int32_t Brightness;  // 0 to 8

void LoadSettings();
void SaveSettings();
