// The form designer: layouts passed through unchanged, elements added through
// their dialogs (captions and initial values), the text-field proposals and
// the 32-field limit, modifying, deleting and clearing, numbers clamped to the
// layout, pictures, selection and pointer zones, and the controls' names.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "TCreEdt.h"
#include "TCreImg.h"
#include "TCreLbl.h"
#include "TCreLig.h"
#include "TCreRec.h"
#include "TCrefiche.h"
#include "TFakeServices.h"
#include "TFormPicture.h"
#include "TFormShape.h"

namespace {

class CreficheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetServices(&services);
    designer.resize(600, 433);
  }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
    EXPECT_EQ(services.PendingAnswers(), 0);
  }

  // The next element dialog, which must be a D.
  template <class D>
  void Answer(std::function<void(D&)> script) {
    services.AnswerDialog([script](QDialog& dialog) {
      auto* d = dynamic_cast<D*>(&dialog);
      ASSERT_NE(d, nullptr) << dialog.windowTitle().toStdString();
      script(*d);
    });
  }

  std::vector<std::string> Ok() {
    designer.Button2Click();
    const std::optional<std::vector<std::string>> result = designer.Result();
    EXPECT_TRUE(result.has_value());
    return result.value_or(std::vector<std::string>());
  }

  std::string LastLine() { return designer.Elements.back().line.Write(); }

  // The boxes shown so far, "Kind: text".
  QStringList Boxes() const {
    QStringList boxes;
    for (const TQuestion& q : services.Questions())
      boxes << (q.kind == TQuestionKind::YesNo   ? QStringLiteral("YesNo: ")
                : q.kind == TQuestionKind::Error ? QStringLiteral("Error: ")
                                                 : QStringLiteral("Other: ")) +
                   q.text;
    return boxes;
  }

  TFakeServices services;
  TCrefiche designer;
  QTemporaryDir dir;
};

TEST_F(CreficheTest, LayoutPassedThroughUnchangedComesBackLineForLine) {
  const std::vector<std::string> layout = {
      "TLabel 0005000aTitre\t0c780000012Arial",
      "TLabel 00050014Court\t",
      "TEdit 007d00320a0NOM",
      "TShape 00100020101900001",
      "TShape 00100040x012c0064",
      "TImage 00c8003c0020020000ffffffffffffff00ff00",
      "TImage 012c0064",
      "TButton 00aa00bbxyz",
  };
  designer.Init(layout, {"NOM", "VILLE"});
  EXPECT_EQ(designer.Elements.size(), 8u);
  EXPECT_EQ(designer.FieldElementCount, 2);
  EXPECT_EQ(designer.Elements[6].control->objectName(), "CHAMP2");
  // Elements stand at their layout position; a text field shows its field.
  EXPECT_EQ(designer.Elements[2].control->pos(), QPoint(0x7d, 0x32));
  EXPECT_EQ(qobject_cast<QLineEdit*>(designer.Elements[2].control)->text(), "NOM");
  EXPECT_EQ(Ok(), (std::vector<std::string>{
                      "TLabel 0005000ATitre\t0C780000012Arial",
                      "TLabel 00050014Court\t",
                      "TEdit 007D00320A0NOM",
                      "TShape 00100020101900001",
                      "TShape 00100040x012C0064",
                      "TImage 00C8003C0020020000FFFFFFFFFFFFFF00FF00",
                      "TImage 012C0064",
                      "TButton 00aa00bbxyz",
                  }));
  EXPECT_TRUE(designer.Elements.empty());

  // "Annuler" gives no layout, OK on an empty surface an empty one.
  designer.Init(layout, {"NOM"});
  services.AnswerQuestion(TAnswer::Yes);  // "Effacer tous les éléments du formulaire ?"
  designer.SpeedButton8Click();
  EXPECT_TRUE(Ok().empty());
  designer.Init(layout, {"NOM"});
  designer.Button1Click();
  EXPECT_FALSE(designer.Result().has_value());
}

