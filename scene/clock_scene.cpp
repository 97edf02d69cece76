// The clock scene: builds the strips and sprites, turns the local time into digits and
// character frames on the roaming block, and draws and presents the block as one rectangle.
#include "scene/clock_scene.h"

#include <new>

#include "graphics/random_source.h"

const LayoutOffset kDigitLayout[6] = {{6, 0}, {85, 0}, {185, 0}, {264, 0}, {364, 0}, {443, 0}};
const LayoutOffset kColonLayout[2] = {{134, 0}, {313, 0}};
const LayoutOffset kCharacterLayout[3] = {{0, 38}, {179, 38}, {358, 38}};

namespace {

constexpr int kSeriesBase[3] = {10000, 9000, 8000};  // hour, minute, second character
constexpr int kFramesPerStrip = 15;
constexpr int kBlockSpeed = 16;
constexpr int kIdleStrip = 2;     // the +200 strip
constexpr int kSpriteCount = 11;  // 2 colons, 6 digits, 3 characters

LocalTimeSource localTimeSource = GetLocalTime;

int NewTurnCountdown() {
  return 3000 + int(Random(1000));
}

// Arms a sprite whose frames the scene sets itself.
void ArmStill(Sprite& sprite, FrameStrip* strip) {
  sprite.Setup(strip, 0, 0, 0, 0, 0, 0, 0, 0);
  sprite.frameRate = 0;
}

void ShowFrame(Sprite& sprite, int frame) {
  sprite.frame = sprite.previousFrame = frame;
  sprite.frameAccumulator = 0;
}

// A screen narrower or lower than the block leaves it no room to move along that axis: the
// sprite's placement would put it up to 65535 pixels away (its span wraps) and the reflection
// would only turn it on the spot there. It stands still at the near edge instead, so that the
// hours and minutes stay on the screen.
void HoldWhereTooSmall(BouncingSprite& anchor, const RECT& bounds) {
  if (bounds.right - bounds.left <= kBlockWidth) {
    anchor.x = bounds.left;
    anchor.vx = 0.0;
  }
  if (bounds.bottom - bounds.top <= kBlockHeight) {
    anchor.y = bounds.top;
    anchor.vy = 0.0;
  }
}

void PlaceAt(Sprite& sprite, const BouncingSprite& anchor, LayoutOffset offset) {
  sprite.x = anchor.x + offset.x;
  sprite.y = anchor.y + offset.y;
}

}  // namespace

void SetLocalTimeSource(LocalTimeSource source) {
  localTimeSource = source;
}

int ClockFrame(int millisecond) {
  return (millisecond * kFramesPerStrip / 1000 + 4) % 15;
}

void ChooseStrips(int hour, int minute, int second, int strips[3]) {
  const bool hourRolls = minute == 59 && second == 59;
  const bool minuteRolls = second == 59;
  strips[0] = hourRolls ? (hour % 10 == 9 ? 1 : 0) : kIdleStrip;
  strips[1] = minuteRolls ? (minute % 10 == 9 ? 1 : 0) : kIdleStrip;
  strips[2] = second % 10 == 9 ? 1 : 0;
}

ClockScene::ClockScene() {
  spriteCount = kSpriteCount;
}

ClockScene::~ClockScene() {
  ClockScene::Release();
}

int ClockScene::Setup(RECT logical, int previewFlag) {
  // Setting up again starts from nothing; Release also empties the list's slot count.
  ClockScene::Release();
  spriteCount = kSpriteCount;
  if (!SetupCommon(logical, previewFlag)) return 0;
  digitStrip = new (std::nothrow) FrameStrip;
  colonStrip = new (std::nothrow) FrameStrip;
  characterStrips = new (std::nothrow) FrameStrip*[3]();
  characterSprites = new (std::nothrow) Sprite[3];
  digitSprites = new (std::nothrow) Sprite[6];
  colonSprites = new (std::nothrow) Sprite[2];
  anchor = new (std::nothrow) BouncingSprite;
  bool complete = digitStrip && colonStrip && characterStrips && characterSprites && digitSprites &&
                  colonSprites && anchor;
  for (int s = 0; complete && s < 3; ++s) {
    characterStrips[s] = new (std::nothrow) FrameStrip[3];
    complete = characterStrips[s] != nullptr;
  }
  // Every later operation relies on every member: a scene that is missing one stays inactive.
  if (!complete) {
    Release();
    return 0;
  }
  digitStrip->CreateNumbered(10, 7000);
  colonStrip->Create(1, nullptr);
  colonStrip->SetFrameSource(0, MAKEINTRESOURCEA(7010));
  for (int s = 0; s < 3; ++s) {
    for (int k = 0; k < 3; ++k) characterStrips[s][k].CreateNumbered(15, kSeriesBase[s] + 100 * k);
  }
  sprites[0] = &colonSprites[0];
  sprites[1] = &colonSprites[1];
  for (int d = 0; d < 6; ++d) sprites[2 + d] = &digitSprites[d];
  for (int s = 0; s < 3; ++s) sprites[8 + s] = &characterSprites[s];
  return 1;
}

