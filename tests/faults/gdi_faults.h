// Test-only seam over the executable's GDI imports: make the n-th call of an object maker fail,
// and count the GDI objects made and not yet deleted. In a saver copy it also reports what the
// run left to the user (cursor, input method, a window shown after shutdown). See gdi_faults.cpp.
#pragma once
#include <cstddef>

namespace gdi_faults {

// Patches this executable's import table; returns the number of entries redirected.
int Install();
// The n-th call (from 1) of CreateDIBSection, CreateCompatibleDC, CreateCompatibleBitmap,
// CreatePalette, CreateBitmap or GetDC counted from the last Reset returns null.
void FailCall(const char* function, int n);
// Forgets faults, call counts (RealizePalette's too) and live objects.
void Reset();
int Calls(const char* function);
// Bitmaps, DCs and palettes made through the seam since Reset and not deleted.
size_t LiveObjects();
// GetDeviceCaps(BITSPIXEL) answers this (0: the real answer), to reach the 8-bit paths.
void FakeBitsPerPixel(int bits);
bool WriteReport(const char* path);

// In a saver copy, the property that the saver window gets once its opening dim is over.
constexpr char kOpeningOverProperty[] = "LumoraFaultsOpeningOver";

}  // namespace gdi_faults
