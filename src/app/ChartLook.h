#pragma once
// The settings of the diagram that the diagram setup pushes into it: point
// markers, stairs, the value axis range and the mouse permissions. The chart
// implements it; tests record the calls to see their order.

class IChartLook {
 public:
  virtual ~IChartLook() = default;
  virtual void SetPointerVisible(bool on) = 0;
  virtual void SetStairs(bool on) = 0;
  virtual void SetLeftAxisAutomatic(bool on) = 0;
  virtual void SetLeftAxisMinimum(double v) = 0;
  virtual void SetLeftAxisMaximum(double v) = 0;
  virtual void SetAllowZoom(bool on) = 0;
  virtual void SetAllowPanning(bool on) = 0;
};
