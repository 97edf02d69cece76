// What a character is doing in one animation frame, and the strips of frames.
#pragma once

enum class Character { kHour, kMinute, kSecond };

// Strip offsets in resource ids: roll-over action, tens roll-over action, idle loop.
enum class Strip { kRoll, kBigRoll, kIdle };

constexpr int kFramesPerStrip = 15;
constexpr int kPeakFrame = 4;  // the digits above change as this frame begins

enum class Eyes { kOpen, kHappy, kStrain, kWide };
enum class Mouth { kSmile, kFlat, kOpen, kGrin };

struct Pose {
  double lift = 0;    // pixels the whole body is raised
  double squash = 0;  // > 0 wide and flat, < 0 tall and thin
  double lean = 0;    // degrees, positive leans right
  double spin = 0;    // whole-body rotation in degrees around the body centre
  double yaw = 0;     // turn about the vertical axis in degrees, 0 = facing front
  double armL = 0;    // arm raise: 0 hanging, 1 straight up, negative swung back
  double armR = 0;
  Eyes eyes = Eyes::kOpen;
  Mouth mouth = Mouth::kSmile;
  double blink = 0;  // 0 open .. 1 shut
  int impact = 0;    // frames since the bump (1 = the bump itself), 0 = none
  bool bigImpact = false;
  double boost = 0;   // jet flames, hour robot only
  double swing = 0;   // sway of antenna, sprout or tail in degrees
  double look = 0;    // pupils: -1 left .. 1 right
  double lookUp = 0;  // pupils: 0 ahead .. 1 up
  double twitch = 0;  // ear twitch, fox only
};

// The pose of one frame; frame is 0..kFramesPerStrip-1.
Pose StripPose(Character who, Strip strip, int frame);

// Resource id of a frame, e.g. 10000 + 100 * strip + frame for the hour robot.
int FrameResourceId(Character who, Strip strip, int frame);
