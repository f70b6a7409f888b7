#include "app/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>

#include "components/Colors.h"
#include "platform/FrameRequest.h"

// A sunken panel that draws its own text. Its size never depends on the
// text, so a new text does not lay out the bar; the panel repaints at the next
// frame, once however often the text changed meanwhile (panel 1 counts every
// received line). Panel 0 is owner-drawn: red while the port is offline (its
// text then names the placeholder port "COMx"), button face otherwise.
class TStatusBar::TPanel : public QFrame {
 public:
  TPanel(QWidget* parent, Qt::Alignment align, bool ownerDraw)
      : QFrame(parent), FAlign(align), FOwnerDraw(ownerDraw) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  QString Text() const { return FText; }
  // Room for one line of text below the 2-pixel offset.
  QSize minimumSizeHint() const override {
    return {0, fontMetrics().height() + 4 + 2 * frameWidth()};
  }
  QSize sizeHint() const override { return {175, minimumSizeHint().height()}; }
  void SetText(const QString& text) {
    if (text == FText) return;
    FText = text;
    if (FOwnerDraw) setToolTip(text);
    FRepaint.Request();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QFrame::paintEvent(e);
    QPainter p(this);
    QRect r = contentsRect();
    if (FOwnerDraw) {
      const bool offline = FText.contains(QLatin1String("COMx"));
      p.fillRect(r, ColorToQColor(offline ? clRed : clBtnFace, palette()));
      p.setPen(palette().color(QPalette::WindowText));
      p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FText);
      return;
    }
    // Placed as a framed label places its text: half an x in from a side it
    // is aligned to.
    const int indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (FAlign & Qt::AlignLeft) r.setLeft(r.left() + indent);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, FAlign | Qt::AlignVCenter | Qt::TextSingleLine, FText);
  }

 private:
  Qt::Alignment FAlign;
  bool FOwnerDraw;
  QString FText;
  platform::FrameRequest FRepaint{[this] { update(); }};
};

namespace {

QLabel* SunkenLabel(QWidget* parent, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  l->setAlignment(align | Qt::AlignVCenter);
  l->setTextFormat(Qt::PlainText);
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
  FPanel0 = new TPanel(panels, Qt::AlignLeft, true);
  FPanel0->setFixedWidth(175);
  FPanel1 = new TPanel(panels, Qt::AlignHCenter, false);
  FPanel1->setFixedWidth(50);
  // The last panel takes what is left: its texts are longer than 50 pixels.
  FPanel2 = new TPanel(panels, Qt::AlignLeft, false);
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
