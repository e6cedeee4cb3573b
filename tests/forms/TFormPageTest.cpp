// The form view of the document window: the page built from the layout file
// beside the table (or the default layout), records shown and written back,
// navigation and Tab from the boxes, field pictures, the messages for lines
// that cannot be built, and the designer's layout saved with the table.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "AnsiCodec.h"
#include "DocumentTest.h"
#include "TCreEdt.h"
#include "TCreLbl.h"
#include "TCreLig.h"
#include "TCrefiche.h"
#include "TFormPicture.h"
#include "TFormShape.h"

namespace {

// Writes a layout file from lines that already carry their line ends.
void WriteLayout(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

QLineEdit* Box(TChild& child, int i) {
  return qobject_cast<QLineEdit*>(child.FormPage->FieldControls[static_cast<size_t>(i)]);
}

class FormPageTest : public DocumentTest {
 protected:
  TFormPage& Form() { return *child->FormPage; }

  // The user's typing: the box's text and the characters reported.
  void TypeInto(QLineEdit* box, const QString& text) {
    box->setText(text);
    Form().EditKeyPress(text.back());
  }

  // Answers the question of a message box and checks its kind and text.
  void ExpectMessage(TQuestionKind kind, const QString& text) {
    ASSERT_FALSE(services.Questions().empty());
    EXPECT_EQ(services.Questions().back().kind, kind);
    EXPECT_EQ(services.Questions().back().text, text);
  }
};

TEST_F(FormPageTest, DefaultFormShowsTheRecordAndWritesTypedTextBack) {
  Open(WriteClients());
  TChild& c = *child;
  c.Vue(TView::Form);
  ASSERT_EQ(Form().FieldControls.size(), 3u);
  ASSERT_EQ(Form().DecorControls.size(), 3u);
  // One label and one edit box per field, 25 pixels apart, shown 3 left and 37 up.
  const QString font = c.TabSheet3->font().family();
  EXPECT_EQ(child->Document().Layout()[0],
            "TLabel 00050032NOM\t" + TLayoutLine::Hex(c.TabSheet3->font().pointSize(), 2) +
                "080000008" + ToAnsi(font));
  EXPECT_EQ(child->Document().Layout()[1], "TEdit 007D00320A0NOM");
  EXPECT_EQ(child->Document().Layout()[3], "TEdit 007D004B0A0VILLE");
  EXPECT_EQ(Box(c, 0)->geometry().topLeft(), QPoint(122, 13));
  EXPECT_EQ(Box(c, 0)->width(), 160);
  EXPECT_EQ(static_cast<QLabel*>(Form().DecorControls[1])->text(), "VILLE");
  EXPECT_EQ(Box(c, 1)->accessibleName(), "VILLE");
  EXPECT_EQ(Box(c, 0)->text(), "Dupont");
  EXPECT_EQ(Box(c, 2)->text(), "12.5");
  EXPECT_FALSE(c.Document().Modified());

  // Typing marks the table modified; Page Down in a box writes the record and
  // shows the next one; Enter alone changes nothing.
  TypeInto(Box(c, 1), "Versailles");
  EXPECT_TRUE(c.Document().Modified());
  QTest::keyClick(Box(c, 1), Qt::Key_PageDown);
  EXPECT_EQ(Value(2, 1), "Versailles");
  EXPECT_EQ(Box(c, 0)->text(), "Durand");
  QTest::keyClick(Box(c, 0), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Box(c, 0)->text(), "Roux");
  QTest::keyClick(Box(c, 0), Qt::Key_PageUp);
  EXPECT_EQ(Box(c, 0)->text(), "Petit");
  // The table view shows what was written in the form.
  c.Vue(TView::Table);
  EXPECT_EQ(Cell(2, 1), "Versailles");
}

TEST_F(FormPageTest, LayoutFileBesideTheTableBuildsItsControls) {
  const QString table = WriteClients();
  // Lower-case digits and every kind of line end.
  WriteLayout(Path("clients.ecr"),
              "TLabel 00140032Client\t0e10000ff00Arial\r"
              "TEdit 0078003200aNOM\n"
              "TShape 00140064101900002\r\n"
              "TShape 001400782006400c8\r\n"
              "TImage 00c8003c0020020000ffffffffffffff00ff00\r\n"
              "TImage 012c0064\r\n"
              "TEdit 007800500c8VILLE\r\n");
  Open(table);
  child->Vue(TView::Form);
  TFormPage& form = Form();
  ASSERT_EQ(form.FieldControls.size(), 3u);
  ASSERT_EQ(form.DecorControls.size(), 4u);

  auto* label = qobject_cast<QLabel*>(form.DecorControls[0]);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Client");
  EXPECT_EQ(label->pos(), QPoint(17, 13));
  EXPECT_EQ(label->font().family(), "Arial");
  EXPECT_EQ(label->font().pointSize(), 14);
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));

