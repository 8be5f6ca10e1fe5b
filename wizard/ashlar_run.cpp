// Ashlar: the run of the Tessmark converter, from the summary on leaving Page2 to the verdict.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

#include "ashlar.h"

namespace {

// Users install the converter and the wizard side by side, so the copy beside the wizard comes
// first; otherwise the program search path decides. (Windows' own search also looks beside the
// wizard first.)
QString converterProgram() {
#ifdef _WIN32
  const QString fileName = QStringLiteral("Tessmark.exe");
#else
  const QString fileName = QStringLiteral("Tessmark");
#endif
  const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(fileName));
  if (beside.isFile() && beside.isExecutable()) {
    return beside.filePath();
  }
  return QStringLiteral("Tessmark");
}

}  // namespace

void Ashlar::next() {
  if (currentPage() == Page2) {
    buildExtensionList();
    DetailsText->setPlainText(summary());
    Page3->setComplete(true);
  }
  QWizard::next();
}

void Ashlar::buildExtensionList() {
  // The order of the list, not the order of the boxes on the page.
  const std::pair<const QCheckBox*, const char*> items[] = {
      {cppCheck, "cpp,"}, {ccCheck, "cc,"}, {cxxCheck, "cxx,"}, {cCheck, "c,"},
      {hCheck, "h,"},     {hhCheck, "hh,"}, {hppCheck, "hpp,"}, {hxxCheck, "hxx,"},
  };
  extensionList.clear();
  for (const auto& [box, item] : items) {
    if (box->isChecked()) {
      extensionList += QLatin1String(item);
    }
  }
  // The custom text goes in as typed; only one trailing comma is dropped.
  extensionList += CustExtEdit->text();
  if (extensionList.endsWith(QLatin1Char(','))) {
    extensionList.chop(1);
  }
}

QString Ashlar::summary() const {
  return tr("IAR Workbench Project:\n") + IARProjectEdit->text() + QStringLiteral("\n\n") +
         tr("Korval / Korval++ Project Directory:\n") + KvProjectEdit->text() +
         QStringLiteral("\n\n") + tr("Korval / Korval++ Project Name:\n") + KvNameEdit->text() +
         QStringLiteral("\n\n") + tr("Message Personality:\n") + MsgPersonEdit->text() +
         QStringLiteral("\n\n") + tr("Tamplate Analyser Personality:\n") + AnalPersonEdit->text() +
         QStringLiteral("\n\n") + tr("Compiler Personality:\n") + CmpPersonEdit->text() +
         QStringLiteral("\n\n") + tr("Variable File:\n") + VarFileEdit->text() +
         QStringLiteral("\n\n") + tr("File Extensions:\n") + extensionList + QStringLiteral("\n");
}

// The converter's command line: every field is one argument exactly as typed.
QStringList Ashlar::converterArguments() const {
  QStringList arguments = {IARProjectEdit->text(), KvProjectEdit->text(), IARInstallDirEdit->text(),
                           QStringLiteral("-pn"), KvNameEdit->text()};
  const std::pair<const char*, QString> options[] = {
      {"-mp", MsgPersonEdit->text()}, {"-ap", AnalPersonEdit->text()},
      {"-cp", CmpPersonEdit->text()}, {"-varfile", VarFileEdit->text()},
      {"-ext", extensionList},
  };
  for (const auto& [option, value] : options) {
    if (!value.isEmpty()) {
      arguments << QLatin1String(option) << value;
    }
  }
  return arguments;
}

void Ashlar::accept() {
  // The log and the verdict belong to the newest run: an earlier child still running is
  // silenced and stopped.
  if (converterProcess) {
    stopConverter(converterProcess);
  }
  converterProcess = new QProcess(this);
  pendingOutput.clear();
  DetailsText->clear();
  DetailsText->setPlainText(tr("Initialising Project Conversion ...\n"));
  connect(converterProcess, &QProcess::readyReadStandardOutput, this, &Ashlar::readFromStdout);
  connect(converterProcess, &QProcess::finished, this, &Ashlar::processExit);
  connect(converterProcess, &QProcess::errorOccurred, this, &Ashlar::converterError);
  converterProcess->start(converterProgram(), converterArguments());
  Page3->setComplete(false);  // One Finish starts at most one child.
}

