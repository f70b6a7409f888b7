#include "app/ParamPage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/ActionButton.h"
#include "app/SpinButton.h"
#include "app/WidgetParamControls.h"
#include "meter/SpinSteps.h"

namespace {

QComboBox* MakeCombo(const TPartDef& part, bool dropDownList, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(part.control);
  c->setEditable(!dropDownList);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->addItems(part.items);
  c->setCurrentIndex(-1);  // starts empty, like the model object
  c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c->setMinimumContentsLength(3);
  c->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  c->setToolTip(part.hint.join(QLatin1Char('\n')));
  c->setStatusTip(part.hint.join(QLatin1Char(' ')));
  c->setFocusPolicy(Qt::StrongFocus);
  // The list may be wider than the narrow box.
  int widest = 0;
  for (const QString& item : part.items)
    widest = std::max(widest, c->fontMetrics().horizontalAdvance(item));
  if (widest > 0) c->view()->setMinimumWidth(widest + 30);
  return c;
}

TSpinButton* MakeSpin(const TSpinDef& def, TWidgetParamControls& controls, QWidget* parent) {
  auto* s = new TSpinButton(parent);
  s->setObjectName(def.spin);
  s->OnUpClick = [&controls, def](TObject*) { StepSpin(controls, def, true); };
  s->OnDownClick = [&controls, def](TObject*) { StepSpin(controls, def, false); };
  return s;
}

const TSpinDef* SpinFor(const QString& control) {
  for (const TSpinDef& s : SpinButtons())
    if (s.control == control) return &s;
  return nullptr;
}

}  // namespace

TParamPage::TParamPage(const TModelTable& table, TWidgetParamControls& controls,
                       QAction* setParameter, QAction* getParameter, QWidget* parent)
    : QWidget(parent) {
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(0);

  FScrollBox = new QScrollArea(this);
  FScrollBox->setObjectName(QStringLiteral("ScrollBox"));
  FScrollBox->setWidgetResizable(true);
  FScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* box = new QWidget(FScrollBox);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(3, 4, 2, 4);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(3);
  // Columns: code, then two (combo, spin) pairs; parts fill them in pairs.
  // A spin column takes room only on pages that have spins in it.
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  int row = 0;
  for (const TParamDef& p : table.params) {
    int placed = 0;
    for (const TPartDef& part : p.parts) {
      if (part.control.isEmpty()) continue;  // held in the model object only
      if (placed == 0) {
        auto* code = new QLabel(p.code, box);
        code->setToolTip(part.hint.value(0));
        grid->addWidget(code, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
      }
      const int r = row + placed / 2;
      const int col = 1 + 2 * (placed % 2);
      QComboBox* combo = MakeCombo(part, p.dropDownList, box);
      combo->installEventFilter(this);
      controls.Add(combo);
      grid->addWidget(combo, r, col);
      if (const TSpinDef* spin = SpinFor(part.control))
        grid->addWidget(MakeSpin(*spin, controls, box), r, col + 1, Qt::AlignVCenter);
      ++placed;
    }
    row += (placed + 1) / 2;
  }
  grid->setRowStretch(row, 1);
  FScrollBox->setWidget(box);
  page->addWidget(FScrollBox, 1);

  auto* bottom = new QWidget(this);
  bottom->setFixedHeight(41);
  auto* buttons = new QHBoxLayout(bottom);
  buttons->setContentsMargins(8, 8, 8, 8);
  for (auto [caption, action] : {std::pair{"Set", setParameter}, {"Get", getParameter}}) {
    auto* b = new TActionButton(QString::fromLatin1(caption), action, bottom);
    b->setFixedSize(75, 25);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  page->addWidget(bottom);
}

bool TParamPage::eventFilter(QObject* watched, QEvent* event) {
  // Scrolling the box over a combo box must not change its value: the wheel
  // steps a combo box only while it has the focus.
  if (event->type() == QEvent::Wheel) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && !w->hasFocus()) {
      QCoreApplication::sendEvent(FScrollBox->verticalScrollBar(), event);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
