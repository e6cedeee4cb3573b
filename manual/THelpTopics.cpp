#include "THelpTopics.h"

#include <QHash>
#include <QVariant>
#include <QWidget>

namespace {

// The page of each window and dialog, by class name.
const QHash<QString, QString>& PagesByClass() {
  static const QHash<QString, QString> pages = {
      {QStringLiteral("TMainForm"), QStringLiteral("fenetre-principale.html")},
      {QStringLiteral("TChild"), QStringLiteral("fenetre-table.html")},
      {QStringLiteral("TNouveau"), QStringLiteral("menu-fichier.html#nouveau")},
      {QStringLiteral("TTableChoiceDlg"), QStringLiteral("import-export.html#ouvrir")},
      {QStringLiteral("TImportPreviewDlg"), QStringLiteral("import-export.html#apercu")},
      {QStringLiteral("TImportProgress"), QStringLiteral("import-export.html#importer")},
      {QStringLiteral("TEnreg"), QStringLiteral("menu-edition.html#aller")},
      {QStringLiteral("TFindDlg"), QStringLiteral("menu-edition.html#rechercher")},
      {QStringLiteral("TReplaceDlg"), QStringLiteral("menu-edition.html#remplacer")},
      {QStringLiteral("TModif"), QStringLiteral("menu-vue.html#structure")},
      {QStringLiteral("TInfos"), QStringLiteral("menu-vue.html#proprietes")},
      {QStringLiteral("TRenum"), QStringLiteral("menu-table.html#renommer")},
      {QStringLiteral("TFrmFiltre"), QStringLiteral("requetes.html#filtre")},
      {QStringLiteral("TSql"), QStringLiteral("requetes.html#sql")},
      {QStringLiteral("TQbe"), QStringLiteral("requetes.html#qbe")},
      {QStringLiteral("TDualListDlg"), QStringLiteral("requetes.html#qbe")},
      {QStringLiteral("TCompter"), QStringLiteral("requetes.html#compter")},
      {QStringLiteral("TCalcul"), QStringLiteral("requetes.html#calculer")},
      {QStringLiteral("TStatistiques"), QStringLiteral("statistiques.html")},
      {QStringLiteral("TCrefiche"), QStringLiteral("formulaires.html#createur")},
      {QStringLiteral("TCreLbl"), QStringLiteral("formulaires.html#elements")},
      {QStringLiteral("TCreEdt"), QStringLiteral("formulaires.html#elements")},
      {QStringLiteral("TCreLig"), QStringLiteral("formulaires.html#elements")},
      {QStringLiteral("TCreRec"), QStringLiteral("formulaires.html#elements")},
      {QStringLiteral("TCreImg"), QStringLiteral("formulaires.html#elements")},
      {QStringLiteral("TPreview"), QStringLiteral("impression.html#apercu")},
      {QStringLiteral("TPrintProgress"), QStringLiteral("impression.html")},
      {QStringLiteral("TFenv"), QStringLiteral("impression.html#enveloppes")},
      {QStringLiteral("TPrinterSetup"), QStringLiteral("impression.html#imprimante")},
      {QStringLiteral("TPocket"), QStringLiteral("utilitaires.html#calculatrice")},
      {QStringLiteral("THorloge"), QStringLiteral("utilitaires.html#horloge")},
      {QStringLiteral("TEurof"), QStringLiteral("utilitaires.html#euro")},
      {QStringLiteral("TCalendrier"), QStringLiteral("utilitaires.html#calendrier")},
      {QStringLiteral("TBlocnotes"), QStringLiteral("utilitaires.html#bloc-notes")},
      {QStringLiteral("TAboutBox"), QStringLiteral("menu-aide.html")},
      {QStringLiteral("THelpWindow"), QStringLiteral("menu-aide.html#manuel")},
  };
  return pages;
}

}  // namespace

QString HelpPageFor(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant own = w->property("helpPage");
    if (own.isValid()) return own.toString();
    const auto found = PagesByClass().constFind(QLatin1String(w->metaObject()->className()));
    if (found != PagesByClass().constEnd()) return *found;
  }
  return QStringLiteral("index.html");
}
