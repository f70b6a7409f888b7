#include "app/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>

#include "app/ElidedLabel.h"
#include "app/StatusPanel.h"

namespace {

// The hint: long texts are cut at the end instead of widening the window.
TElidedLabel* SunkenLabel(QWidget* parent, Qt::Alignment align) {
  auto* l = new TElidedLabel(parent);
  l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  l->setAlignment(align | Qt::AlignVCenter);
  return l;
}

}  // namespace

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusBar"));
  FPages = new QStackedWidget(this);

  auto* panels = new QWidget(FPages);
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  FPanel0 = new TStatusPanel(panels, TStatusPanel::pkPort);
  FPanel0->setFixedWidth(175);
  FPanel1 = new TStatusPanel(panels, TStatusPanel::pkText, Qt::AlignHCenter);
  FPanel1->setFixedWidth(50);
  // The last panel takes what is left: its texts are longer than 50 pixels.
  FPanel2 = new TStatusPanel(panels, TStatusPanel::pkText, Qt::AlignLeft);
  FPanel2->setMinimumWidth(50);
  row->addWidget(FPanel0);
  row->addWidget(FPanel1);
  row->addWidget(FPanel2, 1);
  FPages->addWidget(panels);

  FSimple = SunkenLabel(FPages, Qt::AlignLeft);
  FPages->addWidget(FSimple);
  addWidget(FPages, 1);
}

QString TStatusBar::PanelText(int index) const {
  switch (index) {
    case 0: return FPanel0->Text();
    case 1: return FPanel1->Text();
    case 2: return FPanel2->Text();
    default: return {};
  }
}

void TStatusBar::SetPanelText(int index, const QString& text) {
  switch (index) {
    case 0: FPanel0->SetText(text); break;
    case 1: FPanel1->SetText(text); break;
    case 2: FPanel2->SetText(text); break;
    default: break;
  }
}

QWidget* TStatusBar::Panel(int index) const {
  switch (index) {
    case 0: return FPanel0;
    case 1: return FPanel1;
    case 2: return FPanel2;
    default: return nullptr;
  }
}

bool TStatusBar::SimplePanel() const { return FPages->currentWidget() == FSimple; }

void TStatusBar::SetSimplePanel(bool on) { FPages->setCurrentIndex(on ? 1 : 0); }

QString TStatusBar::SimpleText() const { return FSimple->text(); }

void TStatusBar::SetSimpleText(const QString& text) { FSimple->setText(text); }
