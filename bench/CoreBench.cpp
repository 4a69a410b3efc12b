// Prints the timing figures of the clock, the serial driver and the panes.
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "PlatformSeam.h"
#include "PosixSerialPlatform.h"
#include "RSCOM.h"
#include "TextPane.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void DelayOvershoot() {
  StartClock();
  std::vector<double> overshoot;
  for (int i = 0; i < 400; ++i) {
    const auto start = Clock::now();
    DelayMs(5);
    overshoot.push_back(Ms(Clock::now() - start) - 5.0);
  }
  std::printf("DelayMs(5) overshoot: median %.4f ms, p99 %.4f ms (%zu runs)\n",
              Percentile(overshoot, 0.5), Percentile(overshoot, 0.99), overshoot.size());
}

void SilentReadTimeout() {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
  const std::string path = name;
  serial::PosixSerialPlatform platform([&](const std::string&) { return path; });
  serial::UsePlatform(&platform);
  OpenPort("COM1:9600,N,8,2");
  std::vector<double> waits;
  for (int i = 0; i < 200; ++i) {
    const auto start = Clock::now();
    ReadByte();
    waits.push_back(Ms(Clock::now() - start));
  }
  ClosePort();
  serial::UsePlatform(nullptr);
  close(master);
  close(slave);
  std::printf("ReadByte on a silent pseudo-terminal: median %.3f ms, p99 %.3f ms (floor 11 ms)\n",
              Percentile(waits, 0.5), Percentile(waits, 0.99));
}

void ReplaceAndGetOnTheResultsPane() {
  TextPane pane;
  for (int i = 0; i < 261; ++i) {
    pane.AppendLine(QStringLiteral("0000  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"));
  }
  const int line = pane.LineCount() - 1;
  const int rounds = 20000;
  std::vector<double> perPair;
  for (int run = 0; run < 5; ++run) {
    pane.ReplaceLine(line, QStringLiteral("1040 "));
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
      pane.ReplaceLine(line, pane.GetLine(line).left(50) + QStringLiteral(" AB"));
    }
    perPair.push_back(Ms(Clock::now() - start) * 1000.0 / rounds);
  }
  std::printf("ReplaceLine + GetLine on a 261-line pane: median %.2f us per pair\n",
              Percentile(perPair, 0.5));
}

void LoadListing() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("work.lst"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  const QByteArray line = "0042   0012 75 89 21          mov  TMOD,#21h       ; timer 1 mode 2\r\n";
  file.write(line.repeated(5 * 1024 * 1024 / line.size()));
  file.close();
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    TextPane pane;
    const auto start = Clock::now();
    pane.LoadText(path);
    times.push_back(Ms(Clock::now() - start));
  }
  std::printf("LoadText of a 5 MB listing: median %.0f ms (%d runs)\n", Percentile(times, 0.5), 5);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  DelayOvershoot();
  SilentReadTimeout();
  ReplaceAndGetOnTheResultsPane();
  LoadListing();
  return 0;
}
