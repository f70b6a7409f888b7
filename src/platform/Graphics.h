#pragma once
// Colour and window-style types shared by the widgets.

#include <cstdint>

// $00BBGGRR: red in the low byte, blue in the high byte.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