  EXPECT_EQ(Box(*child, 0)->geometry().topLeft(), QPoint(117, 13));
  EXPECT_EQ(Box(*child, 0)->width(), 10);
  EXPECT_EQ(Box(*child, 0)->text(), "Dupont");
  EXPECT_EQ(Box(*child, 2)->objectName(), "VILLE");
  EXPECT_EQ(Box(*child, 2)->text(), "Paris");

  auto* line = dynamic_cast<TFormShape*>(form.DecorControls[1]);
  auto* rectangle = dynamic_cast<TFormShape*>(form.DecorControls[2]);
  ASSERT_TRUE(line && rectangle);
  EXPECT_TRUE(line->Filled());
  EXPECT_EQ(line->geometry(), QRect(17, 63, 400, 2));
  EXPECT_FALSE(rectangle->Filled());
  EXPECT_EQ(rectangle->geometry(), QRect(17, 83, 100, 200));

  // Pixels column by column; the bottom-left pixel's colour is transparent.
  auto* picture = dynamic_cast<TFormPicture*>(form.DecorControls[3]);
  ASSERT_TRUE(picture && picture->Embedded());
  EXPECT_EQ(picture->geometry(), QRect(197, 23, 2, 2));
  const QImage& image = picture->Image();
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);
  EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
  EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));

  auto* field = dynamic_cast<TFormPicture*>(form.FieldControls[1]);
  ASSERT_TRUE(field && !field->Embedded());
  EXPECT_EQ(field->geometry(), QRect(297, 63, 105, 105));
  EXPECT_FALSE(child->Document().Modified());
}

