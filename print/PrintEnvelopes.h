#pragma once
// PrintEnvelopes: the envelope command on one table. Shows TFenv with the
// settings' sender lines and the table's field names; the sender lines as the
// dialog leaves them go back into `settings`, confirmed or not (the offset and
// the orientation are never changed). When the first recipient line comes back
// empty (cancelled, or confirmed so), nothing prints. Otherwise one envelope per
// record - per record matching `filter` when one is given - as one job on
// Services().Printer(), without a print dialog, except that a printer writing a
// file first asks for the file with the print dialog. No record, no job.
// "Aperçu" in the dialog previews the envelopes of the lines as they stand.
// Returns the job's status, for the caller to tell the user.
//
// The table's cursor is where it was afterwards. `title` names the job.

#include <QString>

#include "TEnvelopePrintout.h"

class TQor2;

TStatus PrintEnvelopes(TQor2& table, const TCondition* filter, TEnvelopeSettings& settings,
                       const QString& title);
