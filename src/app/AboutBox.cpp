#include "app/AboutBox.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/VersionInfo.h"
#include "app/VersionResource.h"
#include "components/SecretPanel.h"

namespace {

// The makers' contact data: neutral placeholders of the project.
const char* const kAddress =
    "The Telquin developers\n"
    "Example Street 1\n"
    "00000 Example Town\n"
    "\n"
    "Phone:\t+00 000 0000000\n"
    "Fax:\t+00 000 0000001";
const char* const kEmail = "info@example.org";
const char* const kWeb = "www.example.org";

// The picture: a meter sending its beam, with the program's name.
QPixmap Logo(QSize size) {
  QPixmap pix(size);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
  QLinearGradient sky(box.topLeft(), box.bottomLeft());
  sky.setColorAt(0, QColor(0x1f, 0x3a, 0x60));
  sky.setColorAt(1, QColor(0x10, 0x20, 0x38));
  p.setPen(QColor(0x0b, 0x16, 0x28));
  p.setBrush(sky);
  p.drawRoundedRect(box, 6, 6);
  const qreal h = size.height();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd8, 0xdc, 0xe0));
  p.drawRoundedRect(QRectF(8, h * 0.58, 22, h * 0.26), 2, 2);
  p.setPen(QPen(QColor(0xff, 0x30, 0x30), 2));
  p.drawLine(QPointF(30, h * 0.71), QPointF(size.width() - 10, h * 0.71));
  p.setBrush(QColor(0xff, 0x30, 0x30));
  p.drawEllipse(QPointF(size.width() - 10, h * 0.71), 2.5, 2.5);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(qRound(h * 0.36));
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 2, size.width(), h * 0.55), Qt::AlignCenter, QStringLiteral("Telquin"));
  return pix;
}

// The credits panel's picture: the meter and its beam on white, the
// see-through colour (its bottom-left pixel).
QImage CreditsGlyph() {
  QImage img(64, 24, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x3a, 0x60));
  p.drawRoundedRect(QRectF(2, 5, 20, 14), 2, 2);
  p.setPen(QPen(QColor(0xe0, 0x20, 0x20), 2));
  p.drawLine(QPointF(22, 12), QPointF(60, 12));
  return img;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QPoint at) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->move(at);
  l->adjustSize();
  return l;
}

void MakeLink(QLabel* l) {
  QFont f = l->font();
  f.setUnderline(true);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, Qt::blue);
  l->setPalette(pal);
  l->setMouseTracking(true);
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : TAboutBox(parent, &ProgramVersionResource()) {}

TAboutBox::TAboutBox(QWidget* parent, const TVersionResource* resource) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Info"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(366, 279);
  OnOpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

  SecretPanel1 = new TSecretPanel(this);
  SecretPanel1->setObjectName(QStringLiteral("SecretPanel1"));
  SecretPanel1->setGeometry(8, 8, 349, 225);
  SecretPanel1->SetGlyph(CreditsGlyph());
  SecretPanel1->SetGlyphLayout(glGlyphTop);
  SecretPanel1->SetInterval(40);
  SecretPanel1->SetTextStyle(bvRaised);
  SecretPanel1->SetLines(CreditLines());
  SecretPanel1->OnDblClick = [this](TObject* Sender) { SecretPanel1DblClick(Sender); };

  Image1 = new QLabel(SecretPanel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(8, 17, 130, 65);
  Image1->setPixmap(Logo(QSize(130, 65)));
  ProductName = MakeLabel(SecretPanel1, QStringLiteral("ProductName"), QString(), {148, 16});
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  lb_Version = MakeLabel(SecretPanel1, QStringLiteral("lb_Version"), QString(), {148, 40});
  lb_Copyright = MakeLabel(SecretPanel1, QStringLiteral("lb_Copyright"), QString(), {148, 56});
  lb_adr = MakeLabel(SecretPanel1, QStringLiteral("lb_adr"), QString(), {8, 100});
  lb_adr->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1 = MakeLabel(SecretPanel1, QStringLiteral("Label1"), QStringLiteral("e-mail"), {8, 184});
  lb_email = MakeLabel(SecretPanel1, QStringLiteral("lb_email"), QString(), {48, 184});
  Label2 = MakeLabel(SecretPanel1, QStringLiteral("Label2"), QStringLiteral("web"), {8, 200});
  lb_web = MakeLabel(SecretPanel1, QStringLiteral("lb_web"), QString(), {48, 200});
  for (QLabel* link : {lb_email, lb_web}) {
    MakeLink(link);
    link->installEventFilter(this);
  }

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(140, 246, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  FormCreate(resource);
}

QStringList TAboutBox::CreditLines() {
  return {QString(),
          QString(),
          QStringLiteral("Software"),
          QStringLiteral("Telquin"),
          QString(),
          QStringLiteral("created by:"),
          QString(),
          QStringLiteral("The Telquin developers"),
          QStringLiteral("with the help of its testers"),
          QStringLiteral("and its users"),
          QString(),
          QString(),
          QStringLiteral("The Telquin project"),
          QStringLiteral("example.org"),
          QStringLiteral("2026")};
}

void TAboutBox::FormCreate(const TVersionResource* resource) {
  const TVersionInfo info(nullptr, resource);
  lb_Version->setText(QStringLiteral("Version %1.%2 (%3)")
                          .arg(info.MajorVersion())
                          .arg(info.MinorVersion())
                          .arg(info.Build()));
  ProductName->setText(info.ProductName());
  lb_Copyright->setText(info.LegalCopyright());
  ProductName->resize(193, ProductName->sizeHint().height());
  lb_Version->adjustSize();
  // A long notice takes a second line rather than running off the panel.
  lb_Copyright->setWordWrap(true);
  lb_Copyright->resize(193, lb_Copyright->heightForWidth(193));
}

void TAboutBox::FormShow() {
  lb_adr->setText(QString::fromUtf8(kAddress));
  lb_adr->resize(325, 85);
  lb_email->setText(QString::fromLatin1(kEmail));
  lb_web->setText(QString::fromLatin1(kWeb));
  for (QLabel* l : {lb_email, lb_web}) l->adjustSize();
}

void TAboutBox::FormClose() { SecretPanel1->SetActive(false); }

void TAboutBox::SecretPanel1DblClick(TObject*) {
  QFont f = SecretPanel1->font();
  f.setPointSize(8);
  SecretPanel1->setFont(f);
  SecretPanel1->SetActive(!SecretPanel1->Active());
}

void TAboutBox::lb_emailClick(QLabel*) {
  if (OnOpenUrl) OnOpenUrl(QUrl(QStringLiteral("mailto:") + lb_email->text()));
}

void TAboutBox::lb_webClick(QLabel*) {
  // The label shows the address without a scheme; the browser gets http.
  if (OnOpenUrl) OnOpenUrl(QUrl::fromUserInput(lb_web->text()));
}

void TAboutBox::lb_MouseMove(QLabel* Sender) { Sender->setCursor(Qt::PointingHandCursor); }

void TAboutBox::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TAboutBox::hideEvent(QHideEvent* event) {
  // However the box closes, it opens again with the info view.
  if (!event->spontaneous()) FormClose();
  QDialog::hideEvent(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  auto* label = qobject_cast<QLabel*>(watched);
  if (label == lb_email || label == lb_web) {
    if (event->type() == QEvent::MouseMove) {
      lb_MouseMove(label);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      if (label == lb_email)
        lb_emailClick(label);
      else
        lb_webClick(label);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
