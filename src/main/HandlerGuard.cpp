#include "HandlerGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMessageBox>
#include <QKeyEvent>

#include "ProgramState.h"
#include "TZarn.h"
#include "ZarnError.h"

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const ZarnError& error) {
    ShowErrorBox(error.Message());
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowErrorBox(QStringLiteral("Unbekannter Fehler"));
  }
}

namespace {

// Ctrl+C copies the box as text, as message boxes do on Windows.
class ErrorBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      QGuiApplication::clipboard()->setText(ErrorBoxAsText(windowTitle(), text()));
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
};

}  // namespace

void ShowErrorBox(const QString& message) {
  ErrorBox box(QMessageBox::Critical, TitleFromProgramFile(QCoreApplication::applicationFilePath()),
               WithFullStop(message), QMessageBox::Ok, Zarn);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

QString ErrorBoxAsText(const QString& title, const QString& text) {
  const QString rule = QStringLiteral("---------------------------\n");
  return rule + title + QLatin1Char('\n') + rule + text + QLatin1Char('\n') + rule +
         QStringLiteral("OK\n") + rule;
}

QString WithFullStop(const QString& message) {
  if (message.isEmpty() || message.back() <= QLatin1Char('.')) return message;
  return message + QLatin1Char('.');
}

QString TitleFromProgramFile(const QString& programFile) {
  const QString name = QFileInfo(programFile).fileName();
  QString title = name.left(name.indexOf(QLatin1Char('.'))).toLower();
  if (!title.isEmpty()) title[0] = title[0].toUpper();
  return title;
}
