#pragma once
// TEnvelopePrintout: one envelope per page for the records given, in "Arial"
// 10 points, on a page turned landscape when the settings' orientation is 1
// and portrait otherwise. The printer's own orientation comes back after a
// print (TPrintout).
//
// One envelope (Enveloppe), positions in millimetres from the top left of the
// printable area, O the settings' offset: the four sender lines at x 5, y O + 5,
// O + 10, O + 15, O + 20; the four recipient templates, expanded for the record
// (Contenu), at x 110, y O + 50, O + 55, O + 60, O + 65. Empty lines print
// nothing. Mh and Mv turn millimetres into printer pixels with the printer's
// exact pixels per millimetre, rounded once; Mv puts everything 3 mm lower,
// so offset 10 prints the first sender line 18 mm from the top. Envelopes are
// separated by page breaks: n records give n pages, without a blank one after.
//
// Drawing moves the table's cursor and puts it back, with its Bof and Eof
// flags, when it is done. The table must outlive the printout.

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "TCondition.h"
#include "TPrintout.h"

class TQor2;

// The envelope settings the main window keeps in its settings file.
struct TEnvelopeSettings {
  std::array<QString, 4> SenderLines;
  int EnvelopeOffset = 0;       // millimetres, added to every vertical position
  int EnvelopeOrientation = 0;  // 1: landscape; anything else: portrait
};

class TEnvelopePrintout : public TPrintout {
 public:
  TEnvelopePrintout(TQor2& table, std::vector<int> recNos, const TEnvelopeSettings& settings,
                    const std::array<QString, 4>& recipients, const QString& title);

  // The records that get an envelope: all, or those matching `filter` (a
  // forward search from the first record), in table order. The cursor is kept.
  static std::vector<int> Records(TQor2& table, const TCondition* filter);

  // A recipient template expanded for the current record: its blank-separated
  // words are field names, each replaced by a blank and the field's value (a
  // word that names no field gives an empty value); the result is trimmed.
  static QString Contenu(const TQor2& table, const QString& pattern);
  static int Mh(TPrinter& printer, int mm);
  static int Mv(TPrinter& printer, int mm);
  // The envelope of the table's current record on the current page.
  void Enveloppe(TPrinter& printer);

 protected:
  QString Title() const override { return title_; }
  std::optional<QPageLayout::Orientation> JobOrientation() const override;
  void Draw(TPrinter& printer) override;

 private:
  TQor2& table_;
  std::vector<int> recNos_;
  TEnvelopeSettings settings_;
  std::array<QString, 4> recipients_;
  QString title_;
};
