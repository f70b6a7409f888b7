#include "app/SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Arrow(QWidget* parent, Qt::ArrowType type) {
  auto* b = new QToolButton(parent);
  b->setArrowType(type);
  b->setAutoRepeat(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedSize(15, 11);
  b->setIconSize(QSize(7, 7));
  return b;
}

}  // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  FUp = Arrow(this, Qt::UpArrow);
  FDown = Arrow(this, Qt::DownArrow);
  layout->addWidget(FUp);
  layout->addWidget(FDown);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(FUp, &QToolButton::clicked, this, [this] {
    if (OnUpClick) OnUpClick(this);
  });
  connect(FDown, &QToolButton::clicked, this, [this] {
    if (OnDownClick) OnDownClick(this);
  });
}