TEST_F(CreficheTest, ElementsAreAddedThroughTheirDialogs) {
  designer.Init({}, {"NOM", "VILLE", "PRIX"});
  Answer<TCreLbl>([](TCreLbl& d) {
    EXPECT_EQ(d.windowTitle(), "Libellé");
    EXPECT_TRUE(d.Edit1->text().isEmpty());
    EXPECT_EQ(d.SpinEdit1->value(), 10);
    EXPECT_EQ(d.SpinEdit2->value(), 216);
    d.Edit1->setText("Nom :");
    d.SpinEdit1->setValue(20);
    d.SpinEdit2->setValue(60);
    d.Button2Click();
  });
  designer.SpeedButton2Click();
  QFont font = designer.font();
  EXPECT_EQ(LastLine(), "TLabel 0014003CNom :\t" +
                            TLayoutLine::Hex(designer.font().pointSize(), 2) + "080000008" +
                            font.family().toStdString());
  Answer<TCreLbl>([](TCreLbl& d) { d.Button2Click(); });  // no text, no label
  designer.SpeedButton2Click();
  EXPECT_EQ(designer.Elements.size(), 1u);

  Answer<TCreLig>([](TCreLig& d) {
    EXPECT_EQ(d.windowTitle(), "Ligne");
    EXPECT_TRUE(d.Horizontal->isChecked());
    EXPECT_EQ(d.SpinEdit1->value(), 400);
    EXPECT_EQ(d.SpinEdit2->value(), 1);
    d.Button2Click();
  });
  designer.SpeedButton4Click();
  EXPECT_EQ(LastLine(), "TShape 006400D8101900001");  // centred on the window

  Answer<TCreRec>([](TCreRec& d) {
    EXPECT_EQ(d.windowTitle(), "Rectangle");
    EXPECT_EQ(d.SpinEdit1->value(), 300);
    EXPECT_EQ(d.SpinEdit2->value(), 100);
    EXPECT_EQ(d.SpinEdit3->value(), 1);
    EXPECT_EQ(d.SpinEdit3->maximum(), 24);
    d.SpinEdit3->setValue(5);
    d.Button2Click();
  });
  designer.SpeedButton5Click();
  // The outline thickness is drawn but not written.
  EXPECT_EQ(LastLine(), "TShape 009600A62012C0064");
  EXPECT_EQ(dynamic_cast<TFormShape*>(designer.Elements.back().control)->PenWidth(), 5);

  Answer<TCreEdt>([](TCreEdt& d) {
    EXPECT_EQ(d.windowTitle(), "Champ texte");
    EXPECT_EQ(d.Button2->text(), "Ok");
    EXPECT_EQ(d.ComboBox1->count(), 3);
    EXPECT_EQ(d.ComboBox1->currentText(), "VILLE");  // the field after the count
    EXPECT_EQ(d.SpinEdit1->value(), 160);
    EXPECT_EQ(d.SpinEdit2->value(), 10);
    EXPECT_EQ(d.SpinEdit3->value(), 216);
    d.Button2Click();
  });
  designer.SpeedButton6Click();
  EXPECT_EQ(LastLine(), "TEdit 000A00D80A0VILLE");

  Answer<TCreImg>([](TCreImg& d) {
    EXPECT_EQ(d.windowTitle(), "Champ image");
    EXPECT_EQ(d.SpinEdit1->value(), 100);
    EXPECT_EQ(d.SpinEdit2->value(), 100);
    d.SpinEdit1->setValue(80);
    d.SpinEdit2->setValue(120);
    d.Button2Click();
  });
  designer.SpeedButton7Click();
  EXPECT_EQ(LastLine(), "TImage 00F000B0");
  EXPECT_EQ(designer.Elements.back().control->size(), QSize(120, 80));
  EXPECT_EQ(designer.Elements.back().control->objectName(), "CHAMP2");
  EXPECT_EQ(designer.FieldElementCount, 2);
}

