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
  FPanels[0] = new TStatusPanel(panels, TStatusPanel::pkPort);
  FPanels[0]->setFixedWidth(175);
  FPanels[1] = new TStatusPanel(panels, TStatusPanel::pkText, Qt::AlignHCenter);
  FPanels[1]->setFixedWidth(50);
  // The last panel takes what is left: its texts are longer than 50 pixels.
  FPanels[2] = new TStatusPanel(panels, TStatusPanel::pkText, Qt::AlignLeft);
  FPanels[2]->setMinimumWidth(50);
  row->addWidget(FPanels[0]);
  row->addWidget(FPanels[1]);
  row->addWidget(FPanels[2], 1);
  FPages->addWidget(panels);

  FSimple = SunkenLabel(FPages, Qt::AlignLeft);
  FPages->addWidget(FSimple);
  addWidget(FPages, 1);
}

QString TStatusBar::PanelText(int index) const {
  const TStatusPanel* panel = FindPanel(index);
  return panel ? panel->Text() : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
  if (TStatusPanel* panel = FindPanel(index)) panel->SetText(text);
}

QWidget* TStatusBar::Panel(int index) const { return FindPanel(index); }

TStatusPanel* TStatusBar::FindPanel(int index) const {
  return index >= 0 && index < PanelCount ? FPanels[index] : nullptr;
}

bool TStatusBar::SimplePanel() const { return FPages->currentWidget() == FSimple; }

void TStatusBar::SetSimplePanel(bool on) { FPages->setCurrentIndex(on ? 1 : 0); }

QString TStatusBar::SimpleText() const { return FSimple->text(); }

void TStatusBar::SetSimpleText(const QString& text) { FSimple->setText(text); }
