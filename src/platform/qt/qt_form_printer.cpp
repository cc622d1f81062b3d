#include "platform/qt/qt_form_printer.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <filesystem>
#include <functional>

#include "platform/qt/text1252.h"

namespace kelpie {

namespace {

// Widths are measured on a large font and scaled, so they do not depend on a device's hinting.
constexpr int kMeasureSize = 1000;

QFont formFont(bool bold, int pixels) {
  const bool liberation = QFontDatabase::families().contains(QStringLiteral("Liberation Sans"));
  QFont f(liberation ? QStringLiteral("Liberation Sans")
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  f.setStyleHint(QFont::SansSerif);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QString nativePath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

QtFormPrinter::QtFormPrinter()
    : regular_(formFont(false, kMeasureSize)), bold_(formFont(true, kMeasureSize)) {}

QPageSize::PageSizeId QtFormPrinter::paperId() const {
  if (forced_) return *forced_;
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (!printer.isNull()) {
    const QPageSize::PageSizeId id = printer.defaultPageSize().id();
    if (id == QPageSize::A4 || id == QPageSize::Letter) return id;
  }
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                            : QPageSize::A4;
}

void QtFormPrinter::paper(double& width, double& height) {
  const QSizeF size = QPageSize::size(paperId(), QPageSize::Point);
  width = size.width();
  height = size.height();
}

double QtFormPrinter::textWidth(const std::string& text, double size, bool bold) {
  const QFontMetricsF metrics(bold ? bold_ : regular_);
  return metrics.horizontalAdvance(fromBytes(text)) * size / kMeasureSize;
}

void QtFormPrinter::draw(QPainter& painter, const Sheet& sheet, double k,
                         const std::function<bool()>& newPage) const {
  painter.setRenderHint(QPainter::Antialiasing);
  for (size_t p = 0; p < sheet.pages.size(); ++p) {
    if (p > 0 && !newPage()) return;
    const SheetPage& page = sheet.pages[p];
    for (const SheetLine& l : page.lines) {
      painter.setPen(QPen(Qt::black, l.width * k, Qt::SolidLine, Qt::SquareCap));
      painter.drawLine(QPointF(l.x1 * k, l.y1 * k), QPointF(l.x2 * k, l.y2 * k));
    }
    painter.setPen(Qt::black);
    for (const SheetText& t : page.texts) {
      painter.setFont(formFont(t.bold, qRound(t.size * k)));
      painter.drawText(QPointF(t.x * k, t.y * k), fromBytes(t.text));
    }
  }
}

bool QtFormPrinter::savePdf(const Sheet& sheet, const std::string& path, std::string* error) {
  const QString target = nativePath(path);
  // Written under a temporary name and renamed when whole, so no half PDF is left behind.
  const QString part = target + QStringLiteral(".part");
  bool ok = false;
  {
    QPdfWriter writer(part);
    writer.setPageSize(QPageSize(QSizeF(sheet.width, sheet.height), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(fromBytes(sheet.title));
    writer.setCreator(QStringLiteral("Kelpie"));
    QPainter painter;
    if (painter.begin(&writer)) {
      draw(painter, sheet, writer.resolution() / 72.0, [&writer] { return writer.newPage(); });
      ok = painter.end();
    }
  }
  std::error_code ec;
  if (ok) std::filesystem::rename(QFile::encodeName(part).toStdString(), path, ec);
  if (ok && !ec) return true;
  QFile::remove(part);
  if (error) *error = "the file could not be written";
  return false;
}

bool QtFormPrinter::print(const Sheet& sheet, std::string* error) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    if (error)
      *error = "No printer is set up. Save PDF keeps the form as a PDF file to print later.";
    return false;
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QSizeF(sheet.width, sheet.height), QPageSize::Point));
  printer.setFullPage(true);
  printer.setDocName(fromBytes(sheet.title));
  printer.setCreator(QStringLiteral("Kelpie"));
  QPainter painter;
  bool ok = painter.begin(&printer);
  if (ok) {
    draw(painter, sheet, printer.resolution() / 72.0, [&printer] { return printer.newPage(); });
    ok = painter.end();
  }
  if (!ok && error) *error = "Kelpie could not print on " + info.printerName().toStdString() + ".";
  return ok;
}

}  // namespace kelpie
