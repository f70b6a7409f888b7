#pragma once
// One panel of the status bar: a sunken frame that draws its own one-line
// text and cuts what does not fit with an ellipsis. Its size never depends on
// the text, so a new text lays nothing out, and it repaints at the next frame,
// once however often the text changed meanwhile (the line counter changes
// with every received line). The port panel draws itself: red while the port
// is offline (its text then names the placeholder port "COMx"), button face
// otherwise, its text at (2, 2). A long port path is cut in the middle and
// the line settings after it stay whole; the tooltip holds the whole text.

#include <QFrame>
#include <QString>

#include "platform/FrameRequest.h"

class TStatusPanel : public QFrame {
  Q_OBJECT
  // What is drawn, for tests and accessibility.
  Q_PROPERTY(QString shownText READ ShownText)

 public:
  enum TKind { pkPort, pkText };
  TStatusPanel(QWidget* parent, TKind kind, Qt::Alignment alignment = Qt::AlignLeft);

  // The whole text, at once; the screen follows at the next frame.
  QString Text() const { return FText; }
  void SetText(const QString& text);
  // The text as drawn in the current width.
  QString ShownText() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TKind FKind;
  Qt::Alignment FAlignment;
  QString FText;
  platform::FrameRequest FRepaint{[this] { update(); }};
};
