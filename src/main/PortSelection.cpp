#include <QRadioButton>

#include "ProgramState.h"
#include "RSCOM.h"
#include "TZarn.h"
#include "TextPane.h"

namespace {

constexpr int kStatusLine = 1;

struct PortTest {
  const char* name;
  const char* mode;
  int fallback;
};

const PortTest kPortTests[] = {
    {"COM1", "COM1:9600,N,8,2", 2},
    {"COM2", "COM2:9600,N,8,2", 1},
};

QString FailureReason(serial::OpenFailure failure) {
  switch (failure) {
    case serial::OpenFailure::NoDevice:
      return QStringLiteral("no such device.");
    case serial::OpenFailure::PermissionDenied:
      return QStringLiteral(
          "permission denied. Join the dialout group (sudo adduser $USER dialout), "
          "then log out and in again.");
    case serial::OpenFailure::InUse:
      return QStringLiteral("the port is in use by another program.");
    case serial::OpenFailure::Other:
      return QStringLiteral("the device could not be opened.");
    case serial::OpenFailure::None:
      break;
  }
  return QStringLiteral("the port refused the line settings.");
}

}  // namespace

void TZarn::RadioButtonCOM1Click(QObject*) { TestPort(1); }

void TZarn::RadioButtonCOM2Click(QObject*) { TestPort(2); }

void TZarn::TestPort(int port) {
  const PortTest& test = kPortTests[port - 1];
  SelectedPort = port;
  const QString name = QLatin1String(test.name);
  if (OpenPortNoting(port, test.mode)) {
    Memo2->ReplaceLine(kStatusLine, name + QStringLiteral(" ok"));
  } else {
    SelectedPort = test.fallback;
    Memo2->ReplaceLine(kStatusLine, name + QStringLiteral(" error"));
  }
  ClosePort();
}

bool TZarn::OpenPortNoting(int port, const char* mode) {
  const bool opened = OpenPort(mode);
  lastTestFailed_[port - 1] = !opened;
  lastFailure_[port - 1] = LastOpenFailure();
  return opened;
}

QString TZarn::PortHint(int port) const {
  const QString name = QLatin1String(kPortTests[port - 1].name);
  const QString device = QString::fromStdString(PortDevice(name.toLatin1().constData()));
  QString hint = device.isEmpty()
                     ? name + QStringLiteral(": no serial device stands for this port now.")
                     : name + QStringLiteral(": ") + device;
  if (lastTestFailed_[port - 1]) {
    hint += QStringLiteral("\nLast test failed: ") + FailureReason(lastFailure_[port - 1]);
  }
  return hint;
}
