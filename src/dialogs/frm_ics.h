// The dialog of the ICS forms (ICS forms > "Communications log (ICS 309)..." and "Activity log
// (ICS 214)..."): which net, the form's header fields, and the buttons that save the form as a
// PDF, print it, or save the 309's rows as CSV. What was typed is remembered in QSettings.
#pragma once

#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

#include "forms/form_commands.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelpie {

class FrmIcs : public QDialog {
  Q_OBJECT

 public:
  FrmIcs(IcsForm form, Session& s, FormPrinter& printer, QWidget* parent = nullptr);

  // The form as the fields stand.
  FormJob job() const;
  QPushButton* savePdfButton() const { return savePdf_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* saveCsvButton() const { return saveCsv_; }

 private:
  void netChosen(int index);
  void showNet();
  std::vector<std::pair<const char*, QLineEdit*>> rememberedFields() const;
  void remember() const;
  void run(const std::function<void(const FormJob&)>& action);

  IcsForm form_;
  Session& s_;
  FormPrinter& printer_;
  FormNet net_;
  QComboBox* which_ = nullptr;
  QLineEdit *incident_ = nullptr, *number_ = nullptr;
  QDateTimeEdit *from_ = nullptr, *to_ = nullptr;
  QLineEdit *netName_ = nullptr, *opName_ = nullptr, *opCall_ = nullptr;
  QLineEdit *prepName_ = nullptr, *prepCall_ = nullptr;
  QLineEdit *position_ = nullptr, *agency_ = nullptr;
  QLabel* note_ = nullptr;
  QPushButton *savePdf_ = nullptr, *print_ = nullptr, *saveCsv_ = nullptr;
};

// Opens the dialog, modal, over parent.
void showIcsForm(IcsForm form, Session& s, QWidget* parent);

}  // namespace kelpie
