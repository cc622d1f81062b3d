// The About window frmAbout: Kelpie's icon, who made it and which version runs.
#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace kelpie {

// A line break, 19 spaces and the program with its year, a line break, 20 spaces and the
// credit; the label shows it as it is, spaces included.
QString aboutLabelText();
// " Kelpie   " followed by the version tag and the build note.
QString aboutTitle(const QString& versionTag);

class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  FrmAbout(const QString& versionTag, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load(const QString& versionTag);
  void cmdAbout_Click();
  void Image1_Click();

  QFrame* fraAbout_ = nullptr;
  QLabel* Image1_ = nullptr;
  QLabel* lblAbout_ = nullptr;
  QPushButton* cmdAbout_ = nullptr;
};

// Help > "About": builds the box afresh and shows it modal, centred on the screen.
void showAboutBox(QWidget* parent, const QString& versionTag);

}  // namespace kelpie
