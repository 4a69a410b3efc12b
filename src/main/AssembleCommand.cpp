#include "RunAndWait.h"
#include "TZarn.h"
#include "TextPane.h"
#include "ZarnError.h"

namespace {
const QString kAssemble = QStringLiteral("tasm.exe -51 -b work.asm work.bin");
constexpr std::uint16_t kShowNormal = 1;
}  // namespace

void TZarn::ButtonCompileClick(QObject*) {
  Memo1->SaveText(QStringLiteral("work.asm"));
  // An old work.lst must not pass for the listing of this run.
  if (RunAndWait(kAssemble, kShowNormal) == -1) {
    throw ZarnError(QStringLiteral("Programm tasm.exe kann nicht gestartet werden"));
  }
  Memo2->LoadText(QStringLiteral("work.lst"));
}