int ClockScene::OnCreate(HWND newWindow, RECT newPaintRect) {
  if (!OnCreateCommon(newWindow, newPaintRect)) return 0;
  for (int s = 0; s < 3; ++s) {
    for (int k = 0; k < 3; ++k) characterStrips[s][k].LoadAll();
  }
  digitStrip->LoadAll();
  colonStrip->LoadAll();
  Start();
  return 1;
}

void ClockScene::Release() {
  if (characterStrips != nullptr) {
    for (int s = 0; s < 3; ++s) delete[] characterStrips[s];
    delete[] characterStrips;
    characterStrips = nullptr;
  }
  delete digitStrip;
  digitStrip = nullptr;
  delete colonStrip;
  colonStrip = nullptr;
  delete anchor;
  anchor = nullptr;
  delete[] characterSprites;
  characterSprites = nullptr;
  delete[] digitSprites;
  digitSprites = nullptr;
  delete[] colonSprites;
  colonSprites = nullptr;
  ReleaseList();
}

void ClockScene::Start() {
  if (anchor == nullptr) return;
  anchor->Setup(nullptr, kBlockWidth, kBlockHeight, 0, kBlockSpeed, logicalRect.left,
                logicalRect.top, logicalRect.right, logicalRect.bottom);
  HoldWhereTooSmall(*anchor, logicalRect);
  turnCountdown = NewTurnCountdown();
  for (int c = 0; c < 2; ++c) ArmStill(colonSprites[c], colonStrip);
  for (int d = 0; d < 6; ++d) ArmStill(digitSprites[d], digitStrip);
  for (int s = 0; s < 3; ++s) ArmStill(characterSprites[s], &characterStrips[s][kIdleStrip]);
  active = 1;
  Advance(0);
}

void ClockScene::Advance(int frames) {
  if (!active || sprites == nullptr) return;
  if (frames != 0) {
    if (turnCountdown == 0) {
      anchor->RandomVelocity(anchor->speed);
      HoldWhereTooSmall(*anchor, logicalRect);
      turnCountdown = NewTurnCountdown();
    } else {
      --turnCountdown;
    }
  }
  SYSTEMTIME now = {};
  localTimeSource(&now);
  const int f = ClockFrame(now.wMilliseconds);
  if (f == 0) {
    int strips[3];
    ChooseStrips(now.wHour, now.wMinute, now.wSecond, strips);
    for (int s = 0; s < 3; ++s) characterSprites[s].strip = &characterStrips[s][strips[s]];
  }
  for (int s = 0; s < 3; ++s) ShowFrame(characterSprites[s], f);
  const int digits[6] = {now.wHour / 10,   now.wHour % 10,   now.wMinute / 10,
                         now.wMinute % 10, now.wSecond / 10, now.wSecond % 10};
  for (int d = 0; d < 6; ++d) ShowFrame(digitSprites[d], digits[d]);

  anchor->Advance();
  anchor->KeepInBounds();
  for (int c = 0; c < 2; ++c) PlaceAt(colonSprites[c], *anchor, kColonLayout[c]);
  for (int d = 0; d < 6; ++d) PlaceAt(digitSprites[d], *anchor, kDigitLayout[d]);
  for (int s = 0; s < 3; ++s) PlaceAt(characterSprites[s], *anchor, kCharacterLayout[s]);
}

int ClockScene::Compose(HDC frameSurface, HDC backgroundSurface) {
  if (sprites == nullptr) return 0;
  anchor->Restore(frameSurface, backgroundSurface);
  for (int i = 0; i < spriteCount; ++i) sprites[i]->Draw(frameSurface);
  return spriteCount;
}

int ClockScene::Present(HWND, HDC target, HDC frameSurface, HDC) {
  if (sprites == nullptr) return 0;
  anchor->RestoreAndSave(target, frameSurface);
  return 1;
}

// The block where the next present copies it: where the last present recorded it, or where it
// stands before the first. The pictures are drawn where it stands now, at most a step away; what
// falls outside is not presented before a later compose draws it again.
RECT ClockScene::FrameArea() const {
  POINT corner = {0, 0};
  if (anchor != nullptr) {
    corner = anchor->hasSaved ? POINT{anchor->savedX, anchor->savedY}
                              : POINT{anchor->PixelX(), anchor->PixelY()};
  }
  return {corner.x, corner.y, corner.x + kBlockWidth, corner.y + kBlockHeight};
}

void ClockScene::ExportPalette(PALETTEENTRY entries[256]) {
  if (characterStrips != nullptr) characterStrips[0][0].ExportPalette(entries);
}

Scene* CreateScene(int) {
  return new (std::nothrow) ClockScene;
}
