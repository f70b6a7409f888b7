// The window's printing: the diagram page, a file through the print
// service, and the printer setup.

#include <QDateTime>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <stdexcept>

#include "app/Chart.h"
#include "app/DiagramPage.h"
#include "app/MainForm.h"
#include "meter/ScopeExit.h"
#include "platform/PrintService.h"

namespace {
// The chart is drawn at this size and stretched onto the page, so its fonts
// and lines grow with the page as a whole.
constexpr QSize kChartPicture(1024, 724);

std::runtime_error PrintError(const QPrinter& printer, const char* what) {
  const QString target =
      printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  return std::runtime_error(
      QStringLiteral("Printing on \"%1\" failed: %2").arg(target, QLatin1String(what)).toStdString());
}
}  // namespace

QPrinter& TMainForm::Printer() {
  if (!FPrinter) FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *FPrinter;
}

void TMainForm::acPrintGrafikExecute(TObject*) {
  QPrinter& printer = Printer();
  QPrintDialog dialog(&printer, this);
  if (ExecDialog(dialog) != QDialog::Accepted) return;
  BeginBusyCursor();
  TScopeExit restore([this] { EndBusyCursor(); });
  const QPicture chart = Chart1->ToPicture(kChartPicture.width(), kChartPicture.height());
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter painter;
  if (!painter.begin(&printer)) throw PrintError(printer, "the job could not be started");
  try {
    PaintDiagramPage(painter, windowTitle(), DiagramDateLine(QDateTime::currentDateTime()), chart,
                     kChartPicture);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
      throw PrintError(printer, "the page could not be finished");
  } catch (...) {
    printer.abort();
    if (painter.isActive()) painter.end();
    throw;
  }
}

void TMainForm::acPrintExecute(TObject*) {
  const std::optional<QString> file =
      ExecuteOpenDialog({QString(), QStringLiteral("txt"), QString(), 0});
  if (!file) return;
  if (!FPrintService) FPrintService = std::make_unique<platform::PrintService>();
  // The service answers later; meanwhile the meter's lines keep coming in.
  FPrintService->PrintFile(*file, [this](const QString& error) {
    if (!error.isEmpty()) ShowMessage(error);
  });
}

// Qt's page setup offers no choice of printer (and refuses printers other
// than the system's own), so the setup is the print dialog: its OK only
// stores the choice on the window's printer, it prints nothing.
void TMainForm::acPrinterSetupExecute(TObject*) {
  QPrintDialog dialog(&Printer(), this);
  dialog.setWindowTitle(QStringLiteral("Printer Setup"));
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  ExecDialog(dialog);
}
