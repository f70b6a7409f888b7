#pragma once
// Window border and scroll-bar styles of the controls.

#include <cstdint>

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// Horizontal alignment of a control's text.
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// A panel's bevel, and the relief of a text drawn with a highlight copy.
enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
