#include <gtest/gtest.h>

#include "TQor2.h"
#include "TXlsWriter.h"
#include "TestFiles.h"

namespace {

std::string U16(uint16_t v) {
  return std::string{char(v & 0xFF), char(v >> 8)};
}

std::string Label(uint16_t row, uint16_t col, const std::string& text) {
  return U16(0x0004) + U16(static_cast<uint16_t>(8 + text.size())) + U16(row) + U16(col) +
         std::string(3, '\0') + static_cast<char>(text.size()) + text;
}

std::string Head(uint16_t lastRow = 100, uint16_t lastCol = 100) {
  return U16(0x0809) + U16(6) + U16(0) + U16(0x10) + U16(0) + U16(0x0200) + U16(10) + U16(0) +
         U16(lastRow) + U16(0) + U16(lastCol) + U16(0);
}

const std::string kEof = U16(0x000A) + U16(0);

TEST(Xls, ExactBytesColumnByColumn) {
  TempDir dir;
  TQor2 t;
  t.AddField("Nom");
  t.AddField("Prix");
  t.SetFieldType(2, "FLOAT");
  ASSERT_TRUE(SaveXlsFile(t, dir.File("e.xls")));
  EXPECT_EQ(ReadBytes(dir.File("e.xls")), Head() + Label(0, 0, "Nom") + Label(0, 1, "Prix") + kEof);

  t.Append();
  t.SetFieldValue(1, "a");
  t.SetFieldValue(2, "12,5");
  t.Append();
  t.SetFieldValue(2, std::string("x\0y", 3));
  t.First();
  ASSERT_TRUE(SaveXlsFile(t, dir.File("t.xls")));
  EXPECT_EQ(ReadBytes(dir.File("t.xls")), Head() + Label(0, 0, "Nom") + Label(0, 1, "Prix") +
                                              Label(1, 0, "a") + Label(2, 0, "") +
                                              Label(1, 1, "12,5") + Label(2, 1, "x") + kEof);
  EXPECT_EQ(t.RecNo(), 1);
}

TEST(Xls, LongLabelsAreCutAndDimensionsCoverTheTable) {
  TempDir dir;
  TQor2 t;
  t.AddField("V");
  for (int i = 0; i < 150; ++i) t.Append();
  t.First();
  t.SetFieldValue(1, std::string(300, 'z'));
  ASSERT_TRUE(SaveXlsFile(t, dir.File("l.xls")));
  const std::string bytes = ReadBytes(dir.File("l.xls"));
  EXPECT_EQ(bytes.substr(0, 24), Head(150, 100));
  const std::string label = Label(1, 0, std::string(255, 'z'));
  EXPECT_NE(bytes.find(label), std::string::npos);
  EXPECT_NE(bytes.find(Label(150, 0, "")), std::string::npos);
}

TEST(Xls, TooLargeOrUnwritableGivesFalseAndNoFile) {
  TempDir dir;
  TQor2 wide;
  for (int i = 0; i < 257; ++i) wide.AddField("F" + std::to_string(i));
  EXPECT_FALSE(SaveXlsFile(wide, dir.File("w.xls")));
  EXPECT_EQ(wide.ErrorCode, 3);
  EXPECT_FALSE(wide.ErrorMessage.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("w.xls")));
  wide.DeleteField("F0");
  EXPECT_TRUE(SaveXlsFile(wide, dir.File("w.xls")));

  TQor2 tall;
  tall.AddField("V");
  for (int i = 0; i < 65536; ++i) tall.Append();
  EXPECT_FALSE(SaveXlsFile(tall, dir.File("t.xls")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("t.xls")));

  TQor2 t;
  t.AddField("V");
  EXPECT_FALSE(SaveXlsFile(t, dir.File("none/t.xls")));
  EXPECT_EQ(t.ErrorMessage, "1-Unable to open the file for writing");
}

TEST(Xls, WriterCellKinds) {
  TXlsWriter w;
  w.Init("unused");
  const size_t start = w.Bytes().size();
  w.WriteCell(TXlsWriter::kBlank, 1, 2, "");
  w.WriteCell(TXlsWriter::kBoolean, 0, 0, "\x01");
  w.WriteCell(3, 0, 0, "ignored kind");
  EXPECT_EQ(w.Bytes().substr(start), U16(1) + U16(7) + U16(1) + U16(2) + std::string(3, '\0') +
                                         U16(5) + U16(9) + U16(0) + U16(0) + std::string(3, '\0') +
                                         std::string("\x01\x00", 2));
}

}  // namespace
