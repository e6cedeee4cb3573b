// The settings file read on its own: what each line of a damaged or foreign
// "VekBase.ini" gives, without a main window.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TSettingsFile.h"

namespace {

TEST(TSettingsFileTest, UnreadableSettingsLeaveTheRestEmptyOrZero) {
  struct Case {
    QByteArray file;
    QString line4;
    int offset, orientation;
  };
  const Case cases[] = {
      {"a\nb\nc\nd\n7\n1\n", "d", 7, 1},                        // bare line feeds
      {"a\r\nb\r\n", "", 0, 0},                                 // short file
      {"a\r\nb\r\nc\r\nd\r\nabc\r\n1\r\n", "d", 0, 0},          // not a number
      {"a\r\nb\r\nc\r\nd\r\n 12 mm\r\n1 paysage", "d", 12, 1},  // rest of line skipped
      {"a\r\nb\r\nc\r\nd\r\n99999999999\r\n1\r\n", "d", 0, 0},  // out of range
      {"a\r\nb\r\nc\r\nd\r\n+5\r\n-1\r\n", "d", 5, -1},         // signs
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const TSettingsFile settings(dir.path());
  EXPECT_EQ(settings.Path(), dir.filePath("VekBase.ini"));
  EXPECT_EQ(settings.Read().EnvelopeOffset, 0);  // no file yet
  for (const Case& c : cases) {
    QFile file(settings.Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(c.file);
    file.close();
    const TEnvelopeSettings read = settings.Read();
    EXPECT_EQ(read.SenderLines[0], "a") << c.file.toStdString();
    EXPECT_EQ(read.SenderLines[3], c.line4) << c.file.toStdString();
    EXPECT_EQ(read.EnvelopeOffset, c.offset) << c.file.toStdString();
    EXPECT_EQ(read.EnvelopeOrientation, c.orientation) << c.file.toStdString();
  }
}

}  // namespace
