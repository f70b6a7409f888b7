#pragma once
// Runs a closing step when the scope is left, by return or by exception.

#include <utility>

template <typename F>
class TScopeExit {
 public:
  explicit TScopeExit(F f) : FStep(std::move(f)) {}
  ~TScopeExit() { FStep(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F FStep;
};
