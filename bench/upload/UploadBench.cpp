// Prints what "Run" costs: the time per byte to the board stand-in over a
// pseudo-terminal, with a prompt and with a silent board, each against its
// floor, and the CPU time per byte of the dump and its repaint.
#include <time.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "FakeCounter.h"
#include "PlatformSeam.h"
#include "StandInUpload.h"

namespace {

constexpr int kImageBytes = 2048;

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void OverPty(const char* board, const std::vector<std::string>& options, double floorMs) {
  StandInUpload upload(ZARN_BOARD_PROGRAM, SpreadImage(kImageBytes), options);
  if (!upload.Ready()) {
    std::printf("%s board: the stand-in or the window did not come up\n", board);
    return;
  }
  const auto received = upload.Run();
  std::vector<double> arrivals;
  for (std::size_t i = 1; i < received.size(); ++i) arrivals.push_back(received[i].atMs - received[i - 1].atMs);
  const std::vector<double> writes = upload.Line().WriteGaps();
  const double sent = Percentile(writes, 0.5);
  const double seen = Percentile(arrivals, 0.5);
  std::printf("%s board, %zu of %d bytes arrived%s. Median per byte against the %.0f ms floor:\n"
              "  written  %.3f ms = %.4f x (p10 %.3f, p90 %.3f, max %.3f)\n"
              "  received %.3f ms = %.4f x (p10 %.3f, p90 %.3f), as the stand-in saw them\n",
              board, received.size(), kImageBytes,
              upload.Boxes().empty() ? "" : ", an error box came up", floorMs, sent, sent / floorMs,
              Percentile(writes, 0.1), Percentile(writes, 0.9), Percentile(writes, 1), seen,
              seen / floorMs, Percentile(arrivals, 0.1), Percentile(arrivals, 0.9));
}

// A board that answers at once and takes every byte, noting nothing.
class InstantBoard : public serial::Platform {
 public:
  serial::Handle Open(const std::string&) override { return 1; }
  serial::OpenFailure LastOpenFailure() const override { return serial::OpenFailure::None; }
  std::string DeviceOf(const std::string&) const override { return "instant"; }
  bool GetSettings(serial::Handle, serial::LineSettings&) override { return true; }
  bool SetSettings(serial::Handle, const serial::LineSettings&) override { return true; }
  bool SetTimeouts(serial::Handle, const serial::Timeouts&) override { return true; }
  std::size_t Read(serial::Handle, std::uint8_t* buffer, std::size_t) override {
    buffer[0] = 0x06;
    return 1;
  }
  std::size_t Write(serial::Handle, const std::uint8_t*, std::size_t count) override { return count; }
  bool SetLine(serial::Handle, serial::ModemLine, bool) override { return true; }
  bool Close(serial::Handle) override { return true; }
};

// With a board that costs nothing and a clock that leaps, what is left of
// an upload's CPU time is the dump and its repaint.
void DumpCpu() {
  constexpr int kBytes = 16384;
  TempWorkDir dir;
  dir.Write(QStringLiteral("work.bin"), SpreadImage(kBytes));
  InstantBoard board;
  FakeCounter clock(1000000);
  serial::UsePlatform(&board);
  serial::UseCounter(&clock);
  {
    TZarn window;
    const auto perByteUs = [&] {
      const double start = ThreadCpuMs();
      window.ButtonRun->click();
      return (ThreadCpuMs() - start) * 1e3 / kBytes;
    };
    const double hidden = perByteUs();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::printf("the window did not come up\n");
    const double shown = perByteUs();
    std::printf("dump CPU per byte (%d bytes): %.2f us without repaint, %.2f us with a repaint"
                " every 16 bytes (repaint %.2f us per byte)\n",
                kBytes, hidden, shown, shown - hidden);
  }
  serial::UsePlatform(nullptr);
  serial::UseCounter(nullptr);
  serial::ResetClock();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::printf("upload of a %d-byte image to the board stand-in over a pseudo-terminal\n", kImageBytes);
  // The busy waits lose the processor to whatever else runs; the load tells how much.
  QFile load(QStringLiteral("/proc/loadavg"));
  if (load.open(QIODevice::ReadOnly)) std::printf("load average: %s", load.readLine().constData());
  OverPty("prompt", {}, 5.0);
  OverPty("silent", {"--silent"}, 16.0);
  DumpCpu();
  return 0;
}
