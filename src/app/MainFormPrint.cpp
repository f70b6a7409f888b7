// The window's printing: the diagram page, a file through the print
// service, and the printer setup.

#include <QDateTime>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <stdexcept>

#include "app/Chart.h"
#include "app/DiagramPage.h"
#include "app/MainForm.h"
#include "meter/ScopeExit.h"
#include "platform/PrintFile.h"

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
  QString error;
  if (!platform::PrintFile(*file, &error)) ShowMessage(error);
}

void TMainForm::acPrinterSetupExecute(TObject*) {
  QPageSetupDialog dialog(&Printer(), this);
  ExecDialog(dialog);
}
