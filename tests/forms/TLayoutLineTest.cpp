// The form layout format without any window: each kind of line read and
// written byte for byte, the label's tail rules, pixels, line ends, the
// default layout, the layout file's name and the reasons a layout stops.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TFormLayout.h"
#include "TLayoutLine.h"
#include "TPosixFileSystem.h"

namespace {

TLayoutLine Read(const std::string& text) {
  TLayoutLine line;
  std::string bad;
  EXPECT_TRUE(line.Read(text, &bad)) << text << " -> " << bad;
  return line;
}

std::string BadText(const std::string& text) {
  TLayoutLine line;
  std::string bad;
  EXPECT_FALSE(line.Read(text, &bad)) << text;
  return bad;
}

TEST(TLayoutLineTest, EachKindReadsInEitherCaseAndWritesUpperCase) {
  const TLayoutLine label = Read("TLabel 00050032Nom du client\t0c180ff00e0Arial");
  EXPECT_EQ(label.kind, TLayoutLine::Label);
  EXPECT_EQ(label.x, 5);
  EXPECT_EQ(label.y, 50);
  EXPECT_EQ(label.caption, "Nom du client");
  EXPECT_EQ(label.fontSize, 12);
  EXPECT_EQ(label.Style(), 1);
  EXPECT_EQ(label.color, 0x80ff00e0u);
  EXPECT_EQ(label.fontName, "Arial");
  EXPECT_EQ(label.Write(), "TLabel 00050032Nom du client\t0C180FF00E0Arial");

  const TLayoutLine edit = Read("TEdit 007d00320a0CODE_POSTAL");
  EXPECT_EQ(edit.kind, TLayoutLine::Edit);
  EXPECT_EQ(edit.width, 160);
  EXPECT_EQ(edit.field, "CODE_POSTAL");
  EXPECT_EQ(edit.Write(), "TEdit 007D00320A0CODE_POSTAL");

  const TLayoutLine line = Read("TShape 00100020101900001");
  EXPECT_TRUE(line.IsFilled());
  EXPECT_EQ(line.width, 0x190);
  EXPECT_EQ(line.height, 1);
  EXPECT_EQ(line.Write(), "TShape 00100020101900001");
  // Any fill flag but "1" is a hollow rectangle; the flag is kept as read.
  const TLayoutLine rectangle = Read("TShape 00100020x012c0064");
  EXPECT_FALSE(rectangle.IsFilled());
  EXPECT_EQ(rectangle.Write(), "TShape 00100020x012C0064");

  const TLayoutLine fieldPicture = Read("TImage 00200030");
  EXPECT_TRUE(fieldPicture.IsFieldPicture());
  EXPECT_EQ(fieldPicture.Write(), "TImage 00200030");
  EXPECT_TRUE(Read("TImage 00200030abcdef").IsFieldPicture());  // six characters: still a field

  // Two columns of two pixels, column by column from the top, BBGGRR.
  const TLayoutLine picture = Read("TImage 00200030002002ff0000zzzzzz0000ffffffff");
  EXPECT_TRUE(picture.embedded);
  EXPECT_EQ(picture.width, 2);
  EXPECT_EQ(picture.height, 2);
  EXPECT_EQ(picture.pixels,
            (std::vector<uint32_t>{0xff0000, TLayoutLine::kUnsetPixel, 0x0000ff, 0xffffff}));
  // A bad group leaves its pixel unset, written white.
  EXPECT_EQ(picture.Write(), "TImage 00200030002002FF0000FFFFFF0000FFFFFFFF");

  // Another kind word (also none at all) builds nothing but is kept as read.
  const TLayoutLine other = Read("TButton 00aa00bbxyz");
  EXPECT_EQ(other.kind, TLayoutLine::Other);
  EXPECT_EQ(other.Write(), "TButton 00aa00bbxyz");
  EXPECT_EQ(Read("tlabel 00010002x").kind, TLayoutLine::Other);
  EXPECT_EQ(Read("0001000a").y, 10);
}

TEST(TLayoutLineTest, LabelAttributesAreReadAsFarAsTheTailGoes) {
  // Without a tab the whole tail is the caption and also the attribute text:
  // "Ti" is no number.
  EXPECT_EQ(BadText("TLabel 00010001Titre"), "$Ti");
  TLayoutLine l = Read("TLabel 000100010C0");
  EXPECT_EQ(l.caption, "0C0");
  EXPECT_TRUE(l.hasSize && l.hasStyle);
  EXPECT_EQ(l.fontSize, 12);

  l = Read("TLabel 00010001A\t");
  EXPECT_FALSE(l.hasSize || l.hasStyle || l.hasColor || l.hasFontName);
  EXPECT_EQ(l.Write(), "TLabel 00010001A\t");
  l = Read("TLabel 00010001A\t1");
  EXPECT_TRUE(l.hasSize && !l.hasStyle);
  EXPECT_EQ(l.Write(), "TLabel 00010001A\t01");
  l = Read("TLabel 00010001A\t0A3000000");
  EXPECT_TRUE(l.hasStyle && !l.hasColor);
  EXPECT_EQ(l.Style(), 3);
  l = Read("TLabel 00010001A\t0A70000FF00X");
  EXPECT_TRUE(l.hasColor && !l.hasFontName);              // a one-character name counts for nothing
  EXPECT_EQ(l.Style(), 0);                                // digits 5 to 9 are regular...
  EXPECT_EQ(l.Write(), "TLabel 00010001A\t0A70000FF00");  // ...and written as read
  EXPECT_EQ(BadText("TLabel 00010001A\t0Ax"), "x");
  EXPECT_EQ(BadText("TLabel 00010001A\t0A00000ZZ00Arial"), "$0000ZZ00");

  // Only 1024 characters after the tab count.
  const std::string longName(2000, 'n');
  l = Read("TLabel 00010001A\t0A080000008" + longName);
  EXPECT_EQ(l.fontName.size(), 1024u - 11);
  EXPECT_EQ(Read(l.Write()).fontName, l.fontName);
}

TEST(TLayoutLineTest, NumbersThatCannotBeReadNameTheirText) {
  EXPECT_EQ(BadText(""), "$");
  EXPECT_EQ(BadText("TEdit 0010"), "$");
  EXPECT_EQ(BadText("TEdit 0010 020"), "$ 020");
  EXPECT_EQ(BadText("TEdit 00100020"), "$");
  EXPECT_EQ(BadText("TShape 001000201012G0010"), "$012G");
  EXPECT_EQ(BadText("TImage 00100020xyz002FFFFFF"), "$xyz");
  EXPECT_EQ(BadText("Hello world"), "$worl");  // positions are read whatever the kind
}

TEST(TLayoutLineTest, WrittenValuesAreClampedToTheirWidthAndReadBackAlike) {
  TLayoutLine edit;
  edit.kind = TLayoutLine::Edit;
  edit.x = -12;
  edit.y = 70000;
  edit.width = 5000;
  edit.field = "NOM\r\nX";
  EXPECT_EQ(edit.Write(), "TEdit 0000FFFFFFFNOM  X");
  TLayoutLine label;
  label.kind = TLayoutLine::Label;
  label.caption = "a\tb";
  label.hasSize = label.hasStyle = label.hasColor = label.hasFontName = true;
  label.fontSize = 300;
  label.styleDigit = '2';
  label.color = 0x00123456;
  label.fontName = "Arial";
  const TLayoutLine back = Read(label.Write());
  EXPECT_EQ(back.caption, "a b");
  EXPECT_EQ(back.fontSize, 255);
  EXPECT_EQ(back.Style(), 2);
  EXPECT_EQ(back.color, 0x00123456u);
  // A picture without pixels still reads back as a picture.
  TLayoutLine picture;
  picture.kind = TLayoutLine::Image;
  picture.embedded = true;
  EXPECT_TRUE(Read(picture.Write()).embedded);
}

TEST(TLayoutLineTest, ShortPixelDataSetsOnlyWhatItHolds) {
  // 3 x 2 with three groups and a half: the rest stays unset, and nothing is
  // allocated for a large size with little data.
  const TLayoutLine l = Read("TImage 00000000003002000001000002000003abc");
  EXPECT_EQ(l.pixels, (std::vector<uint32_t>{1, 2, 3, 0xabc}));
  EXPECT_EQ(Read(l.Write()).pixels, l.pixels);
  EXPECT_EQ(Read("TImage 00000000FFFFFF123456").pixels.size(), 1u);
}

TEST(TLayoutLineTest, LinesEndAtCrLfLfOrCr) {
  EXPECT_EQ(TFormLayout::SplitLines("a\r\nb\nc\rd"),
            (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(TFormLayout::SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(TFormLayout::SplitLines("a\n\rb\r\n\r\n"),
            (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_TRUE(TFormLayout::SplitLines("").empty());
}

TEST(TLayoutLineTest, DefaultLayoutStartsASecondColumnAtHalfTheLimit) {
  const std::vector<std::string> one =
      TFormLayout::Default({"NOM"}, 200, 12, TLayoutLine::kWindowText, "System");
  EXPECT_EQ(one, (std::vector<std::string>{"TLabel 00050032NOM\t0C080000008System",
                                           "TEdit 007D00320A0NOM"}));
  // A page lower than 330 pixels: 12 fields from Y = 50 to 325, then X = 165.
  std::vector<std::string> names;
  for (int i = 1; i <= 14; ++i) names.push_back("F" + std::to_string(i));
  const std::vector<std::string> lines =
      TFormLayout::Default(names, 300, 9, TLayoutLine::kWindowText, "Sans");
  EXPECT_EQ(lines[22].substr(0, 15), "TLabel 00050145");
  EXPECT_EQ(lines[24].substr(0, 15), "TLabel 00A50032");
  EXPECT_EQ(lines[25].substr(0, 14), "TEdit 011D0032");
  EXPECT_EQ(lines[26].substr(0, 15), "TLabel 00A5004B");
  // A higher page is its own limit.
  EXPECT_EQ(TFormLayout::Default(names, 400, 9, 0, "S")[26].substr(0, 15), "TLabel 00050177");
}

TEST(TLayoutLineTest, LayoutFileIsNamedFromTheTableFileName) {
  EXPECT_EQ(TFormLayout::FileNameFor("/data/clients.qor"), "/data/clients.ecr");
  EXPECT_EQ(TFormLayout::FileNameFor("/data/v1.2/clients.old.qor"), "/data/v1.2/clients.old.ecr");
  EXPECT_EQ(TFormLayout::FileNameFor("/data/v1.2/clients"), "/data/v1.2/clients.ecr");
  EXPECT_EQ(TFormLayout::FileNameFor("clients"), "clients.ecr");
}

TEST(TLayoutLineTest, ReadingStopsAtTheFirstLineThatCannotBeBuilt) {
  std::vector<TLayoutLine> elements;
  TStatus status = TFormLayout::Read(
      {"TEdit 000100010A0NOM", "TLabel 00010001A", "TEdit 0001000G0A0VILLE", "TEdit 000100010A0X"},
      elements);
  EXPECT_FALSE(status);
  EXPECT_EQ(elements.size(), 2u);
  EXPECT_EQ(status.Cause(), TFailure::Other);
  EXPECT_EQ(status.Detail(), "'$000G' n'est pas une valeur entière correcte (ligne 3)");

  elements.clear();
  status = TFormLayout::Read({"TEdit 000100010A0NOM", "TEdit 000100010A0NOM"}, elements);
  EXPECT_EQ(status.Detail(), "Un composant nommé NOM existe déjà (ligne 2)");
  EXPECT_EQ(elements.size(), 1u);
}

// Any name a table can hold binds an edit box: accents, blanks, a leading
// digit, punctuation; only a second box for the same field is refused.
TEST(TLayoutLineTest, AnyFieldNameBindsAnEditBox) {
  const std::vector<std::string> names = {"Pr\xE9nom", "Code postal", "2X", "A-B", "_a1", ""};
  std::vector<std::string> lines;
  for (const std::string& name : names) lines.push_back("TEdit 000100010A0" + name);
  std::vector<TLayoutLine> elements;
  ASSERT_TRUE(TFormLayout::Read(lines, elements));
  ASSERT_EQ(elements.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(elements[i].field, names[i]);
    EXPECT_EQ(elements[i].Write(), lines[i]);
  }
  const std::vector<std::string> defaults =
      TFormLayout::Default({"Pr\xE9nom", "Code postal"}, 400, 9, TLayoutLine::kWindowText, "S");
  EXPECT_EQ(defaults[1], "TEdit 007D00320A0Pr\xE9nom");
  EXPECT_EQ(defaults[3], "TEdit 007D004B0A0Code postal");
  elements.clear();
  const TStatus repeated =
      TFormLayout::Read({"TEdit 000100010A0Code postal", "TEdit 000900090A0Code postal"}, elements);
  EXPECT_EQ(repeated.Detail(), "Un composant nommé Code postal existe déjà (ligne 2)");
}

// A file system whose reads fail once `budget` bytes have been read.
class TFailingReads : public TPosixFileSystem {
 public:
  explicit TFailingReads(size_t budget) : budget_(budget) {}
  long Read(int fd, void* data, size_t size) override {
    if (budget_ == 0) {
      errno = EIO;
      return -1;
    }
    const long n = TPosixFileSystem::Read(fd, data, std::min(size, budget_));
    if (n > 0) budget_ -= static_cast<size_t>(n);
    return n;
  }

 private:
  size_t budget_;
};

TEST(TLayoutLineTest, LayoutFileIsWrittenWithCrLfAndAFailedWriteChangesNothing) {
  char folder[] = "/tmp/vek-layout-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/t.ecr";
  ASSERT_TRUE(TFormLayout::SaveFile(path, {"TEdit 000100010A0NOM", "TImage 00010001"}));
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "TEdit 000100010A0NOM\r\nTImage 00010001\r\n");
  std::vector<std::string> lines;
  TPosixFileSystem files;
  ASSERT_TRUE(TFormLayout::LoadFile(files, path, lines));
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(TFormLayout::LoadFile(files, std::string(folder) + "/none.ecr", lines).Cause(),
            TFailure::NotFound);
  EXPECT_EQ(lines.size(), 2u);
  // A read that fails half-way gives nothing, not half a layout.
  std::vector<std::string> half = {"avant"};
  TFailingReads failing(10);
  EXPECT_EQ(TFormLayout::LoadFile(failing, path, half).Cause(), TFailure::ReadError);
  EXPECT_EQ(half, std::vector<std::string>{"avant"});
  EXPECT_EQ(TFormLayout::SaveFile(std::string(folder) + "/no/such/t.ecr", lines).Cause(),
            TFailure::FolderNotFound);
  std::remove(path.c_str());
  rmdir(folder);
}

}  // namespace
