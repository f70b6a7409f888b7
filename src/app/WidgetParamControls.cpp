#include "app/WidgetParamControls.h"

#include <QComboBox>

namespace {

QStringList ItemsOf(const QComboBox* c) {
  QStringList items;
  items.reserve(c->count());
  for (int i = 0; i < c->count(); ++i) items.append(c->itemText(i));
  return items;
}

// Sets the edit text of a simple combo and points its list at the equal
// item, so that picking that item from the list again is seen as a change.
void SetEdit(QComboBox* c, const QString& text) {
  c->setCurrentIndex(static_cast<int>(ItemsOf(c).indexOf(text)));
  c->setEditText(text);
}

}  // namespace

void TWidgetParamControls::Add(QComboBox* combo) { FCombos.insert(combo->objectName(), combo); }

bool TWidgetParamControls::HasControl(const QString& name) const { return FCombos.contains(name); }

QString TWidgetParamControls::Text(const QString& name) const {
  const QComboBox* c = FCombos.value(name);
  if (!c) return {};
  if (c->isEditable()) return c->currentText();
  return c->currentIndex() >= 0 ? c->itemText(c->currentIndex()) : QString();
}

void TWidgetParamControls::SetText(const QString& name, const QString& text) {
  QComboBox* c = FCombos.value(name);
  if (!c) return;
  if (c->isEditable())
    SetEdit(c, text);
  else
    c->setCurrentIndex(static_cast<int>(ItemsOf(c).indexOf(text)));
}

QStringList TWidgetParamControls::Items(const QString& name) const {
  const QComboBox* c = FCombos.value(name);
  return c ? ItemsOf(c) : QStringList();
}

int TWidgetParamControls::ItemIndex(const QString& name) const {
  const QComboBox* c = FCombos.value(name);
  if (!c) return -1;
  if (c->isEditable()) return static_cast<int>(ItemsOf(c).indexOf(c->currentText()));
  return c->currentIndex();
}

void TWidgetParamControls::SetItemIndex(const QString& name, int index) {
  QComboBox* c = FCombos.value(name);
  if (!c) return;
  const bool valid = index >= 0 && index < c->count();
  if (c->isEditable())
    SetEdit(c, valid ? c->itemText(index) : QString());
  else
    c->setCurrentIndex(valid ? index : -1);
}
