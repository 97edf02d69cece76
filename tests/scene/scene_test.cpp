// The scene base: the draw list's life, depth ordering, and the default composing and
// presenting, checked pixel by pixel on memory DCs.
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/host_state.h"
#include "sprites/test_surface.h"

namespace {

constexpr uint32_t kMarker = 0xABCDEF;

// The least a scene must be: a list of the given size and nothing else.
class ListScene : public Scene {
 public:
  explicit ListScene(int slots) { spriteCount = slots; }
  int Setup(RECT rect, int isPreview) override { return SetupCommon(rect, isPreview); }
  int OnCreate(HWND window, RECT rect) override { return OnCreateCommon(window, rect); }
  void Release() override { ReleaseList(); }
  void Start() override {}
  void Advance(int) override {}
  void ExportPalette(PALETTEENTRY[256]) override {}
};

TEST(SceneList, SetupMakesAnEmptyListAndActivates) {
  ListScene scene(4);
  EXPECT_EQ(scene.OnCreate(nullptr, {0, 0, 5, 5}), 0) << "no setup yet: not active";
  EXPECT_EQ(scene.Setup({1, 2, 3, 4}, 1), 1);
  EXPECT_EQ(scene.IsActive(), 1);
  EXPECT_EQ(scene.logicalRect.right, 3);
  EXPECT_EQ(scene.preview, 1);
  ASSERT_NE(scene.sprites, nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(scene.sprites[i], nullptr) << "slot " << i;
  const HWND window = GetDesktopWindow();
  EXPECT_EQ(scene.OnCreate(window, {5, 6, 7, 8}), 1);
  EXPECT_EQ(scene.window, window);
  EXPECT_EQ(scene.paintRect.bottom, 8);
}

TEST(SceneList, FailedSetupLeavesTheSceneInactive) {
  ListScene scene(-1);
  EXPECT_EQ(scene.Setup({0, 0, 10, 10}, 0), 0);
  EXPECT_EQ(scene.IsActive(), 0);
  EXPECT_EQ(scene.sprites, nullptr);
  EXPECT_EQ(scene.OnCreate(nullptr, {0, 0, 10, 10}), 0);
}

TEST(SceneList, ReleasedSceneIsDeletedWithoutFreeingTwice) {
  auto* scene = new ListScene(3);
  ASSERT_EQ(scene->Setup({0, 0, 10, 10}, 0), 1);
  scene->Release();
  EXPECT_EQ(scene->sprites, nullptr);
  EXPECT_EQ(scene->spriteCount, 0);
  EXPECT_EQ(scene->IsActive(), 0);
  scene->Release();  // safe without a list
  delete scene;
}

// Slots are written as letters, '.' for an empty slot; each letter's y is given.
TEST(SceneDepth, CompactsTheListThenSortsByY) {
  struct {
    std::string slots;
    std::map<char, double> y;
    std::string expected;
  } cases[] = {
      {"A.B.", {{'A', 50}, {'B', 10}}, "BA.."},
      {".A.B", {{'A', 10}, {'B', 50}}, "AB.."},
      {"AB", {{'A', 7}, {'B', 7}}, "AB"},
      {"ABC", {{'A', 9}, {'B', 5}, {'C', 5}}, "BCA"},
      {"C.AB", {{'A', 10}, {'B', 20}, {'C', 30}}, "ABC."},
      {"..A", {{'A', 1}}, "A.."},
      {"...", {}, "..."},
      {"D.C..BA", {{'A', 1}, {'B', 2}, {'C', 3}, {'D', 4}}, "ABCD..."},
      {"B.A", {{'A', -0.5}, {'B', -0.25}}, "AB."},
  };
  for (const auto& c : cases) {
    std::map<char, Sprite> sprites;
    std::map<const Sprite*, char> names = {{nullptr, '.'}};
    ListScene scene(static_cast<int>(c.slots.size()));
    ASSERT_EQ(scene.Setup({0, 0, 1, 1}, 0), 1);
    for (size_t i = 0; i < c.slots.size(); ++i) {
      if (c.slots[i] == '.') continue;
      Sprite& sprite = sprites[c.slots[i]];
      sprite.y = c.y.at(c.slots[i]);
      scene.sprites[i] = &sprite;
      names[&sprite] = c.slots[i];
    }
    scene.SortByDepth();
    std::string order;  // '?' for a sprite that was never in the list
    for (int i = 0; i < scene.spriteCount; ++i)
      order += names.count(scene.sprites[i]) ? names[scene.sprites[i]] : '?';
    EXPECT_EQ(order, c.expected) << "from " << c.slots;
  }
}

TEST(SceneDepth, WithoutAListNothingHappens) {
  ListScene scene(2);
  scene.SortByDepth();
  TestSurface frame(40, 40), background(40, 40), target(40, 40);
  frame.Fill(kMarker);
  background.FillPattern();
  target.Fill(kMarker);
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 0);
  EXPECT_EQ(scene.Present(nullptr, target.dc, background.dc, background.dc), 0);
  EXPECT_EQ(OnlyRectsCopied(frame, background, kMarker, {}), "");
  EXPECT_EQ(OnlyRectsCopied(target, background, kMarker, {}), "");
}

// Two overlapping sprites from pictures 7000..7009 in slots 0 and 2 of three.
class SceneSurfaces : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandle(nullptr);
    strip.CreateNumbered(10, 7000);
    ASSERT_EQ(scene.Setup({0, 0, 240, 160}, 0), 1);
    for (Sprite* sprite : {&first, &second}) sprite->strip = &strip;
    first.frame = 0, first.x = 10.0, first.y = 10.0;
    second.frame = 5, second.x = 50.0, second.y = 30.0;
    scene.sprites[0] = &first;
    scene.sprites[2] = &second;
    background.FillPattern();
    frame.CopyFrom(background);
    target.Fill(kMarker);
  }
  // The background with both sprites drawn over it in list order.
  void Expect(TestSurface& out) {
    out.CopyFrom(background);
    strip.DrawFrame(out.dc, first.PixelX(), first.PixelY(), first.frame);
    strip.DrawFrame(out.dc, second.PixelX(), second.PixelY(), second.frame);
  }
  RECT RectOf(Sprite& sprite) {
    return {sprite.PixelX(), sprite.PixelY(), sprite.PixelX() + 80, sprite.PixelY() + 80};
  }

  FrameStrip strip;
  Sprite first, second;
  ListScene scene{3};
  TestSurface background{240, 160}, frame{240, 160}, target{240, 160}, expected{240, 160};
};