TEST_F(CreficheTest, TextFieldsProposeTheNextFieldAndStopAt32) {
  designer.Init({}, {"NOM", "VILLE", "PRIX"});
  for (const char* proposed : {"VILLE", "PRIX", "PRIX"}) {
    Answer<TCreEdt>([proposed](TCreEdt& d) {
      EXPECT_EQ(d.ComboBox1->currentText(), proposed);
      d.Button1Click();
    });
    designer.SpeedButton6Click();
  }
  EXPECT_TRUE(designer.Elements.empty());

  // Field pictures count too, and deleting does not give any back.
  for (int i = 0; i < 30; ++i) {
    Answer<TCreImg>([](TCreImg& d) { d.Button2Click(); });
    designer.SpeedButton7Click();
  }
  EXPECT_EQ(designer.FieldElementCount, 32);
  designer.ElementClick(0);
  designer.Supprimer1Click();
  EXPECT_EQ(designer.Elements.size(), 29u);
  EXPECT_EQ(designer.SelectedIndex, -1);
  designer.SpeedButton6Click();
  designer.SpeedButton7Click();
  ASSERT_EQ(services.Questions().size(), 2u);
  EXPECT_EQ(services.Questions()[0].text, "Vous avez déjà 32 champs");
  EXPECT_EQ(services.Questions()[1].text, "Vous avez déjà 32 champs");
  services.AnswerQuestion(TAnswer::Yes);
  designer.SpeedButton8Click();
  EXPECT_TRUE(designer.Elements.empty());
  EXPECT_EQ(designer.FieldElementCount, 0);
  Answer<TCreEdt>([](TCreEdt& d) { d.Button2Click(); });
  designer.SpeedButton6Click();
  EXPECT_EQ(LastLine(), "TEdit 000A00D80A0VILLE");

  // A table without fields has no field to propose.
  designer.Init({}, {});
  designer.SpeedButton6Click();
  EXPECT_EQ(services.Questions().back().kind, TQuestionKind::Error);
  EXPECT_EQ(services.Questions().back().text, "Index de liste hors limites (-1)");
}

TEST_F(CreficheTest, ModifyChangesOnlyWhatTheDialogChanged) {
  designer.Init({"TShape 00100020101900001", "TLabel 0005000aTitre\t0c780000012Arial",
                 "TEdit 007d00320a0NOM", "TEdit 007d00500a0VILLE", "TImage 012c0064"},
                {"NOM", "VILLE"});
  designer.SpeedButton9Click();  // nothing selected: no dialog

  designer.ElementClick(0);
  Answer<TCreLig>([](TCreLig& d) {
    EXPECT_TRUE(d.Horizontal->isChecked());
    EXPECT_EQ(d.SpinEdit1->value(), 400);
    EXPECT_EQ(d.SpinEdit2->value(), 1);
    d.Button2Click();
  });
  designer.SpeedButton9Click();
  EXPECT_EQ(designer.Elements[0].line.Write(), "TShape 00100020101900001");
  Answer<TCreLig>([](TCreLig& d) {
    d.Vertical->setChecked(true);
    d.Button2Click();
  });
  designer.Modifier1->trigger();
  EXPECT_EQ(designer.Elements[0].line.Write(), "TShape 00100020100010190");

  // An emptied text keeps the label; a new text keeps the attributes as read.
  designer.ElementClick(1);
  Answer<TCreLbl>([](TCreLbl& d) {
    EXPECT_EQ(d.Edit1->text(), "Titre");
    EXPECT_EQ(d.SpinEdit1->value(), 5);
    EXPECT_EQ(d.SpinEdit2->value(), 10);
    d.Edit1->clear();
    d.Button2Click();
  });
  designer.SpeedButton9Click();
  Answer<TCreLbl>([](TCreLbl& d) {
    d.Edit1->setText("Client");
    d.Button2Click();
  });
  designer.SpeedButton9Click();
  EXPECT_EQ(designer.Elements[1].line.Write(), "TLabel 0005000AClient\t0C780000012Arial");
  // A colour chosen makes a direct colour.
  Answer<TCreLbl>([](TCreLbl& d) {
    d.Button4Click();
    d.Button2Click();
  });
  services.AnswerColor(QColor(0x12, 0x34, 0x56));
  designer.SpeedButton9Click();
  EXPECT_NE(designer.Elements[1].line.Write().find("\t0C000563412"), std::string::npos);

  // A text field cannot take a field another one shows.
  designer.ElementClick(3);
  Answer<TCreEdt>([](TCreEdt& d) {
    EXPECT_EQ(d.ComboBox1->currentText(), "VILLE");
    d.ComboBox1->setCurrentIndex(0);
    d.Button2Click();
  });
  designer.SpeedButton9Click();
  EXPECT_EQ(services.Questions().back().text, "Un composant nommé NOM existe déjà");
  EXPECT_EQ(designer.Elements[3].line.field, "VILLE");

  designer.ElementClick(4);
  Answer<TCreImg>([](TCreImg& d) {
    EXPECT_EQ(d.SpinEdit1->value(), 105);
    d.SpinEdit1->setValue(9);  // below 10: nothing changes
    d.Button2Click();
  });
  designer.SpeedButton9Click();
  EXPECT_EQ(designer.Elements[4].control->size(), QSize(105, 105));
}

