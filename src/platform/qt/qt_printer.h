// The printer seam on Qt: lines of Windows-1252 text in a fixed-pitch font, sent as one
// document to the default printer, or, where no printer is set up, saved as a PDF file in the
// log folder so that the operator always gets the pages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/seams.h"

class QPrinter;

namespace kelpie {

class QtPrinter : public Printer {
 public:
  // folder gives the folder for PDF files (LogFolder) when a document ends; today gives the
  // date in the PDF's name (the system's date when not given).
  explicit QtPrinter(std::function<std::string()> folder, std::function<Date()> today = {});

  // Names the next document (the print job, and the PDF file: name, a space, the date as
  // YYYY-MM-DD, ".pdf"). Until it is set the name is "Kelpie printout".
  void setJobName(const std::string& name) override;
  // Always saves a PDF file, even where a printer is set up.
  void setPdfOnly(bool on) { pdfOnly_ = on; }
  // The PDF file the last document went to, or empty text when it went to a printer.
  const std::string& lastPdfPath() const { return lastPdf_; }

  void setFont(const std::string& name, int pointSize, bool bold, bool italic,
               bool underline) override;
  void printLine(const std::string& text) override;
  std::string endDoc(bool& ok) override;

  // The family used for a requested one: itself where installed, else "Liberation Mono" (the
  // metric twin of Courier New), else the system's fixed-pitch font.
  static std::string familyFor(const std::string& requested);

 private:
  bool render(QPrinter& printer) const;
  std::string pdfPathFor(const std::string& folder) const;

  std::function<std::string()> folder_;
  std::function<Date()> today_;
  std::string jobName_ = "Kelpie printout";
  bool pdfOnly_ = false;
  std::string lastPdf_;

  std::string family_ = "Courier New";
  int pointSize_ = 12;
  bool bold_ = false, italic_ = false, underline_ = false;
  std::vector<std::string> lines_;
};

}  // namespace kelpie
