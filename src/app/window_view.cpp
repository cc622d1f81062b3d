#include "app/window_view.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/checkins_list.h"
#include "net/spoken.h"
#include "platform/qt/text1252.h"

namespace kelpie {

namespace {
// Control places in twips, in the client area of 6744 x 4824 twips.
struct Place {
  const char* name;
  int left, top, width, height;
};
constexpr int kClientWidthTwips = 6744;
constexpr int kClientHeightTwips = 4824;
constexpr Place kPlaces[] = {
    {"Label1", 1335, 75, 4020, 255},    {"Command2", 750, 465, 1785, 345},
    {"Label2", 2625, 540, 1110, 255},   {"CallSignInput", 3855, 495, 1740, 285},
    {"CheckIns", 135, 900, 6435, 2928}, {"Label3", 1176, 3936, 4380, 252},
    {"Ack", 1065, 4320, 1485, 225},     {"Comment", 2700, 4320, 1215, 255},
    {"CmdExit", 4365, 4260, 1215, 375}, {"File1", 150, 4035, 1410, 648},
};

constexpr int kZoomStep = 10;

// A label shows a stored "&&" as one "&".
QString labelText(const std::string& caption) {
  QString t = fromBytes(caption);
  t.replace(QLatin1String("&&"), QLatin1String("&"));
  return t;
}
}  // namespace

WindowView::WindowView(QWidget* c, const QFont& base) : client_(c), baseFont_(base) {
  label1 = new QLabel(c);
  label1->setObjectName("Label1");
  // Colours through the palette: a style sheet would pin the font at its first size.
  const QColor paleGreen(192, 255, 192);
  QPalette green = label1->palette();
  green.setColor(QPalette::Window, paleGreen);
  label1->setAutoFillBackground(true);
  label1->setPalette(green);
  command2 = new QPushButton(c);
  command2->setObjectName("Command2");
  label2 = new QLabel(c);
  label2->setObjectName("Label2");
  entry = new QLineEdit(c);
  entry->setObjectName("CallSignInput");
  entry->setToolTip("Call or function number");
  entry->setAccessibleDescription("Call or function number");
  list = new CheckInsList(c);
  list->setObjectName("CheckIns");
  // Every line is one line of text in one font: laying out a long list (a station search can
  // show a thousand) then costs one measurement instead of one per line.
  list->setUniformItemSizes(true);
  QPalette yellow = list->palette();
  yellow.setColor(QPalette::Base, QColor(255, 255, 192));
  list->setPalette(yellow);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  // A list ignores a buddy label: it is named itself.
  list->setAccessibleName("Check-ins");
  label3 = new QLabel(c);
  label3->setObjectName("Label3");
  label3->setAutoFillBackground(true);
  label3->setPalette(green);
  label1->setAccessibleDescription("Stations to date");
  label2->setAccessibleDescription("Number of the next check-in");
  label3->setAccessibleDescription("What to type next");
  command2->setAccessibleDescription("Starts or continues the net");
  ack = new QRadioButton("Acknowledge", c);
  ack->setObjectName("Ack");
  ack->setChecked(true);
  comment = new QRadioButton("Comments", c);
  comment->setObjectName("Comment");
  ack->setAccessibleDescription("A check-in number marks the check-in acknowledged");
  comment->setAccessibleDescription("A check-in number marks the check-in for comments");
  cmdExit = new QPushButton("Quit", c);
  cmdExit->setObjectName("CmdExit");
  cmdExit->setToolTip(" Exit program ");
  cmdExit->setAccessibleDescription("Exit program");
  file1 = new QListWidget(c);
  file1->setObjectName("File1");
  file1->setAccessibleName("Log files");
  file1->hide();
}

QSize WindowView::designedSize(double dpi) {
  return {static_cast<int>(kClientWidthTwips * dpi / 1440.0),
          static_cast<int>(kClientHeightTwips * dpi / 1440.0)};
}

void WindowView::pull(MainView& v) {
  v.entryText = toBytes(entry->text());
  shownEntry_ = v.entryText;
  const auto sel = list->selectedItems();
  v.selected = sel.isEmpty() ? -1 : list->row(sel.front());
}

void WindowView::draw(const MainView& v, const std::vector<std::string>& logFiles) {
  drawing_ = true;
  label1->setText(labelText(v.label1));
  if (label2->text() != labelText(v.label2)) {
    label2->setText(labelText(v.label2));
    label2->resize(std::max(label2->width(), label2->sizeHint().width()), label2->height());
  }
  label2->setVisible(v.label2Visible);
  // The entry line is named as the label beside it reads: "Enter Call # 3".
  const QString entryName = v.label2Visible ? labelText(v.label2) : QString("Call or number");
  if (entry->accessibleName() != entryName) entry->setAccessibleName(entryName);
  label3->setText(labelText(v.label3));
  command2->setText(fromBytes(v.command2));
  // The line belongs to the operator while typing: only a procedure's change is written.
  if (v.entryText != shownEntry_) {
    entry->setText(fromBytes(v.entryText));
    shownEntry_ = v.entryText;
  }
  entry->setEnabled(v.entryEnabled);
  if (v.lines != shownLines_) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(v.lines.size()));
    for (const auto& l : v.lines) items << fromBytes(l);
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(items);
    // Each line is read with its place in the list and its marks in words.
    const int count = static_cast<int>(v.lines.size());
    for (int i = 0; i < count; ++i)
      list->item(i)->setData(Qt::AccessibleTextRole,
                             fromBytes(spokenListLine(v.lines[static_cast<size_t>(i)], i, count)));
    list->setUpdatesEnabled(true);
    shownLines_ = v.lines;
  }
  if (v.fixedFont && list->font().family() != "Courier New") {
    QFont f("Courier New");
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSizeF(list->font().pointSizeF());
    list->setFont(f);
  }
  const int current = list->selectedItems().isEmpty() ? -1 : list->currentRow();
  if (current != v.selected) {
    if (v.selected >= 0 && v.selected < list->count()) {
      list->setCurrentRow(v.selected, QItemSelectionModel::ClearAndSelect);
    } else {
      list->clearSelection();
      list->setCurrentRow(-1);
    }
    // Orca takes a selection the program made in the list for a move of the keyboard into it;
    // the entry line that has the keyboard says so again.
    if (entry->hasFocus() && QAccessible::isActive()) {
      QAccessibleEvent focus(entry, QAccessible::Focus);
      QAccessible::updateAccessibility(&focus);
    }
  }
  if (ack->isChecked() != v.ackSelected) {
    ack->setChecked(v.ackSelected);
    comment->setChecked(!v.ackSelected);
  }
  if (file1->count() != static_cast<int>(logFiles.size())) {
    file1->clear();
    for (const auto& n : logFiles) file1->addItem(fromBytes(n));
  }
  if (v.focusEntryRequests != shownFocusRequests_) {
    shownFocusRequests_ = v.focusEntryRequests;
    if (entry->isEnabled()) entry->setFocus(Qt::OtherFocusReason);
  }
  drawing_ = false;
}