TEST_F(CreficheTest, NumbersEnteredAreClampedToWhatTheLayoutHolds) {
  designer.Init({}, {"NOM"});
  Answer<TCreLbl>([](TCreLbl& d) {
    d.Edit1->setText("A");
    d.SpinEdit1->setValue(-20);
    d.SpinEdit2->setValue(70000);
    d.Button2Click();
  });
  designer.SpeedButton2Click();
  EXPECT_EQ(LastLine().substr(0, 15), "TLabel 0000FFFF");
  Answer<TCreEdt>([](TCreEdt& d) {
    d.SpinEdit1->setValue(5000);
    d.SpinEdit2->setValue(-1);
    d.Button2Click();
  });
  designer.SpeedButton6Click();
  EXPECT_EQ(LastLine(), "TEdit 000000D8FFFNOM");
  Answer<TCreLig>([](TCreLig& d) {
    d.SpinEdit1->setValue(100000);  // the spin boxes keep a line within 1 to 4095
    d.SpinEdit2->setValue(-3);
    d.Button2Click();
  });
  designer.SpeedButton4Click();
  EXPECT_EQ(LastLine(), "TShape 000000D810FFF0001");
  for (const std::string& line : Ok()) {
    TLayoutLine back;
    std::string bad;
    ASSERT_TRUE(back.Read(line, &bad));
    EXPECT_EQ(back.Write(), line);
  }
}

