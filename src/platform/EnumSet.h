#pragma once
// A small set of enumeration values, a flag set over an enumeration: one bit per
// ordinal, value semantics, cheap to copy. Ordinals must be below 32.

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <typename E>
class TSet {
 public:
  using Bits = std::uint32_t;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }
  static constexpr TSet FromBits(Bits bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }

  constexpr Bits ToBits() const { return FBits; }
  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr int Count() const { return __builtin_popcount(FBits); }

  constexpr TSet& Include(E v) {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet& operator+=(TSet o) {
    FBits |= o.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet o) {
    FBits &= ~o.FBits;
    return *this;
  }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Bits Bit(E v) {
    return Bits{1} << static_cast<std::underlying_type_t<E>>(v);
  }
  Bits FBits = 0;
};
