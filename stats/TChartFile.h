#pragma once
// TChartFile: "Enregistrer le graphique...": the save dialog with the kinds
// "Image PNG (*.png)", "Image SVG (*.svg)" and "Document PDF (*.pdf)", then
// the chart written in the kind chosen.
//
// The chosen name loses its own extension and takes the kind's. An existing
// file is replaced only after "Ce fichier existe déjà. Le remplacer ?" is
// answered Yes. The file is written through TAtomicFile: a failure leaves the
// previous file as it was and is reported as
// "Impossible d'enregistrer '<name>' : <reason>".

#include <QString>

class TStatsChartView;

class TChartFile {
 public:
  // True when a file was written; false when cancelled, refused or failed.
  static bool Save(const TStatsChartView& chart);
};
