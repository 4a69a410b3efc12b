#include "HandlerGuard.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

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

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical,
                  TitleFromProgramFile(QCoreApplication::applicationFilePath()),
                  WithFullStop(message), QMessageBox::Ok, Zarn);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
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
