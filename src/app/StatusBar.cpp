#include "app/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>

#include "app/ElidedLabel.h"
#include "components/Colors.h"

// Panel 0 draws itself: red while the port is offline (its text then names
// the placeholder port "COMx"), button face otherwise. A long port path is
// cut in the middle, so its start and the line settings stay readable; the
// tooltip holds it whole.
class TStatusBar::TDrawnPanel : public TElidedLabel {
 public:
  explicit TDrawnPanel(QWidget* parent) : TElidedLabel(parent, Qt::ElideMiddle) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  // Room for one line of text below the 2-pixel offset.
  QSize minimumSizeHint() const override {
    return {0, fontMetrics().height() + 4 + 2 * frameWidth()};
  }
  QSize sizeHint() const override { return {175, minimumSizeHint().height()}; }
  void SetText(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    setToolTip(text);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect();
    const bool offline = text().contains(QLatin1String("COMx"));
    p.fillRect(r, ColorToQColor(offline ? clRed : clBtnFace, palette()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               ShownText());
  }
};

namespace {

// Long texts are cut at the end instead of widening the window.
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
  FPanel0 = new TDrawnPanel(panels);
  FPanel0->setFixedWidth(175);
  FPanel1 = SunkenLabel(panels, Qt::AlignHCenter);
  FPanel1->setFixedWidth(50);
  // The last panel takes what is left: its texts are longer than 50 pixels.
  FPanel2 = SunkenLabel(panels, Qt::AlignLeft);
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
    case 0: return FPanel0->text();
    case 1: return FPanel1->text();
    case 2: return FPanel2->text();
    default: return {};
  }
}

void TStatusBar::SetPanelText(int index, const QString& text) {
  switch (index) {
    case 0: FPanel0->SetText(text); break;
    case 1: FPanel1->setText(text); break;
    case 2: FPanel2->setText(text); break;
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