void WindowView::layout(int zoomPercent, bool fixedFont) {
  QWidget* c = client_;
  const double fx = c->width() / static_cast<double>(kClientWidthTwips);
  const double fy = c->height() / static_cast<double>(kClientHeightTwips);
  // Every text grows and shrinks with the window, as the controls do, times the zoom.
  const double dpi = c->logicalDpiX() > 0 ? c->logicalDpiX() : 96.0;
  const double scale = std::min(fx, fy) * 1440.0 / dpi * zoomPercent / 100.0;
  if (scale > 0.2 && baseFont_.pointSizeF() > 0) {
    QFont f = baseFont_;
    f.setPointSizeF(baseFont_.pointSizeF() * scale);
    c->setFont(f);
    if (fixedFont) {
      QFont lf = list->font();
      lf.setPointSizeF(f.pointSizeF());
      list->setFont(lf);
    }
  }
  for (const Place& p : kPlaces) {
    auto* w = c->findChild<QWidget*>(p.name);
    if (!w) continue;
    int width = static_cast<int>(p.width * fx + 0.5);
    int height = static_cast<int>(p.height * fy + 0.5);
    // A label or option button whose text is larger than its place (fonts differ from the ones
    // the places were measured with, and the text may be zoomed) grows rather than clip it.
    if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w)) {
      width = std::max(width, w->sizeHint().width());
      height = std::max(height, w->sizeHint().height());
    }
    w->setGeometry(static_cast<int>(p.left * fx + 0.5), static_cast<int>(p.top * fy + 0.5), width,
                   height);
  }
}

int zoomAfterKey(int key, Qt::KeyboardModifiers mods, int percent) {
  if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier)) return -1;
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return std::clamp(percent + kZoomStep, kZoomMin, kZoomMax);
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return std::clamp(percent - kZoomStep, kZoomMin, kZoomMax);
    case Qt::Key_0:
    case Qt::Key_ParenRight:
      return 100;
    default:
      return -1;
  }
}

}  // namespace kelpie
