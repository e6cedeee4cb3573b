#include "TQtServices.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTreeView>
#include <ctime>

#include "TInputBox.h"
#include "TPrinterSetup.h"

namespace {

QWidget* Parent() {
  return QApplication::activeWindow();
}

QString ApplicationCaption() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Vek Base") : name;
}

QString DefaultCaption(TQuestionKind kind) {
  switch (kind) {
    case TQuestionKind::Information:
      return QStringLiteral("Information");
    case TQuestionKind::Warning:
      return QStringLiteral("Avertissement");
    case TQuestionKind::Error:
      return QStringLiteral("Erreur");
    case TQuestionKind::YesNo:
    case TQuestionKind::YesNoCancel:
      return QStringLiteral("Confirmation");
    default:
      return ApplicationCaption();
  }
}

// Qt's file dialog reads the patterns from the parentheses of each entry.
QString FilterEntry(const TFileFilter& filter) {
  QString patterns = filter.pattern;
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  if (filter.label.endsWith(QStringLiteral("(") + filter.pattern + QStringLiteral(")")))
    return filter.label.left(filter.label.size() - filter.pattern.size() - 2) +
           QStringLiteral("(") + patterns + QStringLiteral(")");
  return filter.label + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

}  // namespace

TAnswer TQtServices::Ask(const TQuestion& question) {
  QMessageBox box(Parent());
  box.setWindowTitle(question.caption.isEmpty() ? DefaultCaption(question.kind) : question.caption);
  box.setText(question.text);
  switch (question.kind) {
    case TQuestionKind::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case TQuestionKind::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case TQuestionKind::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case TQuestionKind::YesNo:
    case TQuestionKind::YesNoCancel:
      box.setIcon(QMessageBox::Question);
      break;
    default:
      break;
  }
  if (question.kind == TQuestionKind::YesNo || question.kind == TQuestionKind::YesNoCancel) {
    QPushButton* yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    QPushButton* cancel = nullptr;
    if (question.kind == TQuestionKind::YesNoCancel) {
      cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
    }
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes) return TAnswer::Yes;
    if (box.clickedButton() == no) return TAnswer::No;
    return cancel ? TAnswer::Cancel : TAnswer::No;
  }
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return TAnswer::Ok;
}

int TQtServices::Choose(const TQuestion& question) {
  QMessageBox box(Parent());
  box.setWindowTitle(question.caption.isEmpty() ? DefaultCaption(TQuestionKind::YesNo)
                                                : question.caption);
  box.setText(question.text);
  box.setIcon(QMessageBox::Question);
  std::vector<QPushButton*> buttons;
  for (const QString& caption : question.buttons)
    buttons.push_back(box.addButton(caption, QMessageBox::ActionRole));
  if (buttons.empty())
    buttons.push_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
  box.setDefaultButton(buttons.front());
  box.setEscapeButton(buttons.back());
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
  return static_cast<int>(buttons.size()) - 1;
}

std::optional<QString> TQtServices::InputBox(const QString& caption, const QString& prompt,
                                             const QString& defaultText) {
  TInputBox box(Parent());
  box.Init(caption, prompt, defaultText);
  RunDialog(box);
  return box.Result();
}

std::optional<TFileChoice> TQtServices::ShowFileDialog(const TFileDialogRequest& request) {
  QFileDialog dialog(Parent(), request.caption, request.directory);
  const bool save = request.kind == TFileDialogKind::Save;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);  // callers ask themselves
  QStringList entries;
  for (const TFileFilter& f : request.filters) entries << FilterEntry(f);
  if (!entries.isEmpty()) {
    dialog.setNameFilters(entries);
    const int index = request.filterIndex >= 1 && request.filterIndex <= entries.size()
                          ? request.filterIndex - 1
                          : 0;
    dialog.selectNameFilter(entries[index]);
  }
  if (!request.defaultExt.isEmpty()) dialog.setDefaultSuffix(request.defaultExt);
  if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*')) &&
      !request.fileName.contains(QLatin1Char('?')))
    dialog.selectFile(request.fileName);
  // Qt's default size cuts the French column headings and the dates.
  dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 460)));
  if (auto* details = dialog.findChild<QTreeView*>()) {
    details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileChoice choice;
  choice.path = dialog.selectedFiles().first();
  const int chosen = entries.indexOf(dialog.selectedNameFilter());
  choice.filterIndex = chosen >= 0 ? chosen + 1 : 1;
  return choice;
}

bool TQtServices::PrintDialog() {
  printer_.ProposeFileName();
  QPrintDialog dialog(&printer_.QtPrinter(), Parent());
  printer_.ProposeFileName(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  printer_.TakeDialogSettings();
  return true;
}

bool TQtServices::PrinterSetupDialog() {
  QPrinter& printer = printer_.QtPrinter();
  const QStringList names = QPrinterInfo::availablePrinterNames();
  TPrinterSetup dialog(Parent());
  dialog.Init(printer, names);
  // The page set-up acts on the printer chosen, before the choice is confirmed.
  dialog.SetPageSetupHandler([&](const TPrinterSetup::TChoice& choice) {
    TPrinterSetup::Apply(choice, printer);
    QPageSetupDialog pages(&printer, &dialog);
    pages.exec();
    dialog.Init(printer, names);  // the orientation chosen there shows
  });
  RunDialog(dialog);
  const std::optional<TPrinterSetup::TChoice> choice = dialog.Result();
  if (!choice) return false;
  TPrinterSetup::Apply(*choice, printer);
  printer_.TakeDialogSettings();
  return true;
}

std::optional<QFont> TQtServices::FontDialog(const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, Parent());
  if (!ok) return std::nullopt;
  return font;
}

std::optional<QColor> TQtServices::ColorDialog(const QColor& initial) {
  const QColor color = QColorDialog::getColor(initial, Parent());
  if (!color.isValid()) return std::nullopt;
  return color;
}

QDateTime TQtServices::Now() {
  return QDateTime::currentDateTime();
}

bool TQtServices::SetSystemTime(const TSystemTime& utc) {
  const QDateTime when = utc.ToDateTime();
  if (!when.isValid()) return false;
  const qint64 ms = when.toMSecsSinceEpoch();
  timespec ts;
  ts.tv_sec = static_cast<time_t>(ms / 1000);
  ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

int TQtServices::ShowDialog(QDialog& dialog) {
  return dialog.exec();
}