void Ashlar::converterError(QProcess::ProcessError error) {
  // A failed start ends the attempt: finished() never follows, so settings are not saved.
  if (error == QProcess::FailedToStart) {
    appendToLog(
        tr("Project Conversion could not be executed: Please ensure Tessmark.exe is set "
           "on the path.\n"));
  }
}

void Ashlar::readFromStdout() {
  // Chunks arrive as the pipe delivers them, cutting lines anywhere: only whole lines go to the
  // log, and the rest waits for its line end. A CR LF cut between two chunks is folded too.
  pendingOutput += QString::fromLatin1(converterProcess->readAllStandardOutput());
  pendingOutput.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  const qsizetype wholeLines = pendingOutput.lastIndexOf(QLatin1Char('\n')) + 1;
  writeToLog(pendingOutput.left(wholeLines));
  pendingOutput.remove(0, wholeLines);
}

void Ashlar::processExit() {
  if (stopQuestionOpen) {
    exitHeld = true;
    return;
  }
  writeToLog(std::exchange(pendingOutput, QString()));  // a last line without a line end
  // A crash or kill gets no verdict of its own.
  if (converterProcess->exitStatus() == QProcess::NormalExit) {
    showVerdict(converterProcess->exitCode());
  }
  saveSettings();
}

void Ashlar::showVerdict(int exitCode) {
  // 0: everything read and written. 2: the project was written, but a project file was not read
  // to its end; the converter has said where. Anything else: the conversion failed.
  if (exitCode != 0 && exitCode != 2) {
    showConversionFailed();
    return;
  }
  appendToLog(exitCode == 0 ? tr("Project Converted Successfully!")
                            : tr("Project Converted With Warnings!"));
  setButtonText(QWizard::CancelButton, tr("Close"));
  if (exitCode == 2) {
    showConvertedWithWarnings();
  }
}

void Ashlar::reject() {
  if (conversionUnderWay()) {
    askToStopConversion();
    return;
  }
  AshlarBase::reject();
}

bool Ashlar::conversionUnderWay() const {
  return converterProcess && converterProcess->state() != QProcess::NotRunning;
}

void Ashlar::askToStopConversion() {
  stopQuestionOpen = true;
  const bool stop = QMessageBox::question(
                        this, tr("Orrindale"),
                        tr("The project conversion is still running.\nDo you want to stop it?"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  stopQuestionOpen = false;
  if (std::exchange(exitHeld, false)) {
    processExit();  // The run ended while the question was open: nothing is left to stop.
  } else if (stop && conversionUnderWay()) {
    // A stopped conversion is not judged and saves no settings; what it printed stays. It is no
    // longer under way, even before the system has reaped the child, so Cancel closes again.
    stopConverter(std::exchange(converterProcess, nullptr));
    writeToLog(std::exchange(pendingOutput, QString()));
    appendToLog(tr("Project Conversion Cancelled."));
  }
}

void Ashlar::stopConverter(QProcess* process) {
  process->disconnect(this);
  if (process->state() != QProcess::NotRunning) {
    process->kill();
  }
}

void Ashlar::appendToLog(const QString& text) {
  // A message of the wizard starts a paragraph of its own; when the log ends with a line end,
  // that paragraph is the empty last one, so no blank line comes before the message.
  if (!DetailsText->document()->lastBlock().text().isEmpty()) {
    writeToLog(QStringLiteral("\n"));
  }
  writeToLog(text);
}

void Ashlar::writeToLog(const QString& text) {
  // Inserted as plain text, so output holding '<' or '&' shows as printed; every line end in it
  // starts a new paragraph, so the log keeps the lines as they were printed.
  QTextCursor cursor(DetailsText->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
  DetailsText->moveCursor(QTextCursor::End);
}

void Ashlar::showConvertedWithWarnings() {
  QMessageBox::warning(
      this, tr("Orrindale"),
      tr("Project Converted With Warnings!\nThe Korval/Korval++ project was created, but not every "
         "IAR project file could be read to its end, so some files or settings may be missing "
         "from it.\n\nIn the details log, the line starting \"Warning:\" says how many project "
         "files are affected. Each line starting \"IAR Project file parsing encountered\" "
         "reports a problem, and the line below it starting \"in\" names the file and the line "
         "where it was found. A line starting \"Could not open file:\" names a file that could "
         "not be read at all."));
}

void Ashlar::showConversionFailed() {
  QMessageBox::about(nullptr, tr("Orrindale"),
                     tr("Project Conversion Failed!\nPlease check the details log and try again."));
}
