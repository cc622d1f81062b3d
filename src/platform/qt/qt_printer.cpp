#include "platform/qt/qt_printer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringDecoder>
#include <cmath>
#include <cstring>

namespace kelpie {

namespace {

QString fromBytes(const std::string& bytes) {
  QStringDecoder decode("windows-1252");
  return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool installed(const QString& family) {
  const QStringList families = QFontDatabase::families();
  return families.contains(family, Qt::CaseInsensitive);
}

// A job name made fit to stand in a file name.
std::string safeFileText(const std::string& text) {
  std::string safe = text;
  for (char& c : safe) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr) c = '_';
  }
  return safe;
}

}  // namespace

QtPrinter::QtPrinter(std::function<std::string()> folder, std::function<Date()> today)
    : folder_(std::move(folder)), today_(std::move(today)) {}

void QtPrinter::setJobName(const std::string& name) { jobName_ = name; }

void QtPrinter::setFont(const std::string& name, int pointSize, bool bold, bool italic,
                        bool underline) {
  family_ = name;
  pointSize_ = pointSize;
  bold_ = bold;
  italic_ = italic;
  underline_ = underline;
}

void QtPrinter::printLine(const std::string& text) { lines_.push_back(text); }

std::string QtPrinter::familyFor(const std::string& requested) {
  const QString wanted = QString::fromStdString(requested);
  if (installed(wanted)) return requested;
  if (installed(QStringLiteral("Liberation Mono"))) return "Liberation Mono";
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family().toStdString();
}

bool QtPrinter::render(QPrinter& printer) const {
  printer.setDocName(fromBytes(jobName_));
  printer.setCreator(QStringLiteral("Kelpie"));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont font(QString::fromStdString(familyFor(family_)));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(pointSize_ > 0 ? pointSize_ : 12);
  font.setBold(bold_);
  font.setItalic(italic_);
  font.setUnderline(underline_);
  painter.setFont(font);
  const QFontMetricsF metrics(painter.font(), painter.device());

  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double lineHeight = metrics.lineSpacing();
  const double charWidth = metrics.horizontalAdvance(QLatin1Char('M'));
  // A line longer than the page is carried on in the next line rather than cut off.
  const auto perLine = static_cast<qsizetype>(
      std::max(1.0, charWidth > 0 ? std::floor(page.width() / charWidth) : 80.0));
  double y = 0;
  auto put = [&](const QString& text) {
    if (y > 0 && y + lineHeight > page.height()) {
      if (!printer.newPage()) return false;
      y = 0;
    }
    painter.drawText(QPointF(0, y + metrics.ascent()), text);
    y += lineHeight;
    return true;
  };
  for (const std::string& line : lines_) {
    const QString text = fromBytes(line);
    qsizetype from = 0;
    do {
      if (!put(text.mid(from, perLine))) {
        painter.end();
        return false;
      }
      from += perLine;
    } while (from < text.size());
  }
  return painter.end();
}

std::string QtPrinter::pdfPathFor(const std::string& folder) const {
  const Date d = today_ ? today_()
                        : Date{QDate::currentDate().year(), QDate::currentDate().month(),
                               QDate::currentDate().day()};
  const QString date = QDate(d.year, d.month, d.day).toString(QStringLiteral("yyyy-MM-dd"));
  const QDir dir(QFile::decodeName(QByteArray::fromStdString(folder)));
  const QString base = QString::fromLatin1(safeFileText(jobName_)) + QLatin1Char(' ') + date;
  // A second printout on the same day keeps the first one's file.
  QString path = dir.filePath(base + QStringLiteral(".pdf"));
  for (int n = 2; QFileInfo::exists(path); ++n)
    path = dir.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
  return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

std::string QtPrinter::endDoc(bool& ok) {
  lastPdf_.clear();
  std::string note;
  const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  if (!pdfOnly_ && !printerInfo.isNull()) {
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    ok = render(printer);
    if (!ok) note = "Kelpie could not print on " + printerInfo.printerName().toStdString() + ".";
  } else {
    const std::string path = pdfPathFor(folder_ ? folder_() : std::string("."));
    const QString target = QFile::decodeName(QByteArray::fromStdString(path));
    // Written under a temporary name and renamed when whole, so no half PDF is left behind.
    const QString part = target + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(part);
    ok = render(printer) && QFile::rename(part, target);
    if (ok) {
      lastPdf_ = path;
      note = "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + path;
    } else {
      QFile::remove(part);
      note = "No printer is set up, and Kelpie could not save the pages as " + path + ".";
    }
  }
  lines_.clear();
  return note;
}

}  // namespace kelpie
