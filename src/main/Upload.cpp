#include <QScrollBar>
#include <cstdint>

#include "ByteToHex.h"
#include "ImageFile.h"
#include "ProgramState.h"
#include "RSCOM.h"
#include "TZarn.h"
#include "TextPane.h"
#include "ZarnError.h"

namespace {

constexpr int kBytesPerLine = 16;
constexpr int kMostLinesKept = 260;

// Starts a dump line and returns its index, the pane's last line.
int StartDumpLine(TextPane* pane, const QString& text) {
  pane->AppendLine(QString());
  const int line = pane->LineCount() - 1;
  pane->ReplaceLine(line, text);
  return line;
}

// Lets the user watch the dump grow. A synchronous repaint takes no input
// and runs no other handler, as the message loop would.
void ShowDumpSoFar(TextPane* pane) {
  QScrollBar* bar = pane->verticalScrollBar();
  bar->setValue(bar->maximum());
  pane->viewport()->repaint();
  bar->repaint();
}

}  // namespace

void TZarn::ButtonRunClick(QObject*) {
  const int port = SelectedPort == 1 ? 1 : 2;
  if (!OpenPortNoting(port, port == 1 ? "COM1:9600,N,8,2" : "COM2:9600,N,8,2")) {
    ClosePort();
    throw ZarnError(port == 1 ? QStringLiteral("COM1 error") : QStringLiteral("COM2 error"));
  }

  ImageFile image;
  if (image.Open(QStringLiteral("work.bin")) == 0) {
    SetRTS(1);
    DelayMs(10);
    SetDTR(1);
    DelayMs(100);
    SetRTS(0);
    DelayMs(400);

    std::uint16_t counter = 0;
    Memo2->ClearText();
    int line = StartDumpLine(Memo2, QStringLiteral("0000 "));
    while (!image.AtEnd()) {
      const std::uint8_t byte = image.Read();
      Memo2->ReplaceLine(line, Memo2->GetLine(line) + QLatin1Char(' ') + ByteToHex(byte));
      // 0x00 stops at once: no end sequence, and the port stays open.
      if (ReadByte() == 0) {
        image.Close();
        return;
      }
      WriteByte(byte);
      DelayMs(5);
      ++counter;
      if (counter % kBytesPerLine == 0) {
        if (Memo2->LineCount() > kMostLinesKept) Memo2->ClearText();
        line = StartDumpLine(Memo2, ByteToHex(counter / 256) + ByteToHex(counter % 256) +
                                        QLatin1Char(' '));
        ShowDumpSoFar(Memo2);
      }
    }
    image.Close();
  }

  DelayMs(10);
  SetRTS(1);
  DelayMs(100);
  SetDTR(0);
  DelayMs(100);
  SetRTS(0);
  DelayMs(100);
  ClosePort();
}
