#pragma once
// Acting as the user on combo boxes and modal dialogs in widget tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <functional>

// The user picks the item `text` (what QComboBox does on a click in its list).
inline void Pick(QComboBox& box, const QString& text) {
  const int i = box.findText(text);
  ASSERT_GE(i, 0) << text.toStdString();
  box.setCurrentIndex(i);
  emit box.activated(i);
}

// Runs `act` on the first modal dialog of type Form once it is shown; `act`
// must close it. A dialog that never appears fails the test.
template <typename Form>
void WhenShown(std::function<void(Form&)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    if (auto* form = dynamic_cast<Form*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*form);
    } else if (++*tries > 1000) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "dialog not shown";
    }
  });
  timer->start(5);
}