TEST_F(CreficheTest, PicturesAreWrittenPixelByPixel) {
  QImage bitmap(3, 2, QImage::Format_RGB32);
  bitmap.setPixel(0, 0, qRgb(255, 0, 0));
  bitmap.setPixel(0, 1, qRgb(0, 255, 0));
  bitmap.setPixel(1, 0, qRgb(0, 0, 255));
  bitmap.setPixel(1, 1, qRgb(1, 2, 3));
  bitmap.setPixel(2, 0, qRgb(255, 255, 255));
  bitmap.setPixel(2, 1, qRgb(0, 0, 0));
  const QString bmp = dir.filePath("logo.bmp");
  ASSERT_TRUE(bitmap.save(bmp));
  // The transparent parts of a picture are written white.
  QImage clear(1, 1, QImage::Format_ARGB32);
  clear.fill(Qt::transparent);
  const QString png = dir.filePath("vide.png");
  ASSERT_TRUE(clear.save(png));
  const QString wmf = dir.filePath("dessin.wmf");
  QFile f(wmf);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a picture");
  f.close();

  designer.Init({}, {});
  services.CancelFile();
  designer.SpeedButton3Click();
  services.AnswerFile(wmf);
  designer.SpeedButton3Click();
  EXPECT_TRUE(designer.Elements.empty());
  EXPECT_EQ(services.Questions().back().kind, TQuestionKind::Error);
  EXPECT_EQ(services.Questions().back().text,
            "Impossible de lire l'image '" + wmf + "' : format d'image non reconnu");
  ASSERT_EQ(services.FileDialogs().size(), 2u);
  EXPECT_EQ(services.FileDialogs()[0].kind, TFileDialogKind::Picture);
  EXPECT_EQ(services.FileDialogs()[0].filters[0].label, "Tout (*.gif;*.bmp;*.ico;*.emf;*.wmf)");
  EXPECT_EQ(services.FileDialogs()[0].filters[6].label, "Jpeg (*.jpg)");

  services.AnswerFile(bmp);
  designer.SpeedButton3Click();
  // The 105-pixel frame is centred, then takes the picture's size.
  EXPECT_EQ(LastLine(),
            "TImage 00F700A4003002"
            "0000FF00FF00FF0000030201FFFFFF000000");
  EXPECT_EQ(designer.Elements.back().control->geometry(), QRect(247, 164, 3, 2));

  designer.ElementClick(0);
  services.AnswerFile(png);
  designer.SpeedButton9Click();
  EXPECT_EQ(LastLine(), "TImage 00F700A4001001FFFFFF");
  services.AnswerFile(wmf);
  designer.SpeedButton9Click();
  EXPECT_EQ(LastLine(), "TImage 00F700A4001001FFFFFF");
}

TEST_F(CreficheTest, ClicksSelectAndThePointerZonesShowInTheStatusText) {
  designer.Init({"TShape 0064006410064003C", "TEdit 012C00640A0NOM"}, {"NOM"});
  EXPECT_EQ(designer.ElementAt(QPoint(110, 110)), 0);
  EXPECT_EQ(designer.ElementAt(QPoint(90, 90)), -1);
  // Loaded elements carry no element menu; adding a line gives the surface one.
  EXPECT_FALSE(designer.MenuAt(QPoint(110, 110)));
  QTest::mouseClick(&designer, Qt::LeftButton, {}, QPoint(110, 110));
  EXPECT_EQ(designer.SelectedIndex, 0);

  designer.CurseurSel(2, 3);
  EXPECT_EQ(designer.Zone, 1);
  EXPECT_EQ(designer.StaticText1->text(), "1  2  3");
  EXPECT_EQ(designer.cursor().shape(), Qt::SizeFDiagCursor);
  designer.CurseurSel(97, 2);
  EXPECT_EQ(designer.Zone, 2);
  EXPECT_EQ(designer.cursor().shape(), Qt::SizeBDiagCursor);
  designer.CurseurSel(97, 58);
  EXPECT_EQ(designer.Zone, 4);
  designer.CurseurSel(1, 29);
  EXPECT_EQ(designer.Zone, 5);
  EXPECT_EQ(designer.cursor().shape(), Qt::SizeHorCursor);
  designer.CurseurSel(50, 20);
  EXPECT_EQ(designer.Zone, 0);
  EXPECT_EQ(designer.StaticText1->text(), "0  50  20");
  EXPECT_EQ(designer.cursor().shape(), Qt::CrossCursor);

  QTest::mouseClick(&designer, Qt::LeftButton, {}, QPoint(90, 90));
  EXPECT_EQ(designer.SelectedIndex, -1);

  Answer<TCreLig>([](TCreLig& d) { d.Button2Click(); });
  designer.SpeedButton4Click();
  EXPECT_TRUE(designer.MenuAt(QPoint(5, 300)));

  services.AnswerColor(QColor(Qt::yellow));
  designer.SpeedButton1Click();
  EXPECT_EQ(designer.palette().color(designer.backgroundRole()), QColor(Qt::yellow));
}