TEST_F(SceneSurfaces, ComposeErasesEverySpriteBeforeDrawingAny) {
  // Erasing and drawing each sprite in turn would cut the second's rectangle out of the first.
  TestSurface interleaved(240, 160);
  interleaved.CopyFrom(background);
  strip.DrawFrame(interleaved.dc, 10, 10, 0);
  BitBlt(interleaved.dc, 50, 30, 80, 80, background.dc, 50, 30, SRCCOPY);
  strip.DrawFrame(interleaved.dc, 50, 30, 5);
  Expect(expected);
  ASSERT_NE(FirstDifference(interleaved, expected), "") << "the sprites must overlap visibly";

  frame.Fill(kMarker);  // outside the sprites' rectangles the frame must keep what it had
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 3);
  EXPECT_EQ(OnlyRectsCopied(frame, expected, kMarker, {RectOf(first), RectOf(second)}), "");
}

TEST_F(SceneSurfaces, ComposeRepairsWhatAMovedSpriteUncovered) {
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 3);
  EXPECT_EQ(scene.Present(nullptr, target.dc, frame.dc, background.dc), 3);
  first.x = 150.0, first.y = 70.0;
  first.frame = 2;
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 3);
  Expect(expected);
  EXPECT_EQ(FirstDifference(frame, expected), "");
}

TEST_F(SceneSurfaces, PresentCopiesOnlyTheSpritesRectangles) {
  scene.Compose(frame.dc, background.dc);
  EXPECT_EQ(scene.Present(nullptr, target.dc, frame.dc, background.dc), 3);
  EXPECT_EQ(OnlyRectsCopied(target, frame, kMarker, {RectOf(first), RectOf(second)}), "");

  const RECT old = RectOf(first);
  first.x = 150.0, first.y = 70.0;
  scene.Compose(frame.dc, background.dc);
  target.Fill(kMarker);
  EXPECT_EQ(scene.Present(nullptr, target.dc, frame.dc, background.dc), 3);
  EXPECT_EQ(OnlyRectsCopied(target, frame, kMarker, {old, RectOf(first), RectOf(second)}), "")
      << "the old and new rectangles of the moved sprite and the other's should be copied";
}

}  // namespace
