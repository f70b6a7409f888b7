#pragma once
// A one-line label whose text never widens its window: it asks for no more
// width than a few characters and shows what does not fit elided. text()
// stays the whole text.

#include <QLabel>

class TElidedLabel : public QLabel {
  Q_OBJECT
  // What is drawn, for tests and accessibility.
  Q_PROPERTY(QString shownText READ ShownText)

 public:
  explicit TElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideRight);

  // The text as drawn in the current width.
  QString ShownText() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::TextElideMode FMode;
};