// The designer never throws the user's work away by a slip: the keyboard
// starts on the form, "Tout effacer" asks, and leaving with changes asks.
TEST_F(CreficheTest, NothingIsLostByASlip) {
  const std::vector<std::string> layout = {"TEdit 007D00320A0NOM", "TShape 00100020101900001"};
  designer.Init(layout, {"NOM"});
  services.AnswerDialog([](QDialog& d) {
    auto& f = static_cast<TCrefiche&>(d);
    EXPECT_EQ(f.focusWidget(), f.Surface);
    EXPECT_FALSE(f.Surface->accessibleName().isEmpty());
    QTest::keyClick(f.focusWidget(), Qt::Key_Space);
    EXPECT_EQ(f.Elements.size(), 2u);
    f.SpeedButton8->click();  // "Tout effacer", answered "Non"
    EXPECT_EQ(f.Elements.size(), 2u);
    QTest::keyClick(&f, Qt::Key_Escape);  // nothing changed: no question
  });
  services.AnswerQuestion(TAnswer::No);
  EXPECT_EQ(Services().RunDialog(designer), QDialog::Rejected);
  EXPECT_EQ(Boxes(), QStringList({"YesNo: Effacer tous les éléments du formulaire ?"}));

  // A change, then Escape: "Non" stays; "Annuler" and "Oui" leave without it.
  designer.Init(layout, {"NOM"});
  services.AnswerDialog([](QDialog& d) {
    auto& f = static_cast<TCrefiche&>(d);
    f.SpeedButton4Click();
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Elements.size(), 3u);
    f.Button1->click();
  });
  Answer<TCreLig>([](TCreLig& d) { d.Button2Click(); });
  services.AnswerQuestion(TAnswer::No);
  services.AnswerQuestion(TAnswer::Yes);
  EXPECT_EQ(Services().RunDialog(designer), QDialog::Rejected);
  EXPECT_FALSE(designer.Result().has_value());
  const QString leave = "YesNo: Abandonner les modifications du formulaire ?";
  EXPECT_EQ(Boxes().mid(1), QStringList({leave, leave}));

  // "Tout effacer" answered "Oui", then OK: an empty form.
  designer.Init(layout, {"NOM"});
  services.AnswerQuestion(TAnswer::Yes);
  designer.SpeedButton8->click();
  EXPECT_TRUE(Ok().empty());
}

// Enter confirms the element dialogs wherever it is pressed in their boxes.
TEST_F(CreficheTest, EnterConfirmsTheElementDialogs) {
  designer.Init({}, {"NOM", "VILLE"});
  Answer<TCreRec>([](TCreRec& d) {
    EXPECT_TRUE(d.Button2->isDefault());
    d.SpinEdit1->setValue(200);
    QTest::keyClick(d.SpinEdit1, Qt::Key_Return);
  });
  designer.SpeedButton5Click();
  EXPECT_EQ(LastLine().substr(15), "200C80064");
  Answer<TCreLig>([](TCreLig& d) {
    d.Vertical->setChecked(true);
    QTest::keyClick(d.SpinEdit2, Qt::Key_Enter);
  });
  designer.SpeedButton4Click();
  EXPECT_EQ(LastLine().substr(15), "100010190");
  Answer<TCreEdt>([](TCreEdt& d) {
    d.ComboBox1->setCurrentIndex(0);
    QTest::keyClick(d.ComboBox1, Qt::Key_Return);
  });
  designer.SpeedButton6Click();
  EXPECT_EQ(LastLine().substr(14), "0A0NOM");
  // Enter in the label's text confirms it once.
  Answer<TCreLbl>([](TCreLbl& d) {
    d.Edit1->setText("Nom");
    QTest::keyClick(d.Edit1, Qt::Key_Return);
  });
  designer.SpeedButton2Click();
  EXPECT_EQ(designer.Elements.size(), 4u);
  EXPECT_EQ(designer.Elements.back().line.caption, "Nom");
}

