// Ashlar: the behaviour of the conversion wizard on top of AshlarBase. It checks the paths as
// the user types, remembers the IAR folder, the personalities and the variable file in
// settings.txt, and on Finish runs the Tessmark converter as a child process and shows what it
// prints.
#ifndef TESSMARK_WIZARD_ASHLAR_H_
#define TESSMARK_WIZARD_ASHLAR_H_

#include <array>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "ashlar_base.h"

class QLineEdit;

class Ashlar : public AshlarBase {
  Q_OBJECT

 public:
  explicit Ashlar(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags flags = {});
  ~Ashlar() override;

  // The default IAR installation folder from the registry, or "" where there is none.
  static QString readIARInstallDir();
  // Fills the installation, personality and variable file fields from settings.txt in the
  // configuration folder (configSettingsPath), or from the one in the current directory while
  // that does not exist.
  void loadSettings();
  // Rewrites settings.txt in the configuration folder from those five fields, making the folder.
  void saveSettings();

 public slots:
  void IARInstallBrowseBtn_clicked();
  void IARProjectBrowseBtn_clicked();
  void KvProjectBrowseBtn_clicked();
  void Page0LineEdit_textchanged(const QString&);
  void Page1LineEdit_textchanged(const QString&);
  void MsgBrowseBtn_clicked();
  void AnalBrowseBtn_clicked();
  void CmpBrowseBtn_clicked();
  void VarFileBrowseBtn_clicked();
  void readFromStdout();
  void processExit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 protected slots:
  // Hides QWizard::next(): leaving Page2 builds the extension list and the summary first.
  virtual void next();
  // Finish: starts the converter; the dialog stays open.
  void accept() override;
  // Cancel or Close: closes the wizard, unless a run is under way; then it asks whether to stop
  // that run, and the wizard stays open either way.
  void reject() override;

 protected:
  QString extensionList;
  QProcess* converterProcess;
  QString lastBrowsePath;

 private slots:
  void converterError(QProcess::ProcessError error);

 private:
  enum class DialogKind { kOpenFile, kExistingFolder };
  void browse(QLineEdit* field, DialogKind kind, const QString& caption, const QString& filter);
  void connectSignals();
  void buildExtensionList();
  QString summary() const;
  QStringList converterArguments() const;
  // The fields each page checks as the user types: the first page's, and the optional files of
  // the personalities page.
  std::array<QLineEdit*, 4> page0Fields() const;
  std::array<QLineEdit*, 4> page1Fields() const;
  bool conversionUnderWay() const;
  void askToStopConversion();
  void showVerdict(int exitCode);
  void stopConverter(QProcess* process);
  void appendToLog(const QString& text);
  void writeToLog(const QString& text);
  void showConversionFailed();
  void showConvertedWithWarnings();

  // What the converter printed after its last line end: the start of a line still coming.
  QString pendingOutput;
  // While Cancel's question is open, the end of the run waits for the answer, so that no verdict
  // or message box comes up beneath the question.
  bool stopQuestionOpen = false;
  bool exitHeld = false;
};

#endif  // TESSMARK_WIZARD_ASHLAR_H_
