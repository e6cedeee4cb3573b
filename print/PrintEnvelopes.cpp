#include "PrintEnvelopes.h"

#include "AnsiCodec.h"
#include "IServices.h"
#include "TFenv.h"
#include "TPrinter.h"
#include "TQor2.h"

TStatus PrintEnvelopes(TQor2& table, const TCondition* filter, TEnvelopeSettings& settings,
                       const QString& title) {
  QStringList names;
  for (int i = 1; i <= table.FieldCount(); ++i) names << FromAnsi(table.GetFieldName(i));
  std::optional<TFenv::TLines> recipients;
  {
    TFenv dialog;
    dialog.SetExp(settings.SenderLines);
    dialog.Init(names);
    dialog.SetPreviewHandler([&](const TFenv::TLines& lines, const TFenv::TLines& senders) {
      TEnvelopeSettings shown = settings;
      shown.SenderLines = senders;
      TEnvelopePrintout(table, TEnvelopePrintout::Records(table, filter), shown, lines, title)
          .Preview(false);
    });
    Services().RunDialog(dialog);
    settings.SenderLines = dialog.GetExp();
    recipients = dialog.Result();
  }
  if (!recipients || (*recipients)[0].isEmpty()) return TStatus();
  std::vector<int> recNos = TEnvelopePrintout::Records(table, filter);
  if (recNos.empty() || !TPrintout::MayPrintWithoutAsking(title)) return TStatus();
  return TEnvelopePrintout(table, std::move(recNos), settings, *recipients, title).Print();
}