// A rectangle is at least 1 pixel and at most 4095 pixels each way: the spin
// boxes take nothing else.
TEST_F(CreficheTest, RectangleSizesStayWithinThePage) {
  designer.Init({}, {});
  Answer<TCreRec>([](TCreRec& d) {
    d.SpinEdit1->setValue(99999);
    d.SpinEdit2->setValue(-5);
    EXPECT_EQ(d.SpinEdit1->value(), 4095);
    EXPECT_EQ(d.SpinEdit2->value(), 1);
    d.Button2Click();
  });
  designer.SpeedButton5Click();
  EXPECT_EQ(LastLine().substr(15), "20FFF0001");
  EXPECT_EQ(designer.Elements.back().control->size(), QSize(4095, 1));
}

// Field names with accents and blanks make text fields like any other.
TEST_F(CreficheTest, TextFieldsBindFrenchFieldNames) {
  designer.Init({}, {"Nom", "Pr\xE9nom", "Code postal"});
  Answer<TCreEdt>([](TCreEdt& d) {
    EXPECT_EQ(d.ComboBox1->currentText(), QString::fromUtf8("Prénom"));
    d.ComboBox1->setCurrentIndex(2);
    d.Button2Click();
  });
  designer.SpeedButton6Click();
  EXPECT_EQ(LastLine(), "TEdit 000A00D80A0Code postal");
  EXPECT_EQ(qobject_cast<QLineEdit*>(designer.Elements.back().control)->text(), "Code postal");
  Answer<TCreEdt>([](TCreEdt& d) {
    d.ComboBox1->setCurrentIndex(2);
    d.Button2Click();
  });
  designer.SpeedButton6Click();
  EXPECT_EQ(Boxes(), QStringList({"Error: Un composant nommé Code postal existe déjà"}));
  EXPECT_EQ(designer.Elements.size(), 1u);
  EXPECT_EQ(Ok(), std::vector<std::string>({"TEdit 000A00D80A0Code postal"}));
}

TEST_F(CreficheTest, EveryControlHasAnAccessibleName) {
  designer.Init({"TLabel 00050032A\t", "TEdit 007d00320a0NOM", "TShape 00100020101900001",
                 "TImage 012c0064", "TImage 00c8003c002002FFFFFF"},
                {"NOM"});
  TCreLbl label;
  TCreLig line;
  TCreRec rectangle;
  TCreEdt text;
  TCreImg picture;
  for (QWidget* window :
       std::initializer_list<QWidget*>{&designer, &label, &line, &rectangle, &text, &picture}) {
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    int named = 0;
    for (QWidget* w : controls) {
      if (w->inherits("QAbstractButton") || w->inherits("QLineEdit") ||
          w->inherits("QAbstractSpinBox") || w->inherits("QComboBox") ||
          dynamic_cast<TFormShape*>(w) || dynamic_cast<TFormPicture*>(w)) {
        // The line edit inside a combo or spin box is named by its owner.
        if (w->parentWidget()->inherits("QComboBox") ||
            w->parentWidget()->inherits("QAbstractSpinBox"))
          continue;
        EXPECT_FALSE(w->accessibleName().isEmpty())
            << window->windowTitle().toStdString() << ": " << w->metaObject()->className();
        ++named;
      }
    }
    EXPECT_GT(named, 2) << window->windowTitle().toStdString();
  }
  EXPECT_EQ(designer.SpeedButton4->accessibleName(), "Ligne");
  EXPECT_EQ(designer.SpeedButton4->text(), "----");
  EXPECT_EQ(label.Button3->accessibleName(), "Police");
  EXPECT_EQ(line.SpinEdit2->accessibleName(), QString::fromUtf8("Épaisseur"));
  EXPECT_EQ(rectangle.SpinEdit3->accessibleName(), QString::fromUtf8("Épaisseur de trait"));
  // The field box is announced by its label, the field chosen as its value.
  text.Init({"NOM", "VILLE"}, "VILLE", 0, 0, 160);
  QAccessibleInterface* field = QAccessible::queryAccessibleInterface(text.ComboBox1);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(QAccessible::Name), "Nom du champ");
  EXPECT_EQ(field->text(QAccessible::Value), "VILLE");
  EXPECT_EQ(text.ComboBox1->lineEdit()->accessibleName(), "Nom du champ");
}

}  // namespace
