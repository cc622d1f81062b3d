// The ICS forms on Qt: their ruled pages drawn in Liberation Sans (it has every Windows-1252
// character) on a PDF file or the default printer, on Letter or A4 as the printer or the locale
// has it.
#pragma once

#include <QFont>
#include <QPageSize>
#include <optional>

#include "platform/seams.h"

class QPainter;

namespace kelpie {

class QtFormPrinter : public FormPrinter {
 public:
  QtFormPrinter();
  // Lays the forms out on this paper whatever the printer and the locale say (tests).
  void setPaper(QPageSize::PageSizeId id) { forced_ = id; }

  void paper(double& width, double& height) override;
  double textWidth(const std::string& text, double size, bool bold) override;
  bool savePdf(const Sheet& sheet, const std::string& path, std::string* error) override;
  bool print(const Sheet& sheet, std::string* error) override;

 private:
  QPageSize::PageSizeId paperId() const;
  void draw(QPainter& painter, const Sheet& sheet, double dotsPerPoint,
            const std::function<bool()>& newPage) const;

  std::optional<QPageSize::PageSizeId> forced_;
  QFont regular_, bold_;  // at kMeasureSize pixels: widths scale from them
};

}  // namespace kelpie
