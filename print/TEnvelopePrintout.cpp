#include "TEnvelopePrintout.h"

#include <cmath>

#include "AnsiCodec.h"
#include "TPrinter.h"
#include "TQor2.h"

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The cursor as it was, Bof and Eof included.
class TCursorKeeper {
 public:
  explicit TCursorKeeper(TQor2& table)
      : table_(table), recNo_(table.RecNo()), bof_(table.Bof), eof_(table.Eof) {}
  ~TCursorKeeper() {
    table_.GoToRecord(recNo_);
    table_.Bof = bof_;
    table_.Eof = eof_;
  }

 private:
  TQor2& table_;
  int recNo_;
  bool bof_, eof_;
};

}  // namespace

TEnvelopePrintout::TEnvelopePrintout(TQor2& table, std::vector<int> recNos,
                                     const TEnvelopeSettings& settings,
                                     const std::array<QString, 4>& recipients, const QString& title)
    : table_(table),
      recNos_(std::move(recNos)),
      settings_(settings),
      recipients_(recipients),
      title_(title) {}

std::vector<int> TEnvelopePrintout::Records(TQor2& table, const TCondition* filter) {
  std::vector<int> recNos;
  if (!filter) {
    for (int n = 1; n <= table.RecordCount(); ++n) recNos.push_back(n);
    return recNos;
  }
  TCursorKeeper keeper(table);
  table.First();
  if (table.BeginSearch(true)) {
    while (table.FindNext(*filter)) recNos.push_back(table.RecNo());
    table.EndSearch();
  }
  return recNos;
}

QString TEnvelopePrintout::Contenu(const TQor2& table, const QString& pattern) {
  std::string rest = Trim(ToAnsi(pattern));
  std::string result;
  while (!rest.empty()) {
    const size_t blank = rest.find(' ');
    const std::string name = blank == std::string::npos ? rest : rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : Trim(rest.substr(blank + 1, 255));
    result += ' ';
    result += table.GetValueByName(name);
  }
  return FromAnsi(Trim(result));
}

int TEnvelopePrintout::Mh(TPrinter& printer, int mm) {
  return static_cast<int>(std::lround(mm * printer.PixelsPerMMX()));
}

int TEnvelopePrintout::Mv(TPrinter& printer, int mm) {
  return static_cast<int>(std::lround((mm + 3) * printer.PixelsPerMMY()));
}

void TEnvelopePrintout::Enveloppe(TPrinter& printer) {
  const int o = settings_.EnvelopeOffset;
  for (int k = 0; k < 4; ++k) {
    const QString& sender = settings_.SenderLines[k];
    if (!sender.isEmpty()) printer.TextOut(Mh(printer, 5), Mv(printer, o + 5 + 5 * k), sender);
    const QString recipient = Contenu(table_, recipients_[k]);
    if (!recipient.isEmpty())
      printer.TextOut(Mh(printer, 110), Mv(printer, o + 50 + 5 * k), recipient);
  }
}

std::optional<QPageLayout::Orientation> TEnvelopePrintout::JobOrientation() const {
  return settings_.EnvelopeOrientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void TEnvelopePrintout::Draw(TPrinter& printer) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(10);
  printer.Canvas().setFont(font);
  TCursorKeeper keeper(table_);
  SetPageCount(static_cast<int>(recNos_.size()));
  for (size_t i = 0; i < recNos_.size(); ++i) {
    if (i > 0 && !NextPage(printer)) return;
    if (!table_.GoToRecord(recNos_[i])) continue;
    Enveloppe(printer);
  }
}
