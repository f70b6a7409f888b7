#pragma once
// The about box: the program's name, version and legal notice from its
// version data, the makers' contact data with a mail and a web link, and,
// after a double click, the scrolling credits. Created once at start-up and
// shown modally by "Program Info" (F1).

#include <QDialog>
#include <QUrl>
#include <functional>

#include "platform/Component.h"

class QLabel;
class QPushButton;
class TSecretPanel;
struct TVersionResource;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // Reads the program's own version data.
  explicit TAboutBox(QWidget* parent = nullptr);
  // Reads `resource` instead (see TVersionInfo).
  TAboutBox(QWidget* parent, const TVersionResource* resource);

  void ShowModal() { exec(); }

  // Opens a link with the desktop's program for it; replaced in tests so
  // that nothing is launched. Returns whether it was opened.
  std::function<bool(const QUrl&)> OnOpenUrl;

  void FormCreate(const TVersionResource* resource);
  void FormShow();
  void FormClose();
  void SecretPanel1DblClick(TObject* Sender);
  void lb_emailClick(QLabel* Sender);
  void lb_webClick(QLabel* Sender);
  // Either link: the hand cursor over it.
  void lb_MouseMove(QLabel* Sender);

  // The credits: fifteen lines.
  static QStringList CreditLines();

  TSecretPanel* SecretPanel1;
  QLabel* Image1;
  QLabel* ProductName;
  QLabel* lb_Version;
  QLabel* lb_Copyright;
  QLabel* lb_adr;
  QLabel* Label1;
  QLabel* lb_email;
  QLabel* Label2;
  QLabel* lb_web;
  QPushButton* Button1;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
