#include "app/ModelLook.h"

#include "meter/MeterView.h"
#include "meter/ModelTables.h"

void ApplyModelLook(IMeterView& view, TDeviceType device) {
  const TModelTable& t = ModelTable(device);
  view.SetOutputVisible(2, false);
  view.SetOutputVisible(3, false);
  view.SetCaption(t.caption);
  view.ShowModelPages(device, device, t.grafikPage);
  for (const QString& a : ModelActions()) view.SetActionVisible(a, t.visibleActions.contains(a));
  for (int i = 2; i <= t.outputs; ++i) view.SetOutputVisible(i, true);
  view.SetGaugeRanges(t.gauge);
}
