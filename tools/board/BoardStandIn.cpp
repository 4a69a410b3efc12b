// Plays the training board's serial loader on the master side of a
// pseudo-terminal: an answer byte before every byte it is sent, the first
// included, and a record of what it received.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

const char kUsage[] =
    "Usage: zarn-board [options]\n"
    "Plays the 8051 board's loader on a pseudo-terminal, so that \"Run\" can be\n"
    "tried without a board. The first line on standard output is the terminal's\n"
    "path. Bind it over the device that COM1 or COM2 stands for (hovering over the\n"
    "port's button shows it; with no serial device, touch /dev/ttyUSB0 first):\n"
    "    sudo mount --bind /dev/pts/N /dev/ttyUSB0\n"
    "\n"
    "  --link PATH      also make PATH a symbolic link to the terminal; removed at exit\n"
    "  --record FILE    one line per received byte: milliseconds since start, byte in hex\n"
    "  --answer HEX     the answer byte (default 06)\n"
    "  --silent         never answer: every byte costs the program its read time-out\n"
    "  --stop-after N   answer 0x00 once N bytes have come (0: at once), then nothing\n"
    "  --ahead N        keep N answers queued ahead of the bytes (default 1, at most\n"
    "                   256); more than 1 sends answers early, during the reset\n"
    "  --quiet          print nothing after the terminal's path\n"
    "  --help           show this text\n"
    "\n"
    "The counts run over the whole life of the stand-in: start it anew for each\n"
    "upload. It stops on SIGINT, SIGTERM or SIGHUP.\n";

// A pause this long after bytes ends a burst; the program's end sequence
// alone keeps the line quiet for 310 ms.
constexpr double kBurstEndMs = 250;
constexpr int kWakeMs = 10;

volatile sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) { stopSignal = signal; }

struct Options {
  std::string link;
  std::string record;
  std::uint8_t answer = 0x06;
  bool silent = false;
  long stopAfter = -1;
  long ahead = 1;
  bool quiet = false;
};

bool ParseNumber(const char* text, int base, long low, long high, long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text, &end, base);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// 0 when the options are good, else the exit code.
int Parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long number = 0;
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return -1;
    } else if (arg == "--silent") {
      options.silent = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--link" && hasValue) {
      options.link = argv[++i];
    } else if (arg == "--record" && hasValue) {
      options.record = argv[++i];
    } else if (arg == "--answer" && hasValue && ParseNumber(argv[++i], 16, 0, 255, number)) {
      options.answer = static_cast<std::uint8_t>(number);
    } else if (arg == "--stop-after" && hasValue && ParseNumber(argv[++i], 10, 0, LONG_MAX, number)) {
      options.stopAfter = number;
    } else if (arg == "--ahead" && hasValue && ParseNumber(argv[++i], 10, 1, 256, number)) {
      options.ahead = number;
    } else {
      std::fprintf(stderr, "zarn-board: bad option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  return 0;
}

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int Fail(const char* what) {
  std::fprintf(stderr, "zarn-board: %s: %s\n", what, std::strerror(errno));
  return 1;
}

class Board {
 public:
  Board(const Options& options, int master, int record)
      : options_(options), master_(master), record_(record) {}

  // Answers up to the byte after the last one received, plus those asked ahead.
  void Answer() {
    while (!options_.silent && !stopped_ && answered_ < received_ + options_.ahead) {
      const std::uint8_t answer = answered_ == options_.stopAfter ? 0x00 : options_.answer;
      if (write(master_, &answer, 1) != 1) return;
      ++answered_;
      stopped_ = answer == 0x00;
    }
  }

  void Received(const std::uint8_t* bytes, ssize_t count, double atMs) {
    for (ssize_t i = 0; i < count; ++i) {
      if (record_ >= 0) dprintf(record_, "%.3f %02X\n", atMs, bytes[i]);
      ++received_;
      ++burst_;
    }
    lastByteMs_ = atMs;
    Answer();
  }

  void Quiet(double nowMs) {
    if (burst_ == 0 || nowMs - lastByteMs_ < kBurstEndMs) return;
    if (!options_.quiet) {
      std::printf("received %ld bytes, %ld in all\n", burst_, received_);
      std::fflush(stdout);
    }
    burst_ = 0;
  }

 private:
  const Options& options_;
  int master_;
  int record_;
  long received_ = 0;
  long answered_ = 0;
  long burst_ = 0;
  double lastByteMs_ = 0;
  bool stopped_ = false;
};

int Run(const Options& options) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return Fail("pseudo-terminal");
  char slavePath[128] = {};
  if (ptsname_r(master, slavePath, sizeof slavePath) != 0) return Fail("pseudo-terminal");

  // Held for the whole run, so that what the program leaves unread, or what
  // comes before it opens the port, waits in the queue as on a real line.
  const int slave = open(slavePath, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios raw{};
  if (slave < 0 || tcgetattr(slave, &raw) != 0) return Fail(slavePath);
  cfmakeraw(&raw);
  if (tcsetattr(slave, TCSANOW, &raw) != 0) return Fail(slavePath);

  if (!options.link.empty()) {
    struct stat info {};
    if (lstat(options.link.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) unlink(options.link.c_str());
    if (symlink(slavePath, options.link.c_str()) != 0) return Fail(options.link.c_str());
  }
  int record = -1;
  if (!options.record.empty()) {
    record = open(options.record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (record < 0) return Fail(options.record.c_str());
  }

  sigset_t stopSignals;
  sigset_t whileWaiting;
  sigemptyset(&stopSignals);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaddset(&stopSignals, signal);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigaction(signal, &action, nullptr);
  }
  sigprocmask(SIG_BLOCK, &stopSignals, &whileWaiting);
  // Whoever started it may stop reading its standard output.
  signal(SIGPIPE, SIG_IGN);

  std::printf("%s\n", slavePath);
  std::fflush(stdout);

  const double startMs = NowMs();
  Board board(options, master, record);
  board.Answer();
  while (stopSignal == 0) {
    pollfd entry{master, POLLIN, 0};
    const timespec wake{0, kWakeMs * 1000000L};
    const int ready = ppoll(&entry, 1, &wake, &whileWaiting);
    const double nowMs = NowMs() - startMs;
    // The program asks for exclusive use at every open, and exclusive use
    // outlives its close while the terminal lives on: without this a plain
    // user's second "Run" would find the port busy.
    ioctl(slave, TIOCNXCL);
    if (ready < 0 && errno != EINTR) return Fail("poll");
    if (ready <= 0) {
      board.Quiet(nowMs);
      continue;
    }
    std::uint8_t bytes[64];
    const ssize_t count = read(master, bytes, sizeof bytes);
    if (count > 0) board.Received(bytes, count, nowMs);
  }

  if (!options.link.empty()) unlink(options.link.c_str());
  if (record >= 0) close(record);
  close(slave);
  close(master);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const int parsed = Parse(argc, argv, options);
  if (parsed != 0) return parsed < 0 ? 0 : parsed;
  return Run(options);
}
