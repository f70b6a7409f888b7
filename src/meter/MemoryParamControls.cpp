#include "meter/MemoryParamControls.h"

#include "meter/ModelTables.h"

TMemoryParamControls::TMemoryParamControls() {
  for (int d = 0; d < DeviceTypeCount; ++d)
    for (const TParamDef& p : ModelTable(static_cast<TDeviceType>(d)).params)
      for (const TPartDef& part : p.parts)
        if (!part.control.isEmpty()) FControls.insert(part.control, {part.items, p.dropDownList, {}, -1});
}

bool TMemoryParamControls::HasControl(const QString& name) const {
  return FControls.contains(name);
}

QString TMemoryParamControls::Text(const QString& name) const {
  const auto it = FControls.constFind(name);
  if (it == FControls.cend()) return {};
  if (!it->dropDownList) return it->text;
  return it->index >= 0 ? it->items[it->index] : QString();
}

void TMemoryParamControls::SetText(const QString& name, const QString& text) {
  const auto it = FControls.find(name);
  if (it == FControls.end()) return;
  if (it->dropDownList)
    it->index = static_cast<int>(it->items.indexOf(text));
  else
    it->text = text;
}

QStringList TMemoryParamControls::Items(const QString& name) const {
  return FControls.value(name).items;
}

int TMemoryParamControls::ItemIndex(const QString& name) const {
  const auto it = FControls.constFind(name);
  if (it == FControls.cend()) return -1;
  return it->dropDownList ? it->index : static_cast<int>(it->items.indexOf(it->text));
}

void TMemoryParamControls::SetItemIndex(const QString& name, int index) {
  const auto it = FControls.find(name);
  if (it == FControls.end()) return;
  const bool valid = index >= 0 && index < it->items.size();
  if (it->dropDownList)
    it->index = valid ? index : -1;
  else
    it->text = valid ? it->items[index] : QString();
}

bool TMemoryParamControls::IsDropDownList(const QString& name) const {
  return FControls.value(name).dropDownList;
}
