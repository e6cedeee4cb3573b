#include "THorloge.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "French.h"
#include "IServices.h"
#include "TSpinButton.h"
#include "TUtilityParts.h"

namespace {

QLabel* Face(QWidget* parent, const QString& objectName, const QString& description,
             const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(objectName);
  label->setAccessibleDescription(description);
  label->setAlignment(Qt::AlignCenter);
  label->setFont(TUtilityParts::Arial(20, true));
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMinimumSize(200, 44);
  TUtilityParts::Paint(label, TUtilityParts::Grey, TUtilityParts::Black);
  return label;
}

// The same wall-clock date and time in the zone (or local time) of `reference`.
QDateTime InZoneOf(const QDateTime& reference, const QDate& date, const QTime& time) {
  if (reference.timeSpec() == Qt::TimeZone) return QDateTime(date, time, reference.timeZone());
  return QDateTime(date, time, reference.isValid() ? reference.timeSpec() : Qt::LocalTime);
}

}  // namespace

THorloge::THorloge(QWidget* parent) : QDialog(parent) {
  TUtilityParts::SetFixedDialog(this, QStringLiteral("Horloge"));
  TUtilityParts::Paint(this, TUtilityParts::Black);

  Label1 =
      Face(this, QStringLiteral("Label1"), QStringLiteral("Heure"), QStringLiteral("18:23:00"));
  Label2 =
      Face(this, QStringLiteral("Label2"), QStringLiteral("Date"), QStringLiteral("20/10/1998"));
  auto* rule = new QFrame(this);  // decoration under the time
  rule->setFixedHeight(1);
  TUtilityParts::Paint(rule, TUtilityParts::White);
  auto* vek = new QLabel(QStringLiteral("VEK"), this);
  vek->setFont(TUtilityParts::Arial(14, true, true));
  TUtilityParts::Paint(vek, TUtilityParts::Black, TUtilityParts::White);

  auto* group = new QFrame(this);
  group->setObjectName(QStringLiteral("RadioGroup1"));
  group->setFrameShape(QFrame::Box);
  group->setAccessibleName(QStringLiteral("Réglage"));
  TUtilityParts::Paint(group, TUtilityParts::Black, TUtilityParts::White);
  parts_ = new QButtonGroup(this);
  const QString captions[5] = {QStringLiteral("Hr"), QStringLiteral("Mn"), QStringLiteral("Jo"),
                               QStringLiteral("Mo"), QStringLiteral("An")};
  const QString descriptions[5] = {QStringLiteral("Heure"), QStringLiteral("Minute"),
                                   QStringLiteral("Jour"), QStringLiteral("Mois"),
                                   QStringLiteral("Année")};
  auto* partsLayout = new QHBoxLayout(group);
  for (int i = 0; i < 5; ++i) {
    RadioGroup1[i] = new QRadioButton(captions[i], group);
    RadioGroup1[i]->setAccessibleName(captions[i]);
    RadioGroup1[i]->setAccessibleDescription(descriptions[i]);
    RadioGroup1[i]->setToolTip(descriptions[i]);
    parts_->addButton(RadioGroup1[i], i);
    partsLayout->addWidget(RadioGroup1[i]);
  }

  SpinButton1 = new TSpinButton(this);
  SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
  connect(SpinButton1, &TSpinButton::UpClick, this, &THorloge::SpinButton1UpClick);
  connect(SpinButton1, &TSpinButton::DownClick, this, &THorloge::SpinButton1DownClick);
  Button2 = TUtilityParts::Button(this, QStringLiteral("Régler"), QStringLiteral("Button2"),
                                  QStringLiteral("Régler l'horloge"));
  connect(Button2, &QPushButton::clicked, this, &THorloge::Button2Click);
  Button1 = TUtilityParts::Button(this, QStringLiteral("Fermer"), QStringLiteral("Button1"));
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &THorloge::Timer1Timer);

  auto* controls = new QHBoxLayout;
  controls->addWidget(group);
  controls->addWidget(SpinButton1);
  controls->addWidget(Button2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(vek);
  bottom->addStretch(1);
  bottom->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(Label1);
  layout->addWidget(rule);
  layout->addWidget(Label2);
  layout->addLayout(controls);
  layout->addLayout(bottom);

  FormActivate();
}

void THorloge::FormActivate() {
  settingMode_ = false;
  Timer1Timer();
  Timer1->start();
}

void THorloge::FormDeactivate() {
  Timer1->stop();
}

void THorloge::Timer1Timer() {
  zoneOf_ = Services().Now();
  const QDate date = zoneOf_.date();
  const QTime time = zoneOf_.time();
  year_ = date.year();
  month_ = date.month();
  day_ = date.day();
  hour_ = time.hour();
  minute_ = time.minute();
  second_ = time.second();
  ShowTime();
}

void THorloge::ShowTime() {
  Label1->setText(FormatTime(QTime(hour_, minute_, second_)));
  Label2->setText(FormatDate(QDate(year_, month_, day_)));
}

void THorloge::Step(int delta) {
  switch (parts_->checkedId()) {
    case Hour:
      hour_ = std::clamp(hour_ + delta, 0, 23);
      break;
    case Minute:
      minute_ = std::clamp(minute_ + delta, 0, 59);
      break;
    case Day:
      day_ = std::clamp(day_ + delta, 1, QDate(year_, month_, 1).daysInMonth());
      break;
    case Month:
      month_ = std::clamp(month_ + delta, 1, 12);
      break;
    case Year:
      year_ = std::clamp(year_ + delta, 1900, 2099);
      break;
    default:  // no part chosen
      return;
  }
  // 31 March becomes 30 April; 29 February of a leap year, the 28th of another.
  day_ = std::min(day_, QDate(year_, month_, 1).daysInMonth());
  ShowTime();
}

void THorloge::Button2Click() {
  settingMode_ = !settingMode_;
  if (settingMode_) {
    Timer1->stop();
    return;
  }
  Apply();
  Timer1->start();
}

void THorloge::Apply() {
  const QDateTime utc =
      InZoneOf(zoneOf_, QDate(year_, month_, day_), QTime(hour_, minute_, second_)).toUTC();
  TSystemTime time;
  if (utc.isValid()) {
    time.year = utc.date().year();
    time.month = utc.date().month();
    time.day = utc.date().day();
    time.hour = utc.time().hour();
    time.minute = utc.time().minute();
    time.second = utc.time().second();
  }
  if (!utc.isValid() || !Services().SetSystemTime(time))
    Services().Warning(QStringLiteral("Impossible de régler l'horloge du système"));
}

bool THorloge::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate)
    FormActivate();
  else if (event->type() == QEvent::WindowDeactivate)
    FormDeactivate();
  return QDialog::event(event);
}
