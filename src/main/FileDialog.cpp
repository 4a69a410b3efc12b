#include "FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

namespace {

DialogStandIn& StandIn() {
  static DialogStandIn standIn;
  return standIn;
}

std::optional<QString> AskUser(FileDialog::Kind kind, const QString& fileName, QWidget* owner) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(kind == FileDialog::Kind::Open ? QFileDialog::AcceptOpen
                                                      : QFileDialog::AcceptSave);
  // Neither the file nor its folder need exist, and nothing asks before a file is replaced.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setSizeGripEnabled(true);
  // A pattern in the name box lists the files that match it.
  if (fileName.contains(QLatin1Char('*')) || fileName.contains(QLatin1Char('?'))) {
    dialog.setNameFilter(fileName);
  }
  if (!fileName.isEmpty()) dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

void UseDialogStandIn(DialogStandIn standIn) { StandIn() = std::move(standIn); }

bool FileDialog::Execute() {
  const std::optional<QString> chosen =
      StandIn() ? StandIn()(kind_, FileName) : AskUser(kind_, FileName, owner_);
  if (!chosen) return false;
  FileName = QFileInfo(*chosen).absoluteFilePath();
  // The work files live in the folder of the last file chosen.
  QDir::setCurrent(QFileInfo(FileName).absolutePath());
  return true;
}
