#include "FileDialog.h"
#include "ProgramState.h"
#include "TZarn.h"
#include "TextPane.h"

namespace {

// Save and Save as are one command: a cancelled dialog still saves to the
// current file.
void SaveSource(TZarn& form) {
  form.SaveDialog1->FileName = SourceFileName;
  form.SaveDialog1->Execute();
  SourceFileName = form.SaveDialog1->FileName;
  if (!SourceFileName.isEmpty()) form.Memo1->SaveText(SourceFileName);
}

}  // namespace

void TZarn::ButtonOpenClick(QObject*) {
  OpenDialog1->FileName = QStringLiteral("*.asm");
  if (!OpenDialog1->Execute()) return;
  SourceFileName = OpenDialog1->FileName;
  if (SourceFileName.isEmpty()) return;
  Memo1->LoadText(SourceFileName);
  setWindowTitle(QStringLiteral("Morvane Zarn     ") + SourceFileName);
}

void TZarn::ButtonSaveClick(QObject*) { SaveSource(*this); }

void TZarn::ButtonSaveAsClick(QObject*) { SaveSource(*this); }
