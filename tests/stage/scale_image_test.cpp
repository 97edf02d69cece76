// The opening's pixel scaling: every byte b of a 24-bit image, row padding included, becomes
// b * n / 32, checked byte by byte against a plain reference on images made by the stage itself.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "stage/stage_state.h"

namespace {

uint8_t Reference(uint8_t b, int n) {
  const int clamped = n < 0 ? 0 : n > 32 ? 32 : n;
  return uint8_t(b * clamped / 32);
}

// Every byte of a word set to b, scaled, then the byte read back from each position.
TEST(ScaleImage, SingleBytes) {
  struct {
    uint8_t b;
    int n;
    uint8_t expected;
  } cases[] = {
      {255, 16, 127}, {200, 31, 193}, {1, 31, 0},  {255, 32, 255}, {77, 32, 77},
      {255, 40, 255}, {200, 33, 200}, {255, 0, 0}, {255, -3, 0},   {128, 1, 4},
      {31, 1, 0},     {32, 1, 1},     {0, 31, 0},  {255, 31, 247}, {255, 1, 7},
  };
  for (const auto& c : cases) {
    for (int position = 0; position < 4; ++position) {
      // The neighbours are full bytes, so a carry or a borrow between lanes would show.
      uint8_t bytes[4] = {255, 255, 255, 255};
      bytes[position] = c.b;
      uint32_t source, destination = 0;
      std::memcpy(&source, bytes, 4);
      EXPECT_EQ(Stage::ScaleImage(&destination, &source, 1, c.n), 0);
      std::memcpy(bytes, &destination, 4);
      EXPECT_EQ(bytes[position], c.expected)
          << int(c.b) << " at n " << c.n << ", byte " << position;
      for (int other = 0; other < 4; ++other) {
        if (other == position) continue;
        EXPECT_EQ(bytes[other], Reference(255, c.n)) << "byte " << other;
      }
    }
  }
}

// Both paths: the lanes that 64-bit builds use, and the plain word loop that is all the 32-bit
// product runs, so that a fault in either shows up in the everyday build.
TEST(ScaleImage, MatchesThePerByteRuleOnRandomBuffers) {
  const struct {
    const char* path;
    void (*scale)(uint32_t*, const uint32_t*, size_t, int);
  } paths[] = {
      {"ScaleImage",
       [](uint32_t* d, const uint32_t* s, size_t w, int n) { Stage::ScaleImage(d, s, w, n); }},
      {"word loop", Stage::ScaleWords},
  };
  std::mt19937 random(20261207);
  const size_t sizes[] = {1, 2, 3, 17, 480, 4096};
  for (const auto& path : paths) {
    for (size_t words : sizes) {
      std::vector<uint32_t> source(words), destination(words);
      for (uint32_t& word : source) word = random();
      for (int n = -3; n <= 40; ++n) {
        std::fill(destination.begin(), destination.end(), 0xA5A5A5A5u);
        path.scale(destination.data(), source.data(), words, n);
        const auto* in = reinterpret_cast<const uint8_t*>(source.data());
        const auto* out = reinterpret_cast<const uint8_t*>(destination.data());
        for (size_t i = 0; i < words * 4; ++i) {
          ASSERT_EQ(out[i], Reference(in[i], n)) << path.path << ": byte " << i << " of " << words
                                                 << " words, source " << int(in[i]) << ", n " << n;
        }
      }
    }
  }
}

// Images from the stage's own CreateImage24: the word count the scaling uses must be the row
// stride GDI gives the DIB section, and on a width-1 image each row's padding byte is scaled.
class StageImage : public ::testing::Test {
 protected:
  void SetUp() override { memoryDc = CreateCompatibleDC(nullptr); }
  void TearDown() override {
    for (HBITMAP bitmap : made) DeleteObject(bitmap);
    DeleteDC(memoryDc);
  }
  Stage::Image24 Make(int width, int height) {
    Stage::Image24 image = Stage::CreateImage24(memoryDc, width, height);
    if (image.bitmap != nullptr) made.push_back(image.bitmap);
    return image;
  }
  HDC memoryDc = nullptr;
  std::vector<HBITMAP> made;
};

TEST_F(StageImage, WordCountIsTheDibRowStrideTimesTheHeight) {
  struct {
    int width, height;
    size_t wordsPerRow;
  } cases[] = {{1, 3, 1}, {2, 2, 2}, {3, 1, 3}, {4, 2, 3}, {5, 1, 4}, {640, 4, 480}, {641, 2, 481}};
  for (const auto& c : cases) {
    Stage::Image24 image = Make(c.width, c.height);
    ASSERT_NE(image.pixels, nullptr) << c.width << " x " << c.height;
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(image.bitmap, sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    EXPECT_GT(section.dsBmih.biHeight, 0) << "bottom-up rows";
    EXPECT_EQ(size_t(section.dsBm.bmWidthBytes), c.wordsPerRow * 4) << "width " << c.width;
    EXPECT_EQ(Stage::ImageWords(c.width, c.height), c.wordsPerRow * c.height)
        << c.width << " x " << c.height;
  }
}

TEST_F(StageImage, WholeImagesScaleEveryByteIncludingPadding) {
  struct {
    int width, height, n;
  } cases[] = {{1, 4, 16}, {1, 1, 31}, {640, 3, 16}, {640, 2, 5}, {3, 5, 0}, {641, 2, 32}};
  std::mt19937 random(7);
  for (const auto& c : cases) {
    Stage::Image24 source = Make(c.width, c.height), destination = Make(c.width, c.height);
    ASSERT_NE(source.pixels, nullptr);
    ASSERT_NE(destination.pixels, nullptr);
    const size_t bytes = Stage::ImageWords(c.width, c.height) * 4;
    GdiFlush();
    for (size_t i = 0; i < bytes; ++i) source.pixels[i] = uint8_t(random() | 0x80);
    std::memset(destination.pixels, 0x5A, bytes);
    Stage::ScaleImage(reinterpret_cast<uint32_t*>(destination.pixels),
                      reinterpret_cast<const uint32_t*>(source.pixels),
                      Stage::ImageWords(c.width, c.height), c.n);
    for (size_t i = 0; i < bytes; ++i) {
      ASSERT_EQ(destination.pixels[i], Reference(source.pixels[i], c.n))
          << c.width << " x " << c.height << " at n " << c.n << ", byte " << i
          << (c.width == 1 && i % 4 == 3 ? " (row padding)" : "");
    }
  }
}

}  // namespace
