// The saver built without some of its pictures (the hour character's +200 strip and the settings
// preview) and with the colon stored at 24 bits, which it must refuse: it still starts, draws
// every picture it has, leaves out the rest, and closes with exit value 0. The same check on the
// complete saver shows that the check can tell the difference.
#include <gtest/gtest.h>

#include "clock_block.h"
#include "e2e/driver.h"
#include "e2e/screen_image.h"
#include "faults/bmp8.h"

namespace {

constexpr int kCharacterTop = block::kCharacters[0].y;  // rows above hold digits and colons only

Bmp8 Picture(int id) {
  Bmp8 picture;
  EXPECT_TRUE(
      ReadBmp8(std::string(LUMORA_PICTURES_PATH) + "/" + std::to_string(id) + ".bmp", picture))
      << "picture " << id;
  return picture;
}

// The colour a picture pixel shows on a black background: black where transparent.
DWORD Shown(const Bmp8& picture, int x, int y) {
  const uint8_t index = picture.At(x, y);
  return index == picture.At(0, 0) ? 0 : picture.palette[index];
}

struct Measured {
  bool found = false;
  int colonPixels = 0;         // opaque colon pixels (clear of the digits) that show colour
  int colonPixelsChecked = 0;  // opaque colon pixels (clear of the digits) looked at
  int hourCharacter = 0;       // coloured pixels below the hour digits
  int minuteCharacter = 0;
  int secondCharacter = 0;
};

// Finds the block on the screen from the six digits of the time and measures the rest.
Measured Measure(const ScreenImage& shot, const SYSTEMTIME& time) {
  Measured m;
  const int values[6] = {time.wHour / 10,   time.wHour % 10,   time.wMinute / 10,
                         time.wMinute % 10, time.wSecond / 10, time.wSecond % 10};
  Bmp8 digits[6];
  for (int k = 0; k < 6; ++k) digits[k] = Picture(7000 + values[k]);
  const Bmp8 colon = Picture(7010);
  // Coloured pixels the digits show above the characters, relative to the block.
  struct Point {
    int x, y;
    DWORD colour;
  };
  std::vector<Point> expected;
  std::vector<bool> digitCovers(size_t(block::kWidth) * kCharacterTop, false);
  for (int k = 0; k < 6; ++k) {
    for (int y = 0; y < kCharacterTop; ++y) {
      for (int x = 0; x < digits[k].width; ++x) {
        if (digits[k].At(x, y) == digits[k].At(0, 0)) continue;
        digitCovers[size_t(y) * block::kWidth + size_t(block::kDigits[k].x + x)] = true;
        if (const DWORD colour = Shown(digits[k], x, y))
          expected.push_back({block::kDigits[k].x + x, y, colour});
      }
    }
  }
  if (expected.empty()) return m;
  for (int ay = 0; ay + block::kHeight <= shot.height && !m.found; ++ay) {
    for (int ax = 0; ax + block::kWidth <= shot.width && !m.found; ++ax) {
      bool all = true;
      for (const Point& p : expected) {
        if (shot.Rgb(ax + p.x, ay + p.y) != p.colour) {
          all = false;
          break;
        }
      }
      if (!all) continue;
      m.found = true;
      for (int c = 0; c < 2; ++c) {
        for (int y = 0; y < kCharacterTop; ++y) {
          for (int x = 0; x < colon.width; ++x) {
            const int bx = block::kColons[c].x + x;
            if (Shown(colon, x, y) == 0 || digitCovers[size_t(y) * block::kWidth + bx]) continue;
            ++m.colonPixelsChecked;
            m.colonPixels += shot.Rgb(ax + bx, ay + y) != 0;
          }
        }
      }
      int* counts[3] = {&m.hourCharacter, &m.minuteCharacter, &m.secondCharacter};
      for (int s = 0; s < 3; ++s) {
        for (int y = 80; y < block::kHeight; ++y) {
          for (int x = 0; x < 176; ++x)
            *counts[s] += shot.Rgb(ax + block::kCharacters[s].x + x, ay + y) != 0;
        }
      }
    }
  }
  return m;
}

// Runs a saver at brightness 0 (black background), measures the clock once the opening is over,
// and ends the saver with a key.
Measured RunAndMeasure(const std::string& program, DWORD* exitValue) {
  Measured m;
  SaverProcess saver;
  if (!saver.StartProgram(program, "/s")) return m;
  HWND window = saver.FindSaverWindow(15000);
  EXPECT_NE(window, nullptr) << program << ": no saver window";
  if (window == nullptr) return m;
  // The clock shows once the opening (33 frames at brightness 0) is over.
  WaitUntil(
      [&] {
        // Capture well inside one second, so that the digits read before are the digits shown.
        SYSTEMTIME before, after;
        do {
          PumpFor(20);
          GetLocalTime(&before);
        } while (before.wMilliseconds < 150 || before.wMilliseconds > 700 ||
                 (before.wMinute == 59 && before.wSecond == 59));
        const ScreenImage shot = CaptureScreenImage();
        GetLocalTime(&after);
        if (after.wSecond == before.wSecond) m = Measure(shot, before);
        return m.found;
      },
      15000);
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  *exitValue = saver.WaitExit(15000);
  return m;
}

class MissingPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QUENDRA\\Lumora ScreenSaver\\Time", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD black = 0;
    RegSetValueExA(key, "Brightness", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&black), 4);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QUENDRA"); }
};

TEST_F(MissingPicturesTest, SaverDrawsThePicturesItHasAndClosesWithZero) {
  DWORD exitValue = kNoExit;
  const Measured broken = RunAndMeasure(WindowsPath(LUMORA_BROKEN_SCR_PATH), &exitValue);
  EXPECT_EQ(exitValue, 0u) << "the saver without some pictures did not close cleanly";
  ASSERT_TRUE(broken.found) << "the digits of the time were not found on the screen";
  EXPECT_GT(broken.colonPixelsChecked, 20) << "the colon has too few pixels above the characters";
  EXPECT_EQ(broken.colonPixels, 0) << "the 24-bit colon was drawn";
  EXPECT_EQ(broken.hourCharacter, 0) << "the hour character's missing strip was drawn";
  EXPECT_GT(broken.minuteCharacter, 500) << "the minute character is missing";
  EXPECT_GT(broken.secondCharacter, 500) << "the second character is missing";

  const Measured complete = RunAndMeasure(SaverPath(), &exitValue);
  EXPECT_EQ(exitValue, 0u);
  ASSERT_TRUE(complete.found) << "the digits were not found on the complete saver's screen";
  EXPECT_EQ(complete.colonPixels, complete.colonPixelsChecked) << "the complete saver's colon";
  EXPECT_GT(complete.hourCharacter, 500) << "the complete saver's hour character";
}

// The settings dialog without its preview picture still opens and cancels with exit value 1.
TEST_F(MissingPicturesTest, SettingsDialogWithoutItsPreviewPictureStillWorks) {
  SaverProcess saver;
  ASSERT_TRUE(saver.StartProgram(WindowsPath(LUMORA_BROKEN_SCR_PATH), "/c"));
  HWND dialog = FindProcessDialog(saver.Id(), 15000);
  ASSERT_NE(dialog, nullptr) << "no settings dialog";
  Settle(dialog);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(saver.WaitExit(15000), 1u);
}

}  // namespace
