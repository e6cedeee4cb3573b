#pragma once
// THorloge: the "Horloge" window. It shows the local time and date of
// Services().Now(), refreshed every second while the window is active, and sets
// the computer's clock: "Régler" freezes the displays, the radio buttons choose the
// part the arrows change (hour 0-23, minute 0-59, day 1 to the month's length,
// month 1-12, year 1900-2099; the day is brought within a shorter month), and
// "Régler" again hands the shown date and time to Services().SetSystemTime().
//
// The shown time is local time in the zone of Services().Now(); it is converted
// to universal time with that zone's offset at that date, summer time included.
// The seconds are not adjustable. A clock that refuses the time (setting it
// needs privileges here) is reported: "Impossible de régler l'horloge du
// système". Activating the window drops a setting in progress.

#include <QDate>
#include <QDateTime>
#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class TSpinButton;

class THorloge : public QDialog {
  Q_OBJECT

 public:
  enum TPart { Hour, Minute, Day, Month, Year };

  explicit THorloge(QWidget* parent = nullptr);

  void FormActivate();    // timer on, displays refreshed, setting mode off
  void FormDeactivate();  // timer off
  void Timer1Timer();
  void Button2Click();  // "Régler"
  void SpinButton1UpClick() { Step(+1); }
  void SpinButton1DownClick() { Step(-1); }

  bool SettingMode() const { return settingMode_; }

  QLabel* Label1 = nullptr;            // the time shown
  QLabel* Label2 = nullptr;            // the date shown
  QRadioButton* RadioGroup1[5] = {};   // "Hr", "Mn", "Jo", "Mo", "An": the part the arrows change
  TSpinButton* SpinButton1 = nullptr;  // steps the part chosen while setting
  QPushButton* Button1 = nullptr;      // "Fermer"
  QPushButton* Button2 = nullptr;      // "Régler": freezes the displays, then sets the clock
  QTimer* Timer1 = nullptr;            // refreshes the displays every second

 protected:
  bool event(QEvent* event) override;

 private:
  void Step(int delta);
  void ShowTime();
  void Apply();

  QButtonGroup* parts_ = nullptr;
  QDateTime zoneOf_;  // the last reading of the clock, for its time zone
  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0;
  bool settingMode_ = false;
};