TEST_F(FormPageTest, LinesThatCannotBeBuiltNameTheirLineAndKeepTheTableOpen) {
  const QString table = WriteClients();
  WriteLayout(Path("clients.ecr"),
              "TEdit 000a00320A0NOM\r\n"
              "TLabel 000a0050Ville\t0A0\r\n"
              "TEdit 000a0050zz0VILLE\r\n"
              "TEdit 000a00700A0PRIX\r\n");
  Open(table);
  ExpectMessage(TQuestionKind::Error, "'$zz0' n'est pas une valeur entière correcte (ligne 3)");
  EXPECT_EQ(Form().FieldControls.size(), 1u);
  EXPECT_EQ(Form().DecorControls.size(), 1u);
  EXPECT_EQ(child->Document().Table().RecordCount(), 5);
  EXPECT_FALSE(child->Document().Modified());
  child->Vue(TView::Form);
  EXPECT_EQ(Box(*child, 0)->text(), "Dupont");

  WriteLayout(Path("clients.ecr"), "TEdit 000a00320A0NOM\r\nTEdit 000a00500A0NOM\r\n");
  Open(table);
  ExpectMessage(TQuestionKind::Error, "Un composant nommé NOM existe déjà (ligne 2)");
  EXPECT_EQ(Form().FieldControls.size(), 1u);
  // A layout file that cannot be read says why, and the default form shows.
  ASSERT_TRUE(QFile::remove(Path("clients.ecr")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("clients.ecr"));
  Open(table);
  ExpectMessage(TQuestionKind::Error, "Impossible de lire '" + Path("clients.ecr") +
                                          "' : c'est un dossier, pas un fichier");
  EXPECT_EQ(Form().FieldControls.size(), 3u);
}

// Field names with accents and blanks: every box of the default layout and of
// a layout file is built, and the designer binds new boxes to them.
TEST_F(FormPageTest, FrenchFieldNamesMakeTheirBoxes) {
  const QString table = WriteTable(
      "contacts.qor", {{"Nom", "STRING"}, {"Pr\xE9nom", "STRING"}, {"Code postal", "STRING"}},
      {{"Dupont", "Ren\xE9", "69003"}});
  Open(table);
  EXPECT_TRUE(services.Questions().empty());
  child->Vue(TView::Form);
  ASSERT_EQ(Form().FieldControls.size(), 3u);
  EXPECT_EQ(Box(*child, 1)->text(), QString::fromUtf8("René"));
  EXPECT_EQ(Box(*child, 2)->text(), "69003");
  EXPECT_EQ(Box(*child, 2)->accessibleName(), "Code postal");
  TypeInto(Box(*child, 2), "69007");
  child->Vue(TView::Table);
  EXPECT_EQ(Value(3, 1), "69007");

  WriteLayout(Path("contacts.ecr"), "TEdit 000a00320A0Nom\r\n");
  Open(table);
  services.AnswerDialog([](QDialog& d) {
    auto& designer = static_cast<TCrefiche&>(d);
    designer.SpeedButton6Click();
    designer.Button2Click();
  });
  services.AnswerDialog([](QDialog& d) { static_cast<TCreEdt&>(d).Button2Click(); });
  child->ModiFiche();
  child->Vue(TView::Form);
  ASSERT_EQ(Form().FieldControls.size(), 2u);
  EXPECT_EQ(Box(*child, 1)->accessibleName(), "Code postal");
  EXPECT_EQ(Box(*child, 1)->text(), "69003");  // the table as the file holds it
  EXPECT_TRUE(services.Questions().empty());
}

// Designing a form whose layout file stops building at a damaged line keeps
// that line and the ones after it: saved, the file still holds them.
TEST_F(FormPageTest, LinesThatCouldNotBeBuiltAreWrittenBack) {
  const QString table = WriteClients();
  WriteLayout(Path("clients.ecr"),
              "TEdit 000a00320A0NOM\r\n"
              "TEdit 000a0050zz0VILLE\r\n"
              "TLabel 000a0070Prix\t0A0\r\n"
              "TEdit 007d00700A0PRIX\r\n");
  Open(table);
  ExpectMessage(TQuestionKind::Error, "'$zz0' n'est pas une valeur entière correcte (ligne 2)");
  services.AnswerDialog([](QDialog& d) {
    auto& designer = static_cast<TCrefiche&>(d);
    EXPECT_EQ(designer.Elements.size(), 1u);
    designer.SpeedButton4Click();
    designer.Button2Click();
  });
  services.AnswerDialog([](QDialog& d) { static_cast<TCreLig&>(d).Button2Click(); });
  child->ModiFiche();
  ExpectMessage(TQuestionKind::Error, "'$zz0' n'est pas une valeur entière correcte (ligne 3)");
  ASSERT_TRUE(child->Enregistrer());
  const QByteArray saved = ReadFile(Path("clients.ecr"));
  EXPECT_TRUE(saved.startsWith("TEdit 000A00320A0NOM\r\nTShape "));
  EXPECT_TRUE(
      saved.endsWith("\r\nTEdit 000a0050zz0VILLE\r\n"
                     "TLabel 000a0070Prix\t0A0\r\n"
                     "TEdit 007d00700A0PRIX\r\n"));
  EXPECT_EQ(saved.count("\r\n"), 5);
}

TEST_F(FormPageTest, TabFromTheLastBoxGoesBackToTheFirstAndTheTableViewFollows) {
  Open(WriteClients());
  child->show();
  QApplication::setActiveWindow(child.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(child.get()));
  child->Vue(TView::Form);
  QTest::keyClick(Box(*child, 0), Qt::Key_PageDown);
  QTest::keyClick(Box(*child, 0), Qt::Key_PageDown);  // record 3; the grid stays on row 1
  QLineEdit* last = Box(*child, 2);
  last->setFocus();
  TypeInto(last, "99");
  QTest::keyClick(last, Qt::Key_Tab);
  EXPECT_TRUE(Box(*child, 0)->hasFocus());
  // The row of the record shown took the text; the grid's current row did not.
  EXPECT_EQ(Cell(3, 3), "99");
  EXPECT_EQ(Cell(0, 1), "1");
  EXPECT_EQ(Value(3, 1), "12.5");
  child->Vue(TView::Table);
  EXPECT_EQ(Value(3, 3), "99");
  EXPECT_EQ(Value(3, 1), "12.5");
}

TEST_F(FormPageTest, FieldPictureTakesAPictureFromTheTableFolder) {
  const QString table = WriteClients();
  WriteLayout(Path("clients.ecr"), "TEdit 000a00320A0NOM\r\nTImage 00640064\r\n");
  Open(table);
  child->Vue(TView::Form);
  auto* picture = dynamic_cast<TFormPicture*>(Form().FieldControls[1]);
  ASSERT_NE(picture, nullptr);
  QImage photo(20, 10, QImage::Format_RGB32);
  photo.fill(Qt::red);
  ASSERT_TRUE(photo.save(Path("photo.bmp")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("autre"));
  ASSERT_TRUE(photo.save(Path("autre/photo.bmp")));
  QFile metafile(Path("dessin.wmf"));
  ASSERT_TRUE(metafile.open(QIODevice::WriteOnly));
  metafile.write("\xD7\xCD\xC6\x9A not really a metafile");
  metafile.close();

  // Another folder, then a file that cannot be decoded: nothing changes.
  services.AnswerFile(Path("autre/photo.bmp"));
  Form().PictureClick(picture);
  ExpectMessage(TQuestionKind::Message, "L'image doit être dans le même répertoire");
  services.AnswerFile(Path("dessin.wmf"));
  Form().PictureClick(picture);
  ExpectMessage(TQuestionKind::Error, "Impossible de lire l'image '" + Path("dessin.wmf") +
                                          "' : format d'image non reconnu");
  EXPECT_TRUE(picture->Image().isNull());
  EXPECT_FALSE(child->Document().Modified());

  // The picture goes with the first field no box shows: VILLE.
  services.AnswerFile(Path("photo.bmp"));
  QTest::mouseClick(picture, Qt::LeftButton);
  ASSERT_EQ(services.FileDialogs().size(), 3u);
  EXPECT_EQ(services.FileDialogs().back().kind, TFileDialogKind::Picture);
  EXPECT_EQ(services.FileDialogs().back().directory, QFileInfo(dir.path()).canonicalFilePath());
  EXPECT_EQ(picture->Image().size(), QSize(20, 10));
  EXPECT_EQ(Value(2, 1), "photo.bmp");
  EXPECT_EQ(Cell(2, 1), "photo.bmp");
  EXPECT_TRUE(child->Document().Modified());
}

TEST_F(FormPageTest, DesignedLayoutIsSavedBesideTheTableAndShownAgainOnOpening) {
  const QString table = WriteClients();
  Open(table);
  const std::vector<std::string> before = child->Document().Layout();
  // From the table view too the designer takes the form page's size, plus its
  // tool bar; "Annuler" changes nothing.
  services.AnswerDialog([](QDialog& d) {
    EXPECT_EQ(d.size(), QSize(700, 433));
    static_cast<TCrefiche&>(d).Button1Click();
  });
  child->ModiFiche();
  EXPECT_EQ(child->Document().Layout(), before);
  EXPECT_FALSE(child->Document().Modified());
  child->Vue(TView::Form);

  services.AnswerDialog([](QDialog& d) {
    auto& designer = static_cast<TCrefiche&>(d);
    designer.SpeedButton2Click();
    designer.Button2Click();
  });
  services.AnswerDialog([](QDialog& d) {
    auto& label = static_cast<TCreLbl&>(d);
    label.Edit1->setText("Fiche client");
    label.Button2Click();
  });
  child->ModiFiche();
  ASSERT_EQ(child->Document().Layout().size(), before.size() + 1);
  EXPECT_EQ(child->Document().Layout().back().substr(0, 7), "TLabel ");
  EXPECT_NE(child->Document().Layout().back().find("Fiche client\t"), std::string::npos);
  EXPECT_TRUE(child->Document().Modified());
  EXPECT_EQ(Form().DecorControls.size(), 4u);
  EXPECT_EQ(Box(*child, 0)->text(), "Dupont");
  EXPECT_FALSE(QFile::exists(Path("clients.ecr")));

  ASSERT_TRUE(child->Enregistrer());
  QByteArray expected;
  for (const std::string& line : child->Document().Layout())
    expected += QByteArray::fromStdString(line) + "\r\n";
  EXPECT_EQ(ReadFile(Path("clients.ecr")), expected);
  const std::vector<std::string> designed = child->Document().Layout();

  // Save as in the table format takes the layout along.
  services.AnswerFile(Path("copie.qor"), 1);
  ASSERT_TRUE(child->SaveAs());
  EXPECT_EQ(ReadFile(Path("copie.ecr")), expected);

  Open(table);
  EXPECT_EQ(child->Document().Layout(), designed);
}

TEST_F(FormPageTest, LayoutNeverDesignedLeavesTheLayoutFileAlone) {
  const QString table = WriteClients();
  const QByteArray layout = "TEdit 000a00320a0NOM\n";
  WriteLayout(Path("clients.ecr"), layout);
  Open(table);
  child->Vue(TView::Form);
  TypeInto(Box(*child, 0), "Dupond");
  ASSERT_TRUE(child->Enregistrer());
  EXPECT_EQ(Value(1, 1), "Dupond");
  EXPECT_EQ(ReadFile(Path("clients.ecr")), layout);
  services.AnswerFile(Path("copie.qor"), 1);
  ASSERT_TRUE(child->SaveAs());
  EXPECT_FALSE(QFile::exists(Path("copie.ecr")));
}

}  // namespace
