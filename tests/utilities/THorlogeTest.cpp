// The clock shows the fake clock's time and sets it, in universal time, through
// the scripted services; the real clock is never touched.

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include "THorloge.h"
#include "UtilityTest.h"

namespace {

class HorlogeTest : public UtilityTest {
 protected:
  void SetUp() override {
    UtilityTest::SetUp();
    ASSERT_TRUE(paris.isValid());
  }
  void At(int y, int mo, int d, int h, int mi, int s = 0) {
    services.SetNow(QDateTime(QDate(y, mo, d), QTime(h, mi, s), paris));
  }
  void Spin(THorloge& clock, THorloge::TPart part, int times) {
    clock.RadioGroup1[part]->click();
    for (int i = 0; i < std::abs(times); ++i)
      times > 0 ? clock.SpinButton1UpClick() : clock.SpinButton1DownClick();
  }
  QString Shown(const THorloge& clock) const {
    return clock.Label1->text() + " " + clock.Label2->text();
  }
  QString LastSet() const {
    if (services.SystemTimesSet().empty()) return QString();
    const TSystemTime& t = services.SystemTimesSet().back();
    return QDateTime(QDate(t.year, t.month, t.day),
                     QTime(t.hour, t.minute, t.second, t.milliseconds), Qt::UTC)
        .toString("dd/MM/yyyy HH:mm:ss.zzz");
  }

  QTimeZone paris{"Europe/Paris"};
};

TEST_F(HorlogeTest, ShowsTheClockEverySecondButNotWhileSetting) {
  At(2002, 1, 15, 10, 15, 0);
  THorloge clock;
  EXPECT_EQ(clock.windowTitle(), "Horloge");
  EXPECT_EQ(Shown(clock), "10:15:00 15/01/2002");
  EXPECT_TRUE(clock.Timer1->isActive());
  EXPECT_EQ(clock.Timer1->interval(), 1000);
  At(2002, 1, 15, 10, 15, 1);
  clock.Timer1Timer();
  EXPECT_EQ(Shown(clock), "10:15:01 15/01/2002");

  clock.Button2Click();  // "Set": the display stands still
  EXPECT_TRUE(clock.SettingMode());
  EXPECT_FALSE(clock.Timer1->isActive());
  Spin(clock, THorloge::Minute, 3);
  EXPECT_EQ(Shown(clock), "10:18:01 15/01/2002");
  // Activating the window again drops the setting.
  clock.FormActivate();
  EXPECT_FALSE(clock.SettingMode());
  EXPECT_EQ(Shown(clock), "10:15:01 15/01/2002");
  EXPECT_TRUE(services.SystemTimesSet().empty());
}

TEST_F(HorlogeTest, SetsTheShownLocalTimeInUniversalTimeWithSummerTime) {
  At(2002, 1, 15, 10, 15, 0);
  THorloge clock;
  clock.Button2Click();
  Spin(clock, THorloge::Hour, 2);
  EXPECT_EQ(Shown(clock), "12:15:00 15/01/2002");
  clock.Button2Click();
  EXPECT_FALSE(clock.SettingMode());
  EXPECT_TRUE(clock.Timer1->isActive());
  EXPECT_EQ(LastSet(), "15/01/2002 11:15:00.000");  // winter: one hour ahead

  At(2002, 7, 15, 10, 15, 0);
  clock.FormActivate();
  clock.Button2Click();
  Spin(clock, THorloge::Hour, 2);
  clock.Button2Click();
  EXPECT_EQ(LastSet(), "15/07/2002 10:15:00.000");  // summer: two hours ahead

  // Half past midnight on New Year's Day is still the old year in universal time.
  At(2003, 1, 1, 0, 30, 0);
  clock.FormActivate();
  clock.Button2Click();
  clock.Button2Click();
  EXPECT_EQ(LastSet(), "31/12/2002 23:30:00.000");
  EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(HorlogeTest, AdjustsOnlyToRealDatesAndTimes) {
  At(2024, 1, 31, 22, 59, 0);
  THorloge clock;
  clock.Button2Click();
  clock.SpinButton1UpClick();  // no part chosen: nothing
  EXPECT_EQ(Shown(clock), "22:59:00 31/01/2024");
  Spin(clock, THorloge::Hour, 3);
  Spin(clock, THorloge::Minute, 2);
  EXPECT_EQ(Shown(clock), "23:59:00 31/01/2024");
  Spin(clock, THorloge::Month, 1);  // 31 January becomes 29 February
  EXPECT_EQ(clock.Label2->text(), "29/02/2024");
  Spin(clock, THorloge::Day, 1);
  EXPECT_EQ(clock.Label2->text(), "29/02/2024");
  Spin(clock, THorloge::Year, -1);  // 2023 has no 29 February
  EXPECT_EQ(clock.Label2->text(), "28/02/2023");
  Spin(clock, THorloge::Month, 20);
  Spin(clock, THorloge::Day, 40);
  EXPECT_EQ(clock.Label2->text(), "31/12/2023");
  Spin(clock, THorloge::Year, 100);
  EXPECT_EQ(clock.Label2->text(), "31/12/2099");
  Spin(clock, THorloge::Year, -300);
  Spin(clock, THorloge::Month, -20);
  Spin(clock, THorloge::Day, -40);
  Spin(clock, THorloge::Hour, -30);
  EXPECT_EQ(Shown(clock), "00:59:00 01/01/1900");
}

TEST_F(HorlogeTest, AClockThatRefusesIsReported) {
  At(2002, 1, 15, 10, 15, 0);
  services.SetClockSettable(false);
  THorloge clock;
  QTest::mouseClick(clock.Button2, Qt::LeftButton);
  QTest::mouseClick(clock.Button2, Qt::LeftButton);
  EXPECT_EQ(LastSet(), "15/01/2002 09:15:00.000");
  EXPECT_EQ(Boxes(), QStringList{"Warning: Impossible de régler l'horloge du système"});
}

}  // namespace
