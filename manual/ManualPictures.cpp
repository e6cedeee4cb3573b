// vek_manual_pictures OUTDIR TABLE: the pictures of the manual, taken from the
// program itself on a copy of TABLE, offscreen, as PNG files in OUTDIR. Run by
// the build, so that the manual always shows what the program shows. Exits 1
// when a window could not be drawn or a file not written.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "AnsiCodec.h"
#include "French.h"
#include "IServices.h"
#include "TCalendrier.h"
#include "TChild.h"
#include "TCompter.h"
#include "TCrefiche.h"
#include "TFenv.h"
#include "TFrmFiltre.h"
#include "TImportPreviewDlg.h"
#include "TMainForm.h"
#include "TPocket.h"
#include "TQbe.h"
#include "TQtServices.h"
#include "TSql.h"
#include "TStatistiques.h"

namespace {

QString outDir;
int failures = 0;

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void Take(QWidget& widget, const char* name, bool keepShown = false) {
  widget.show();
  Settle();
  const QString path = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
  if (!widget.grab().save(path, "PNG")) {
    std::fprintf(stderr, "vek_manual_pictures: %s non écrit\n", qPrintable(path));
    ++failures;
  }
  if (!keepShown) widget.hide();
}

QStringList FieldNamesOf(const TChild& child) {
  QStringList names;
  for (const std::string& name : child.Document().FieldNames()) names << FromAnsi(name);
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage : vek_manual_pictures DOSSIER TABLE\n");
    return 2;
  }
  outDir = QString::fromLocal8Bit(argv[1]);
  InstallFrenchTranslations(app);
  QLocale::setDefault(FrenchLocale());
  QDir().mkpath(outDir);
  QTemporaryDir work;  // the settings and the copy of the table go there
  // The program's own state (recovery journals, locks) too: the build never
  // meets, nor leaves, what a user's session left.
  qputenv("XDG_STATE_HOME", QFile::encodeName(work.filePath(QStringLiteral("state"))));
  const QString table = work.filePath(QStringLiteral("clients.qor"));
  if (!work.isValid() || !QFile::copy(QString::fromLocal8Bit(argv[2]), table)) {
    std::fprintf(stderr, "vek_manual_pictures: la table %s ne peut être copiée\n", argv[2]);
    return 1;
  }
  TQtServices services;
  SetServices(&services);

  TMainForm form(work.path());
  form.show();
  // Not maximised: the same picture on every screen.
  form.setWindowState(Qt::WindowNoState);
  form.resize(720, 480);
  if (!form.OpenTable(table)) return 1;
  TChild* child = form.ActiveChild();
  form.MdiArea()->tileSubWindows();  // the table's window fills the work space
  Take(form, "fenetre-principale", true);
  form.findChild<QAction*>(QStringLiteral("Colonne1"))->trigger();
  Take(form, "vue-colonne", true);
  form.findChild<QAction*>(QStringLiteral("Formulaire1"))->trigger();
  Take(form, "vue-formulaire", true);
  form.findChild<QAction*>(QStringLiteral("Tabulaire1"))->trigger();
  Settle();

  {
    TSql sql(&form);
    sql.Init(child->Document().Table());
    sql.Memo1->setPlainText(QStringLiteral("SELECT Nom Ville Solde WHERE Solde > 0"));
    sql.SpeedButton2Click();
    Take(sql, "requete-sql");
  }
  {
    TQbe qbe(&form);
    qbe.Init(child->Document().Table());
    Take(qbe, "qbe");
  }
  {
    TFrmFiltre filter(&form);
    TCondition condition;
    condition.Field = "Ville";
    condition.Operator = "=";
    condition.Value = "Lyon";
    filter.Init(FieldNamesOf(*child), condition);
    Take(filter, "filtre");
  }
  {
    TCompter count(&form);
    count.Init(1, child->Document().Table().RecordCount(), FieldNamesOf(*child));
    Take(count, "compter");
  }
  {
    TFenv envelopes(&form);
    envelopes.Init(FieldNamesOf(*child));
    Take(envelopes, "enveloppes");
  }
  {
    TCrefiche designer(&form);
    designer.Init(child->Document().Layout(), child->Document().FieldNames());
    designer.resize(600, 400);
    Take(designer, "createur");
  }
  {
    // A bank's export, as a spreadsheet writes it: commas, quotes, a header.
    const QString csv = work.filePath(QStringLiteral("nouveaux-clients.csv"));
    QFile file(csv);
    if (file.open(QIODevice::WriteOnly))
      file.write(
          "Nom,Prenom,Ville,Achats\r\n\"Lambert\",\"Luc\",Lyon,1250.50\r\n"
          "\"Masson\",\"Anne\",\"Saint-\u00c9tienne\",830\r\n\"Noel\",\"Paul\",Nice,0\r\n");
    file.close();
    TImportPreviewDlg preview(&form);
    if (preview.Init(csv, child->Document().FieldNames()))
      Take(preview, "apercu-import");
    else
      ++failures;
  }
  {
    TStatistiques statistics(&form);
    statistics.resize(900, 520);
    statistics.Init(child->Document().Table(), nullptr, "Ville");
    statistics.show();
    // The counting runs beside the window; the picture waits for its results.
    QElapsedTimer waited;
    waited.start();
    while (statistics.Busy() && waited.elapsed() < 10000) QApplication::processEvents();
    Take(statistics, "statistiques");
  }
  {
    TPocket calculator(&form);
    Take(calculator, "calculatrice");
  }
  {
    TCalendrier calendar(&form);
    Take(calendar, "calendrier");
  }
  for (TChild* open : form.Children()) open->Document().SetModified(false);
  form.close();
  SetServices(nullptr);
  return failures == 0 ? 0 : 1;
}
