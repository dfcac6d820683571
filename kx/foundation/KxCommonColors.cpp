// The colour arithmetic of unit KxCommon: HSL on a 0..240 scale.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classlib/Scopes.h"
#include "kx/foundation/KxCommon.h"

// ---------------------------------------------------------------------------
// Colour arithmetic

namespace {

uint8_t RoundByte(double v) {
  // Ties go to the even neighbour, as the platform's Round does.
  double r = std::nearbyint(v);
  return static_cast<uint8_t>(std::clamp(r, 0.0, 255.0));
}

}  // namespace

void ColorToHSL(TColor color, uint8_t& hue, uint8_t& saturation, uint8_t& lightness) {
  TColor rgb = ColorToRGB(color);
  double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double l = (mx + mn) / 2, h = 0, s = 0;
  if (mx != mn) {
    double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx) h = (g - b) / d;
    else if (g != mx) h = 4 + (r - g) / d;
    else h = 2 + (b - r) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  hue = RoundByte(h * 240);
  saturation = RoundByte(s * 240);
  lightness = RoundByte(l * 240);
}

uint8_t ColorHue(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return h;
}

uint8_t ColorSaturation(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return s;
}

uint8_t ColorLuminance(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return l;
}

TColor HSLtoColor(uint8_t hue, uint8_t saturation, uint8_t lightness) {
  double l = lightness / 240.0, s = saturation / 240.0;
  double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return clBlack;
  double m1 = 2 * l - m2;
  double sector = hue / 239.0 * 6;
  int k = static_cast<int>(sector);
  double f = sector - k;
  double up = m1 + (m2 - m1) * f, down = m2 - (m2 - m1) * f;
  double c[3];
  switch (k) {
    case 1: c[0] = down, c[1] = m2, c[2] = m1; break;
    case 2: c[0] = m1, c[1] = m2, c[2] = up; break;
    case 3: c[0] = m1, c[1] = down, c[2] = m2; break;
    case 4: c[0] = up, c[1] = m1, c[2] = m2; break;
    case 5: c[0] = m2, c[1] = m1, c[2] = down; break;
    default: c[0] = m2, c[1] = up, c[2] = m1; break;
  }
  // Saturation or lightness beyond 240 takes a channel outside 0..1; each is
  // clamped at both ends, never wrapped into a byte.
  uint8_t ch[3];
  for (int i = 0; i < 3; ++i) ch[i] = RoundByte(std::clamp(c[i], 0.0, 1.0) * 255);
  return static_cast<TColor>(RGB(ch[0], ch[1], ch[2]));
}

TColor DarkerColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<uint8_t>(std::max(0, l - amount)));
}

TColor LighterColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<uint8_t>(std::min(255, l + amount)));
}

TColor AdjustColor(TColor color, int amount) {
  if (amount < 0) return DarkerColor(color, static_cast<uint8_t>(std::min(255, -amount)));
  if (amount > 0) return LighterColor(color, static_cast<uint8_t>(std::min(255, amount)));
  return color;
}

TColor BlendColors(TColor first, TColor second, uint8_t weight) {
  TColor a = ColorToRGB(first), b = ColorToRGB(second);
  double w = weight / 255.0;
  auto mix = [w](int x, int y) { return RoundByte(x * w + y * (1 - w)); };
  return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                 mix(GetBValue(a), GetBValue(b))));
}

bool ColorsTooClose(TColor first, TColor second) {
  uint8_t h1, s1, l1, h2, s2, l2;
  ColorToHSL(first, h1, s1, l1);
  ColorToHSL(second, h2, s2, l2);
  return std::abs(h1 - h2) < 20 && std::abs(l1 - l2) < 60;
}

bool FullColorSupport() {
  TScreenDC screen;
  return GetDeviceCaps(screen.Get(), NUMCOLORS) == -1;
}
