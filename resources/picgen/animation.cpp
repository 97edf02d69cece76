// Key poses of every strip. Action strips start from the idle loop's first pose,
// wind up in frames 1-3, hit the digit above on frame 4 (when the digits change),
// follow through and settle so that frame 14 equals the idle loop's frame 14.
#include <cmath>

#include "geometry.h"
#include "pose.h"

namespace {

struct Key {
  double lift, squash, lean, spin, yaw, armL, armR;
  Eyes eyes;
  Mouth mouth;
  int impact;
  double boost, lookUp;
};

using Table = Key[kFramesPerStrip];

constexpr Eyes O = Eyes::kOpen;
constexpr Eyes H = Eyes::kHappy;
constexpr Eyes S = Eyes::kStrain;
constexpr Eyes W = Eyes::kWide;
constexpr Mouth sm = Mouth::kSmile;
constexpr Mouth fl = Mouth::kFlat;
constexpr Mouth op = Mouth::kOpen;
constexpr Mouth gr = Mouth::kGrin;

// How much of the idle breathing and sway shows through an action, per frame.
constexpr double kCalm[kFramesPerStrip] = {1, .6, .2, 0, 0, 0, 0, 0, 0, .1, .3, .5, .7, .9, 1};

// Hour robot: jumps and uppercuts the ones digit with its right fist.
const Table kHourRoll = {
    // lift squash lean spin yaw armL armR eyes mouth impact boost lookUp
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},          {0, .10, -1, 0, 0, .05, -.15, O, fl, 0, 0, .6},
    {0, .17, -3, 0, 0, .10, -.35, S, fl, 0, 0, .8}, {16, -.10, 2, 0, 0, .20, .60, S, op, 0, 0, 1},
    {28, -.05, 6, 0, 0, .25, 1.0, S, op, 1, 0, 1},  {29, 0, 5, 0, 0, .20, .90, H, gr, 2, 0, .6},
    {22, .01, 3, 0, 0, .15, .60, H, gr, 3, 0, .3},  {9, -.04, 1, 0, 0, .10, .30, H, gr, 4, 0, 0},
    {0, .14, 0, 0, 0, 0, .05, H, gr, 0, 0, 0},      {0, -.05, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, .03, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, -.01, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},          {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

// Hour robot: fires its jet boots and punches both digits with both fists.
const Table kHourBigRoll = {
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},          {0, .12, 0, 0, 0, -.20, -.20, W, fl, 0, 0, .8},
    {0, .20, 0, 0, 0, -.30, -.30, S, fl, 0, .5, 1}, {19, -.12, 0, 0, 0, .80, .80, S, op, 0, 1, 1},
    {33, -.07, 0, 0, 0, 1.0, 1.0, S, op, 1, 1, 1},  {34, 0, 0, 0, 0, .95, .95, H, gr, 2, .8, .6},
    {30, 0, 0, 0, 0, .80, .80, H, gr, 3, .6, .3},   {22, 0, 0, 0, 0, .60, .60, H, gr, 4, .5, 0},
    {12, 0, 0, 0, 0, .40, .40, H, gr, 5, .35, 0},   {4, -.03, 0, 0, 0, .20, .20, O, gr, 0, .2, 0},
    {0, .13, 0, 0, 0, 0, 0, H, gr, 0, 0, 0},        {0, -.04, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, .02, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

// Minute blob: springs up and head-butts the ones digit, then lands with a splat.
const Table kMinuteRoll = {
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, .12, 0, 0, 0, -.2, -.2, O, sm, 0, 0, .7},
    {0, .24, 0, 0, 0, -.3, -.3, S, fl, 0, 0, 1},  {13, -.20, 4, 0, 0, .5, .5, W, op, 0, 0, 1},
    {25, -.12, 9, 0, 0, .7, .7, S, op, 1, 0, 1},  {25, .04, 7, 0, 0, .6, .6, H, gr, 2, 0, .5},
    {18, -.03, 4, 0, 0, .4, .4, H, gr, 3, 0, .2}, {7, -.10, 2, 0, 0, .2, .2, H, gr, 4, 0, 0},
    {0, .26, 0, 0, 0, -.1, -.1, H, gr, 0, 0, 0},  {0, -.10, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, .06, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},      {0, -.03, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, .015, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},     {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

// Minute blob: big leap hitting both digits, a pirouette on the way down.
const Table kMinuteBigRoll = {
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, .15, 0, 0, 0, -.2, -.2, W, fl, 0, 0, .8},
    {0, .28, 0, 0, 0, -.4, -.4, S, fl, 0, 0, 1},  {20, -.24, 0, 0, 0, .8, .8, S, op, 0, 0, 1},
    {38, -.14, 0, 0, 0, 1, 1, S, op, 1, 0, 1},    {40, 0, 0, 0, 60, .9, .9, H, gr, 2, 0, .5},
    {35, 0, 0, 0, 150, .8, .8, H, gr, 3, 0, 0},   {23, -.04, 0, 0, 240, .6, .6, H, gr, 4, 0, 0},
    {8, -.08, 0, 0, 320, .4, .4, H, gr, 5, 0, 0}, {0, .26, 0, 0, 0, -.1, -.1, H, gr, 0, 0, 0},
    {0, -.10, 0, 0, 0, .3, .3, H, gr, 0, 0, 0},   {0, .06, 0, 0, 0, .15, .15, O, sm, 0, 0, 0},
    {0, -.03, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},     {0, .01, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

// Second fox: a quick hop that bumps the ones digit; also its every-second loop.
const Table kSecondRoll = {
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, .10, -2, 0, 0, -.1, -.1, O, sm, 0, 0, .6},
    {0, .17, -3, 0, 0, -.2, -.2, S, fl, 0, 0, 1}, {13, -.12, 4, 0, 0, .4, .4, W, op, 0, 0, 1},
    {23, -.06, 11, 0, 0, .6, .6, S, op, 1, 0, 1}, {21, .02, 9, 0, 0, .5, .5, H, gr, 2, 0, .4},
    {12, -.03, 5, 0, 0, .3, .3, H, gr, 3, 0, 0},  {2, -.05, 2, 0, 0, .1, .1, H, sm, 0, 0, 0},
    {0, .12, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},      {0, -.04, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, .02, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},      {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},        {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

// Second fox: a back flip that kicks both digits with its feet while upside down.
const Table kSecondBigRoll = {
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},          {0, .12, 0, 0, 0, -.2, -.2, W, fl, 0, 0, .8},
    {0, .22, 0, 0, 0, -.3, -.3, S, fl, 0, 0, 1},    {22, -.15, 0, -70, 0, .5, .5, S, op, 0, 0, 0},
    {38, -.05, 0, -180, 0, .8, .8, S, op, 1, 0, 0}, {39, 0, 0, -262, 0, .6, .6, H, gr, 2, 0, 0},
    {27, 0, 0, -330, 0, .4, .4, H, gr, 3, 0, 0},    {10, -.04, 0, -360, 0, .2, .2, H, gr, 4, 0, 0},
    {0, .20, 0, 0, 0, -.1, -.1, H, gr, 0, 0, 0},    {0, -.08, 0, 0, 0, .9, .9, H, gr, 0, 0, 0},
    {0, .04, 0, 0, 0, .8, .8, H, gr, 0, 0, 0},      {0, 0, 0, 0, 0, .5, .5, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, .2, .2, O, sm, 0, 0, 0},        {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, O, sm, 0, 0, 0},
};

double Wave(int frame, double phaseDeg) {
  return std::sin(2 * kPi * frame / kFramesPerStrip + Radians(phaseDeg));
}

// The idle loop: gentle breathing, swaying and one blink; seamless from 14 to 0.
Pose IdlePose(Character who, int f) {
  Pose p;
  switch (who) {
    case Character::kHour:
      p.squash = 0.022 * Wave(f, 0);
      p.swing = 7 * Wave(f, 60);
      p.armL = 0.05 * Wave(f, 30);
      p.armR = 0.05 * Wave(f, 30);
      p.blink = (f == 10) ? 1 : (f == 9 || f == 11) ? 0.5 : 0;
      break;
    case Character::kMinute:
      p.squash = 0.035 * Wave(f, 0);
      p.swing = 10 * Wave(f, 90);
      p.look = 0.6 * Wave(f, 0);
      p.armL = 0.08 * Wave(f, 90);
      p.armR = 0.08 * Wave(f, 90);
      p.blink = (f == 7) ? 1 : (f == 6 || f == 8) ? 0.5 : 0;
      break;
    case Character::kSecond:
      p.squash = 0.028 * Wave(f, 0);
      p.swing = 12 * Wave(f, 0);
      p.twitch = (f == 4) ? 1 : (f == 5) ? 0.5 : 0;
      p.blink = (f == 11) ? 1 : (f == 10 || f == 12) ? 0.5 : 0;
      break;
  }
  return p;
}

const Table& ActionTable(Character who, Strip strip) {
  bool big = strip == Strip::kBigRoll;
  switch (who) {
    case Character::kHour: return big ? kHourBigRoll : kHourRoll;
    case Character::kMinute: return big ? kMinuteBigRoll : kMinuteRoll;
    case Character::kSecond: break;
  }
  return big ? kSecondBigRoll : kSecondRoll;
}

}  // namespace

Pose StripPose(Character who, Strip strip, int frame) {
  Pose idle = IdlePose(who, frame);
  if (strip == Strip::kIdle) return idle;
  const Table& table = ActionTable(who, strip);
  const Key& k = table[frame];
  Pose p;
  double calm = kCalm[frame];
  p.lift = k.lift;
  p.squash = k.squash + calm * idle.squash;
  p.lean = k.lean;
  p.spin = k.spin;
  p.yaw = k.yaw;
  p.armL = k.armL + calm * idle.armL;
  p.armR = k.armR + calm * idle.armR;
  p.eyes = k.eyes;
  p.mouth = k.mouth;
  p.impact = k.impact;
  p.bigImpact = strip == Strip::kBigRoll;
  p.boost = k.boost;
  p.lookUp = k.lookUp;
  p.look = calm * idle.look;
  // Appendages trail the body: they bend against the vertical motion.
  double rise = frame > 0 ? k.lift - table[frame - 1].lift : 0;
  p.swing = calm * idle.swing - 0.9 * rise + 0.6 * k.lean;
  return p;
}

int FrameResourceId(Character who, Strip strip, int frame) {
  int base = who == Character::kHour ? 10000 : who == Character::kMinute ? 9000 : 8000;
  int offset = strip == Strip::kRoll ? 0 : strip == Strip::kBigRoll ? 100 : 200;
  return base + offset + frame;
}
