#include "dialogs/frm_ics.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "platform/qt/qt_form_printer.h"
#include "platform/qt/text1252.h"
#include "reports/export.h"

namespace kelpie {

namespace {

constexpr int kFieldLength = 60;  // Windows-1252 characters a header field may hold

// Every remembered field under this group of QSettings("Kelpie", "Kelpie").
const QString kGroup = QStringLiteral("icsForms");

QDateTime qtTime(const DateTime& t) {
  return QDateTime(QDate(t.date.year, t.date.month, t.date.day), QTime(t.hour, t.minute));
}

DateTime fromQt(const QDateTime& t) {
  return DateTime{
      {t.date().year(), t.date().month(), t.date().day()}, t.time().hour(), t.time().minute(), 0};
}

QDateTimeEdit* periodEdit(QWidget* parent, const QString& name) {
  auto* edit = new QDateTimeEdit(parent);
  edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
  edit->setAccessibleName(name);
  return edit;
}

}  // namespace

FrmIcs::FrmIcs(IcsForm form, Session& s, FormPrinter& printer, QWidget* parent)
    : QDialog(parent), form_(form), s_(s), printer_(printer) {
  const bool is214 = form == IcsForm::Activity214;
  setWindowTitle(fromBytes(formTitle(form).substr(1)));
  setModal(true);

  which_ = new QComboBox(this);
  which_->addItems({QStringLiteral("Today's net"), QStringLiteral("A past log...")});
  which_->setAccessibleName(QStringLiteral("Which net"));
  auto line = [this](const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setAccessibleName(name);
    edit->setMaxLength(kFieldLength);
    return edit;
  };
  incident_ = line(QStringLiteral("Incident name"));
  number_ = line(QStringLiteral("Incident or activation number"));
  from_ = periodEdit(this, QStringLiteral("Operational period from"));
  to_ = periodEdit(this, QStringLiteral("Operational period to"));
  netName_ = line(QStringLiteral("Radio net name"));
  opName_ = line(QStringLiteral("Radio operator name"));
  opCall_ = line(QStringLiteral("Radio operator callsign"));
  prepName_ = line(QStringLiteral("Prepared by name"));
  prepCall_ = line(QStringLiteral("Prepared by callsign"));
  position_ = line(QStringLiteral("ICS position"));
  agency_ = line(QStringLiteral("Home agency and unit"));
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  note_->setAccessibleName(QStringLiteral("Note"));

  netName_->setText(fromBytes(trimSpaces(s.settings.netBand) + " net"));
  opCall_->setText(fromBytes(s.settings.netControlCall));
  position_->setText(QStringLiteral("Net Control Operator"));
  QSettings settings(QStringLiteral("Kelpie"), QStringLiteral("Kelpie"));
  settings.beginGroup(kGroup);
  for (const auto& [key, field] : rememberedFields())
    if (settings.contains(QLatin1String(key)))
      field->setText(settings.value(QLatin1String(key)).toString());

  auto* fields = new QFormLayout;
  auto addRow = [&](const QString& label, QWidget* field) {
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    fields->addRow(caption, field);
  };
  addRow(QStringLiteral("&Net:"), which_);
  addRow(QStringLiteral("&Incident name:"), incident_);
  addRow(QStringLiteral("Incident or activation n&umber:"), number_);
  addRow(QStringLiteral("Operational period &from:"), from_);
  addRow(QStringLiteral("Operational period &to:"), to_);
  addRow(QStringLiteral("&Radio net name:"), netName_);
  addRow(QStringLiteral("Radio operator n&ame:"), opName_);
  addRow(QStringLiteral("Radio operator call&sign:"), opCall_);
  addRow(QStringLiteral("Prepared by na&me:"), prepName_);
  addRow(QStringLiteral("Prepared by callsi&gn:"), prepCall_);
  if (is214) {
    addRow(QStringLiteral("ICS p&osition:"), position_);
    addRow(QStringLiteral("Home agency and un&it:"), agency_);
  } else {
    position_->hide();
    agency_->hide();
  }

  auto* buttons = new QDialogButtonBox(this);
  savePdf_ = buttons->addButton(QStringLiteral("Save &PDF"), QDialogButtonBox::ActionRole);
  print_ = buttons->addButton(QStringLiteral("Prin&t"), QDialogButtonBox::ActionRole);
  if (!is214)
    saveCsv_ = buttons->addButton(QStringLiteral("Save &CSV"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  savePdf_->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(note_);
  layout->addWidget(buttons);

  connect(which_, &QComboBox::activated, this, &FrmIcs::netChosen);
  connect(savePdf_, &QPushButton::clicked, this,
          [this] { run([this](const FormJob& j) { saveFormPdf(s_, printer_, j); }); });
  connect(print_, &QPushButton::clicked, this,
          [this] { run([this](const FormJob& j) { printForm(s_, printer_, j); }); });
  if (saveCsv_)
    connect(saveCsv_, &QPushButton::clicked, this,
            [this] { run([this](const FormJob& j) { saveFormCsv(s_, j); }); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  net_ = todaysNet(s);
  showNet();
  which_->setFocus();
}

void FrmIcs::netChosen(int index) {
  FormNet chosen;
  if (index == 0) {
    net_ = todaysNet(s_);
  } else if (choosePastNet(s_, chosen)) {
    net_ = std::move(chosen);
    which_->setItemText(1, QStringLiteral("Past log: ") + fromBytes(net_.logName));
  } else if (!net_.today) {
    return;  // the past log shown before stays
  } else {
    which_->setCurrentIndex(0);
    return;
  }
  showNet();
}

void FrmIcs::showNet() {
  const Period p = periodOf(netEvents(net_, s_.ui.clock));
  if (p.known) {
    from_->setDateTime(qtTime(p.from));
    to_->setDateTime(qtTime(p.to));
  } else {
    const Date d = netDateFromLogName(net_.logName).value_or(s_.ui.clock.today());
    from_->setDateTime(qtTime(DateTime{d, 0, 0, 0}));
    to_->setDateTime(qtTime(DateTime{d, 23, 59, 0}));
  }
  note_->setText(fromBytes(netNote(net_)));
}

FormJob FrmIcs::job() const {
  FormJob j{form_, net_, {}};
  FormHeader& h = j.header;
  auto text = [](const QLineEdit* e) { return toBytes(e->text().trimmed()); };
  h.incidentName = text(incident_);
  h.incidentNumber = text(number_);
  h.from = fromQt(from_->dateTime());
  h.to = fromQt(to_->dateTime());
  h.netName = text(netName_);
  h.operatorName = text(opName_);
  h.operatorCall = text(opCall_);
  h.preparedName = text(prepName_);
  h.preparedCall = text(prepCall_);
  if (form_ == IcsForm::Activity214) {
    h.position = text(position_);
    h.agency = text(agency_);
  }
  h.prepared = s_.ui.clock.localTime(s_.ui.clock.nowUtc());
  return j;
}

std::vector<std::pair<const char*, QLineEdit*>> FrmIcs::rememberedFields() const {
  return {{"incident", incident_},     {"number", number_},       {"netName", netName_},
          {"operatorName", opName_},   {"operatorCall", opCall_}, {"preparedName", prepName_},
          {"preparedCall", prepCall_}, {"position", position_},   {"agency", agency_}};
}

void FrmIcs::remember() const {
  QSettings settings(QStringLiteral("Kelpie"), QStringLiteral("Kelpie"));
  settings.beginGroup(kGroup);
  for (const auto& [key, field] : rememberedFields())
    settings.setValue(QLatin1String(key), field->text().trimmed());
}

void FrmIcs::run(const std::function<void(const FormJob&)>& action) {
  remember();
  action(job());
}

void showIcsForm(IcsForm form, Session& s, QWidget* parent) {
  QtFormPrinter printer;
  FrmIcs dialog(form, s, printer, parent);
  dialog.exec();
}

}  // namespace kelpie
