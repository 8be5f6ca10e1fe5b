// Drives the real wizard on the offscreen platform. Each test runs in a fresh temporary current
// directory, where settings.txt lives. The converter is a stand-in (fake_converter.cpp) built
// beside this executable, where the wizard looks first; environment variables tell it what to
// print and how to end, and it records its working directory and arguments.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "ashlar.h"
#include "iar_default.h"
#include "settings.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QString kInitialising = QStringLiteral("Initialising Project Conversion ...\n");
const QString kNotExecuted = QStringLiteral(
    "Project Conversion could not be executed: Please ensure Tessmark.exe is set on the path.\n");
const QString kSuccess = QStringLiteral("Project Converted Successfully!");

QColor textColour(const QLineEdit* field) {
  return field->palette().color(QPalette::Text);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Calls the handler with the first modal window that shows up, from inside its event loop, so
// modal dialogs and message boxes neither block the tests nor go unnoticed.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget*)> handler) : handler_(std::move(handler)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(10);
  }
  int seen() const { return seen_; }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
      return;
    }
    ++seen_;
    handler_(modal);
    if (modal->isVisible()) {
      modal->close();  // a handler that failed must not leave the test blocked
    }
  }

  std::function<void(QWidget*)> handler_;
  QTimer timer_;
  int seen_ = 0;
};

}  // namespace

class AshlarTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void startsEmptyWithNextDisabled();
  void buildsEveryNamedWidget();
  void page0CheckColoursAndEnablesNext_data();
  void page0CheckColoursAndEnablesNext();
  void page0KeyReleaseRechecks();
  void page1MissingMessageBlocksUntilCleared();
  void page1MissingAnalyserAloneBlocksUntilCleared();
  void page1KeyReleaseRechecks();
  void extensionListAndSummary_data();
  void extensionListAndSummary();
  void leavingPage2AgainRebuildsList();
  void passesFieldsAsArgumentsUnchanged();
  void onlyCompilerPersonalityGivesCpAndTwoRecords();
  void successfulRunLogsOutputAndTurnsCancelIntoClose();
  void failingRunShowsAboutBoxAndSavesSettings();
  void crashedChildShowsNothingAndSavesSettings();
  void missingConverterIsReportedInLog();
  void finishIsDisabledAfterStart();
  void cancelDuringRunKillsChildWithoutSaving();
  void finishDuringRunStopsEarlierChild();
  void savesAllFourRecords();
  void loadsSettings_data();
  void loadsSettings();
  void rememberedMissingPathComesUpRed();
  void unusableSettingsFileIsIgnored();
  void installDirFromIdePathDropsFileAndFolder_data();
  void installDirFromIdePathDropsFileAndFolder();
  void browseButtonsFillFieldsAndRememberPath_data();
  void browseButtonsFillFieldsAndRememberPath();
  void cancelledBrowseChangesNothing();

 private:
  Ashlar& makeWizard();
  QString makeFile(const QString& name);
  QString makeFolder(const QString& name);
  void fillPage0();
  void goToPage(int id);
  void finish();
  QStringList recordedArguments() const;
  QString log() const { return wizard_->DetailsText->toPlainText(); }
  QAbstractButton* button(QWizard::WizardButton which) const { return wizard_->button(which); }

  QString standIn_;
  QByteArray originalPath_;
  QString originalCurrent_;
  std::unique_ptr<QTemporaryDir> work_;
  std::unique_ptr<Ashlar> wizard_;
};

void AshlarTest::initTestCase() {
  originalPath_ = qgetenv("PATH");
  originalCurrent_ = QDir::currentPath();
#ifdef _WIN32
  standIn_ = QCoreApplication::applicationDirPath() + QStringLiteral("/Tessmark.exe");
#else
  standIn_ = QCoreApplication::applicationDirPath() + QStringLiteral("/Tessmark");
#endif
  // A run interrupted inside missingConverterIsReportedInLog may have left it hidden.
  if (!QFile::exists(standIn_)) {
    QFile::rename(standIn_ + QStringLiteral(".hidden"), standIn_);
  }
  QVERIFY2(QFile::exists(standIn_), qPrintable(standIn_));
}

void AshlarTest::init() {
  work_ = std::make_unique<QTemporaryDir>();
  QVERIFY(work_->isValid());
  QVERIFY(QDir::setCurrent(work_->path()));
  for (const char* name :
       {"TESSMARK_FAKE_STDOUT", "TESSMARK_FAKE_EXIT", "TESSMARK_FAKE_SLEEP_MS"}) {
    qunsetenv(name);
  }
  qputenv("TESSMARK_FAKE_RECORD", QFile::encodeName(work_->filePath(QStringLiteral("record"))));
}

void AshlarTest::cleanup() {
  wizard_.reset();
  qputenv("PATH", originalPath_);
  if (!QFile::exists(standIn_)) {
    QFile::rename(standIn_ + QStringLiteral(".hidden"), standIn_);
  }
  QDir::setCurrent(originalCurrent_);
  work_.reset();
}

Ashlar& AshlarTest::makeWizard() {
  wizard_ = std::make_unique<Ashlar>();
  wizard_->show();
  return *wizard_;
}

QString AshlarTest::makeFile(const QString& name) {
  const QString path = work_->filePath(name);
  QDir().mkpath(QFileInfo(path).path());
  writeFile(path, QByteArray());
  return path;
}

QString AshlarTest::makeFolder(const QString& name) {
  const QString path = work_->filePath(name);
  QDir().mkpath(path);
  return path;
}

void AshlarTest::fillPage0() {
  wizard_->IARProjectEdit->setText(makeFile(QStringLiteral("app.ewp")));
  wizard_->IARInstallDirEdit->setText(makeFolder(QStringLiteral("iar")));
  wizard_->KvProjectEdit->setText(makeFolder(QStringLiteral("out")));
  wizard_->KvNameEdit->setText(QStringLiteral("app"));
}

// Moves forward with the Next button, which must be enabled on the way.
void AshlarTest::goToPage(int id) {
  while (wizard_->currentId() < id) {
    QVERIFY2(button(QWizard::NextButton)->isEnabled(), "Next disabled");
    button(QWizard::NextButton)->click();
  }
  QCOMPARE(wizard_->currentId(), id);
}

void AshlarTest::finish() {
  QVERIFY(button(QWizard::FinishButton)->isVisible());
  QVERIFY(button(QWizard::FinishButton)->isEnabled());
  button(QWizard::FinishButton)->click();
}

// The stand-in's working directory followed by its arguments.
QStringList AshlarTest::recordedArguments() const {
  QList<QByteArray> items = readFile(work_->filePath(QStringLiteral("record"))).split('\0');
  if (!items.isEmpty()) {
    items.removeLast();  // after the last terminator
  }
  QStringList result;
  for (const QByteArray& item : items) {
    result << QString::fromLocal8Bit(item);
  }
  return result;
}

// --- Page0 and Page1 ------------------------------------------------------------------------

void AshlarTest::startsEmptyWithNextDisabled() {
  Ashlar& wizard = makeWizard();
  QCOMPARE(wizard.currentId(), 0);
  for (QLineEdit* field :
       {wizard.IARProjectEdit, wizard.IARInstallDirEdit, wizard.KvProjectEdit, wizard.KvNameEdit,
        wizard.MsgPersonEdit, wizard.AnalPersonEdit, wizard.CmpPersonEdit}) {
    QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
  }
  QVERIFY(!button(QWizard::NextButton)->isEnabled());
  QCOMPARE(wizard.windowTitle(), QStringLiteral("Orrindale 1.2"));
  QCOMPARE(wizard.objectName(), QStringLiteral("AshlarBase"));
  QVERIFY(!wizard.testOption(QWizard::HaveHelpButton));
  QVERIFY(!QFile::exists(QString::fromLatin1(kSettingsFileName)));
}

void AshlarTest::buildsEveryNamedWidget() {
  Ashlar& wizard = makeWizard();
  const char* const names[] = {"Page0",
                               "Page1",
                               "Page2",
                               "Page3",
                               "IARProjectEdit",
                               "IARProjectBrowseBtn",
                               "IARInstallDirEdit",
                               "IARInstallBrowseBtn",
                               "KvProjectEdit",
                               "KvProjectBrowseBtn",
                               "KvNameEdit",
                               "MsgPersonEdit",
                               "MsgBrowseBtn",
                               "AnalPersonEdit",
                               "AnalBrowseBtn",
                               "CmpPersonEdit",
                               "CmpBrowseBtn",
                               "cppCheck",
                               "ccCheck",
                               "cxxCheck",
                               "cCheck",
                               "hCheck",
                               "hhCheck",
                               "hppCheck",
                               "hxxCheck",
                               "CustExtEdit",
                               "DetailsText",
                               "pixmapLabel3",
                               "pixmapLabel3_3_2_2_2",
                               "line1",
                               "line1_2_2_2_2",
                               "groupBox7",
                               "textLabel2_2_2_2"};
  for (const char* name : names) {
    QVERIFY2(wizard.findChild<QWidget*>(QString::fromLatin1(name)), name);
  }
  QCOMPARE(wizard.pageIds(), QList<int>({0, 1, 2, 3}));
  QCOMPARE(wizard.page(3), static_cast<QWizardPage*>(wizard.Page3));
  QCOMPARE(wizard.Page2->title(), QString());
  QCOMPARE(wizard.pixmapLabel3->pixmap().size(), QSize(532, 36));
  QCOMPARE(wizard.pixmapLabel3_3->pixmap().size(), QSize(532, 19));
  QCOMPARE(wizard.IARProjectEdit->geometry(), QRect(95, 20, 300, 25));
  QVERIFY(wizard.DetailsText->toPlainText().startsWith(QStringLiteral("IAR Workbench Project:")));
}

void AshlarTest::page0CheckColoursAndEnablesNext_data() {
  QTest::addColumn<QString>("project");
  QTest::addColumn<QString>("install");
  QTest::addColumn<QString>("dest");
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("next");
  QTest::addColumn<QString>("colours");  // project, install, destination: r(ed) or b(lack)

  const QString ewp = QStringLiteral("app.ewp");
  const QString iar = QStringLiteral("iar");
  const QString out = QStringLiteral("out");
  const QString none = QStringLiteral("missing");
  QTest::newRow("all present") << ewp << iar << out << "app" << true << "bbb";
  QTest::newRow("project missing") << none << iar << out << "app" << false << "rbb";
  QTest::newRow("install missing") << ewp << none << out << "app" << false << "brb";
  QTest::newRow("destination missing") << ewp << iar << none << "app" << false << "bbr";
  QTest::newRow("project is a folder") << iar << iar << out << "app" << true << "bbb";
  QTest::newRow("destination is a file") << ewp << iar << ewp << "app" << true << "bbb";
  QTest::newRow("empty name") << ewp << iar << out << "" << false << "bbb";
  QTest::newRow("name of one space") << ewp << iar << out << " " << true << "bbb";
  QTest::newRow("empty paths") << ""
                               << ""
                               << ""
                               << "app" << false << "rrr";
}

void AshlarTest::page0CheckColoursAndEnablesNext() {
  QFETCH(QString, project);
  QFETCH(QString, install);
  QFETCH(QString, dest);
  QFETCH(QString, name);
  QFETCH(bool, next);
  QFETCH(QString, colours);
  makeFile(QStringLiteral("app.ewp"));
  makeFolder(QStringLiteral("iar"));
  makeFolder(QStringLiteral("out"));
  Ashlar& wizard = makeWizard();
  const QColor nameColour = textColour(wizard.KvNameEdit);

  // Relative paths are checked against the current directory.
  wizard.IARProjectEdit->setText(project);
  wizard.IARInstallDirEdit->setText(install);
  wizard.KvProjectEdit->setText(dest);
  wizard.KvNameEdit->setText(name);

  QCOMPARE(button(QWizard::NextButton)->isEnabled(), next);
  const QLineEdit* const paths[] = {wizard.IARProjectEdit, wizard.IARInstallDirEdit,
                                    wizard.KvProjectEdit};
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(textColour(paths[i]), colours[i] == QLatin1Char('r') ? kRed : kBlack);
  }
  QCOMPARE(textColour(wizard.KvNameEdit), nameColour);
}

void AshlarTest::page0KeyReleaseRechecks() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  const QString later = work_->filePath(QStringLiteral("later.eww"));
  wizard.IARProjectEdit->clear();
  QTest::keyClicks(wizard.IARProjectEdit, later);
  QCOMPARE(wizard.IARProjectEdit->text(), later);
  QCOMPARE(textColour(wizard.IARProjectEdit), kRed);
  QVERIFY(!button(QWizard::NextButton)->isEnabled());

  makeFile(QStringLiteral("later.eww"));  // appears without a text change
  QTest::keyRelease(wizard.IARProjectEdit, Qt::Key_Shift);
  QCOMPARE(textColour(wizard.IARProjectEdit), kBlack);
  QVERIFY(button(QWizard::NextButton)->isEnabled());
}

void AshlarTest::page1MissingMessageBlocksUntilCleared() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(1);
  QVERIFY(button(QWizard::NextButton)->isEnabled());  // all three empty

  wizard.MsgPersonEdit->setText(work_->filePath(QStringLiteral("missing.p_s")));
  wizard.CmpPersonEdit->setText(makeFile(QStringLiteral("c.p_c")));
  QVERIFY(!button(QWizard::NextButton)->isEnabled());
  QCOMPARE(textColour(wizard.MsgPersonEdit), kRed);
  QCOMPARE(textColour(wizard.CmpPersonEdit), kBlack);

  wizard.MsgPersonEdit->clear();
  QVERIFY(button(QWizard::NextButton)->isEnabled());
  QCOMPARE(textColour(wizard.MsgPersonEdit), kRed);  // an empty field keeps its colour
}

void AshlarTest::page1MissingAnalyserAloneBlocksUntilCleared() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(1);
  const QColor untouched = textColour(wizard.MsgPersonEdit);
  wizard.AnalPersonEdit->setText(QStringLiteral("missing.p_a"));
  QVERIFY(!button(QWizard::NextButton)->isEnabled());
  QCOMPARE(textColour(wizard.AnalPersonEdit), kRed);
  QCOMPARE(textColour(wizard.MsgPersonEdit), untouched);
  wizard.AnalPersonEdit->clear();
  QVERIFY(button(QWizard::NextButton)->isEnabled());
  goToPage(2);
}

void AshlarTest::page1KeyReleaseRechecks() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(1);
  QTest::keyClicks(wizard.CmpPersonEdit, QStringLiteral("later.p_c"));
  QVERIFY(!button(QWizard::NextButton)->isEnabled());
  makeFile(QStringLiteral("later.p_c"));
  QTest::keyRelease(wizard.CmpPersonEdit, Qt::Key_Control);
  QCOMPARE(textColour(wizard.CmpPersonEdit), kBlack);
  QVERIFY(button(QWizard::NextButton)->isEnabled());
}

// --- Page2: extension list, summary and the -ext option ----------------------------------------

void AshlarTest::extensionListAndSummary_data() {
  QTest::addColumn<QStringList>("checked");
  QTest::addColumn<QString>("custom");
  QTest::addColumn<QString>("list");

  const QStringList all = {"cppCheck", "ccCheck", "cxxCheck", "cCheck",
                           "hCheck",   "hhCheck", "hppCheck", "hxxCheck"};
  QTest::newRow("cpp and h") << QStringList{"hCheck", "cppCheck"} << ""
                             << "cpp,h";
  QTest::newRow("c and custom") << QStringList{"cCheck"} << "res,xml"
                                << "c,res,xml";
  QTest::newRow("custom with one comma") << QStringList{} << "res,"
                                         << "res";
  QTest::newRow("nothing") << QStringList{} << ""
                           << "";
  QTest::newRow("all and custom") << all << "res,xml"
                                  << "cpp,cc,cxx,c,h,hh,hpp,hxx,res,xml";
  QTest::newRow("custom with two commas") << QStringList{} << "res,,"
                                          << "res,";
  QTest::newRow("list order, not page order") << QStringList{"hxxCheck", "ccCheck", "hhCheck"} << ""
                                              << "cc,hh,hxx";
  QTest::newRow("custom as typed") << QStringList{"cppCheck"} << " .s, asm"
                                   << "cpp, .s, asm";
}

void AshlarTest::extensionListAndSummary() {
  QFETCH(QStringList, checked);
  QFETCH(QString, custom);
  QFETCH(QString, list);
  Ashlar& wizard = makeWizard();
  fillPage0();
  wizard.MsgPersonEdit->setText(makeFile(QStringLiteral("m.p_s")));
  goToPage(2);
  for (const QString& name : checked) {
    wizard.findChild<QCheckBox*>(name)->setChecked(true);
  }
  wizard.CustExtEdit->setText(custom);
  goToPage(3);

  const QString expected =
      QStringLiteral(
          "IAR Workbench Project:\n%1\n\nKorval / Korval++ Project Directory:\n%2\n\n"
          "Korval / Korval++ Project Name:\napp\n\nMessage Personality:\n%3\n\n"
          "Tamplate Analyser Personality:\n\n\nCompiler Personality:\n\n\n"
          "File Extensions:\n%4\n")
          .arg(wizard.IARProjectEdit->text(), wizard.KvProjectEdit->text(),
               wizard.MsgPersonEdit->text(), list);
  QCOMPARE(log(), expected);
  QVERIFY(button(QWizard::FinishButton)->isEnabled());

  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));
  const QStringList arguments = recordedArguments();
  if (list.isEmpty()) {
    QVERIFY(!arguments.contains(QStringLiteral("-ext")));
  } else {
    QCOMPARE(arguments.mid(arguments.size() - 2), QStringList({"-ext", list}));
  }
}

void AshlarTest::leavingPage2AgainRebuildsList() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(2);
  wizard.cppCheck->setChecked(true);
  wizard.CustExtEdit->setText(QStringLiteral("xml"));
  goToPage(3);
  QVERIFY(log().endsWith(QStringLiteral("File Extensions:\ncpp,xml\n")));

  button(QWizard::BackButton)->click();
  wizard.cppCheck->setChecked(false);
  wizard.hCheck->setChecked(true);
  wizard.CustExtEdit->clear();
  goToPage(3);
  QVERIFY(log().endsWith(QStringLiteral("File Extensions:\nh\n")));
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));
  QCOMPARE(recordedArguments().mid(6), QStringList({"-ext", "h"}));
}

// --- Running the converter ---------------------------------------------------------------------

void AshlarTest::passesFieldsAsArgumentsUnchanged() {
  Ashlar& wizard = makeWizard();
  makeFile(QStringLiteral("sub/app.ewp"));
  wizard.IARProjectEdit->setText(QStringLiteral("sub/app.ewp"));  // relative stays relative
  wizard.IARInstallDirEdit->setText(makeFolder(QStringLiteral("IAR Systems/EW 5.4")));
  wizard.KvProjectEdit->setText(makeFolder(QStringLiteral("korval out")));
  wizard.KvNameEdit->setText(QStringLiteral(" my app "));
  goToPage(1);
  wizard.MsgPersonEdit->setText(makeFile(QStringLiteral("p/m s.p_s")));
  wizard.AnalPersonEdit->setText(makeFile(QStringLiteral("p/a.p_a")));
  wizard.CmpPersonEdit->setText(makeFile(QStringLiteral("p/c.p_c")));
  goToPage(2);
  wizard.cppCheck->setChecked(true);
  goToPage(3);
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));

  const QStringList expected = {QDir::currentPath(),
                                "sub/app.ewp",
                                wizard.KvProjectEdit->text(),
                                wizard.IARInstallDirEdit->text(),
                                "-pn",
                                " my app ",
                                "-mp",
                                wizard.MsgPersonEdit->text(),
                                "-ap",
                                wizard.AnalPersonEdit->text(),
                                "-cp",
                                wizard.CmpPersonEdit->text(),
                                "-ext",
                                "cpp"};
  QCOMPARE(recordedArguments(), expected);
}

void AshlarTest::onlyCompilerPersonalityGivesCpAndTwoRecords() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(1);
  const QString compiler = makeFile(QStringLiteral("c.p_c"));
  wizard.CmpPersonEdit->setText(compiler);
  goToPage(3);
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));

  const QStringList arguments = recordedArguments();
  QCOMPARE(arguments.mid(4), QStringList({"-pn", "app", "-cp", compiler}));
  const QByteArray expected = "IAR Installation Path:\n" +
                              QFile::encodeName(wizard.IARInstallDirEdit->text()) +
                              "\n\nCompiler Personality:\n" + QFile::encodeName(compiler) + "\n\n";
  QCOMPARE(readFile(QString::fromLatin1(kSettingsFileName)), expected);
}

void AshlarTest::successfulRunLogsOutputAndTurnsCancelIntoClose() {
  qputenv("TESSMARK_FAKE_STDOUT",
          "Creating Korval/Korval++ Project ...\n<b>caf\xe9</b> & co\n"
          "Korval/Korval++ Project Completed!\n");
  Ashlar& wizard = makeWizard();
  ModalWatcher watcher([](QWidget* modal) { modal->close(); });
  fillPage0();
  goToPage(3);
  const QString cancelText = button(QWizard::CancelButton)->text();
  finish();
  QTRY_COMPARE(button(QWizard::CancelButton)->text(), QStringLiteral("Close"));

  // The chunk is shown as printed, read as Latin-1, in a paragraph of its own.
  QCOMPARE(log(),
           kInitialising +
               QStringLiteral("\nCreating Korval/Korval++ Project ...\n<b>caf\u00e9</b> & co\n"
                              "Korval/Korval++ Project Completed!\n\n") +
               kSuccess);
  QVERIFY(cancelText != QStringLiteral("Close"));
  QVERIFY(!button(QWizard::FinishButton)->isEnabled());
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));
  QCOMPARE(watcher.seen(), 0);

  QSignalSpy finished(&wizard, &QDialog::finished);
  button(QWizard::CancelButton)->click();
  QCOMPARE(finished.count(), 1);
  QCOMPARE(wizard.result(), int(QDialog::Rejected));
  QVERIFY(!wizard.isVisible());
}

void AshlarTest::failingRunShowsAboutBoxAndSavesSettings() {
  qputenv("TESSMARK_FAKE_STDOUT", "Could not open file: app.ewp\n");
  qputenv("TESSMARK_FAKE_EXIT", "1");
  Ashlar& wizard = makeWizard();
  QString title;
  QString text;
  bool settingsSavedBeforeBoxClosed = true;
  ModalWatcher watcher([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box);
    title = box->windowTitle();
    text = box->text();
    settingsSavedBeforeBoxClosed = QFile::exists(QString::fromLatin1(kSettingsFileName));
    box->accept();
  });
  fillPage0();
  goToPage(3);
  const QString cancelText = button(QWizard::CancelButton)->text();
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));

  QCOMPARE(watcher.seen(), 1);
  QCOMPARE(title, QStringLiteral("Orrindale"));
  QCOMPARE(text, QStringLiteral(
                     "Project Conversion Failed!\nPlease check the details log and try again."));
  QVERIFY(!settingsSavedBeforeBoxClosed);
  QCOMPARE(log(), kInitialising + QStringLiteral("\nCould not open file: app.ewp\n"));
  QCOMPARE(button(QWizard::CancelButton)->text(), cancelText);
  QVERIFY(!button(QWizard::FinishButton)->isEnabled());
  QVERIFY(wizard.isVisible());
}

void AshlarTest::crashedChildShowsNothingAndSavesSettings() {
  qputenv("TESSMARK_FAKE_STDOUT", "Creating Korval/Korval++ Project ...\n");
  qputenv("TESSMARK_FAKE_EXIT", "crash");
  makeWizard();
  ModalWatcher watcher([](QWidget* modal) { modal->close(); });
  fillPage0();
  goToPage(3);
  const QString cancelText = button(QWizard::CancelButton)->text();
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));

  QCOMPARE(wizard_->findChild<QProcess*>()->exitStatus(), QProcess::CrashExit);
  QCOMPARE(watcher.seen(), 0);
  QCOMPARE(log(), kInitialising + QStringLiteral("\nCreating Korval/Korval++ Project ...\n"));
  QCOMPARE(button(QWizard::CancelButton)->text(), cancelText);
}

void AshlarTest::missingConverterIsReportedInLog() {
  QVERIFY(QFile::rename(standIn_, standIn_ + QStringLiteral(".hidden")));
  qputenv("PATH", QFile::encodeName(makeFolder(QStringLiteral("empty-bin"))));
  Ashlar& wizard = makeWizard();
  ModalWatcher watcher([](QWidget* modal) { modal->close(); });
  fillPage0();
  goToPage(3);
  finish();
  QTRY_COMPARE(log(), kInitialising + QStringLiteral("\n") + kNotExecuted);
  QVERIFY(!button(QWizard::FinishButton)->isEnabled());
  QVERIFY(button(QWizard::BackButton)->isEnabled());

  // Back, Next and Finish make a fresh attempt, which succeeds once the converter is there.
  QVERIFY(QFile::rename(standIn_ + QStringLiteral(".hidden"), standIn_));
  button(QWizard::BackButton)->click();
  goToPage(3);
  finish();
  QTRY_VERIFY(log().endsWith(kSuccess));
  QCOMPARE(wizard.findChildren<QProcess*>().size(), 2);
  QCOMPARE(watcher.seen(), 0);
  // Only the run that started saved the settings; the failed start wrote nothing before it.
  QVERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));
}

void AshlarTest::finishIsDisabledAfterStart() {
  qputenv("TESSMARK_FAKE_SLEEP_MS", "300");
  makeWizard();
  fillPage0();
  goToPage(3);
  finish();
  QVERIFY(!button(QWizard::FinishButton)->isEnabled());
  QVERIFY(button(QWizard::BackButton)->isEnabled());
  QCOMPARE(log(), kInitialising);
  QTRY_VERIFY(log().endsWith(kSuccess));
  QVERIFY(!button(QWizard::FinishButton)->isEnabled());
}

void AshlarTest::cancelDuringRunKillsChildWithoutSaving() {
  qputenv("TESSMARK_FAKE_STDOUT", "Creating Korval/Korval++ Project ...\n");
  qputenv("TESSMARK_FAKE_SLEEP_MS", "20000");
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(3);
  finish();
  QProcess* child = wizard.findChild<QProcess*>();
  QVERIFY(child->waitForStarted());
  QTRY_VERIFY(log().contains(QStringLiteral("Creating")));

  button(QWizard::CancelButton)->click();
  QVERIFY(!wizard.isVisible());
  QCOMPARE(wizard.result(), int(QDialog::Rejected));
  QTRY_COMPARE(child->state(), QProcess::NotRunning);
  QCOMPARE(child->exitStatus(), QProcess::CrashExit);
  QTest::qWait(100);
  QVERIFY(!QFile::exists(QString::fromLatin1(kSettingsFileName)));
}

void AshlarTest::finishDuringRunStopsEarlierChild() {
  qputenv("TESSMARK_FAKE_STDOUT", "first run\n");
  qputenv("TESSMARK_FAKE_SLEEP_MS", "20000");
  Ashlar& wizard = makeWizard();
  ModalWatcher watcher([](QWidget* modal) { modal->close(); });
  fillPage0();
  goToPage(3);
  finish();
  QTRY_VERIFY(log().contains(QStringLiteral("first run")));
  QProcess* first = wizard.findChild<QProcess*>();

  qputenv("TESSMARK_FAKE_STDOUT", "second run\n");
  qunsetenv("TESSMARK_FAKE_SLEEP_MS");
  button(QWizard::BackButton)->click();
  goToPage(3);
  finish();
  QTRY_VERIFY(QFile::exists(QString::fromLatin1(kSettingsFileName)));
  QTRY_COMPARE(first->state(), QProcess::NotRunning);
  QTest::qWait(100);  // the first child's end must not reach the log
  QCOMPARE(log(), kInitialising + QStringLiteral("\nsecond run\n\n") + kSuccess);
  QCOMPARE(watcher.seen(), 0);
}

// --- settings.txt ------------------------------------------------------------------------------

void AshlarTest::savesAllFourRecords() {
  Ashlar& wizard = makeWizard();
  fillPage0();
  goToPage(1);
  wizard.MsgPersonEdit->setText(makeFile(QStringLiteral("m.p_s")));
  wizard.AnalPersonEdit->setText(makeFile(QStringLiteral("a.p_a")));
  wizard.CmpPersonEdit->setText(makeFile(QStringLiteral("c.p_c")));
  wizard.saveSettings();
  const QByteArray expected =
      "IAR Installation Path:\n" + QFile::encodeName(wizard.IARInstallDirEdit->text()) +
      "\n\nMessage Personality:\n" + QFile::encodeName(wizard.MsgPersonEdit->text()) +
      "\n\nAnalyser Personality:\n" + QFile::encodeName(wizard.AnalPersonEdit->text()) +
      "\n\nCompiler Personality:\n" + QFile::encodeName(wizard.CmpPersonEdit->text()) + "\n\n";
  QCOMPARE(readFile(QString::fromLatin1(kSettingsFileName)), expected);

  // Cleared fields are dropped; an empty installation path is still written.
  wizard.IARInstallDirEdit->clear();
  wizard.MsgPersonEdit->clear();
  wizard.AnalPersonEdit->clear();
  wizard.CmpPersonEdit->clear();
  wizard.saveSettings();
  QCOMPARE(readFile(QString::fromLatin1(kSettingsFileName)),
           QByteArray("IAR Installation Path:\n\n\n"));

  // A new wizard in the same folder reads back what was written.
  wizard.IARInstallDirEdit->setText(QStringLiteral(" /opt/iar "));
  wizard.AnalPersonEdit->setText(QStringLiteral("a b.p_a"));
  wizard.saveSettings();
  Ashlar next;
  QCOMPARE(next.IARInstallDirEdit->text(), QStringLiteral(" /opt/iar "));
  QCOMPARE(next.AnalPersonEdit->text(), QStringLiteral("a b.p_a"));
  QCOMPARE(next.MsgPersonEdit->text(), QString());
}

void AshlarTest::loadsSettings_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QStringList>("fields");  // install, message, analyser, compiler

  QTest::newRow("all four") << QByteArray(
                                   "IAR Installation Path:\n/iar\n\nMessage Personality:\nm\n\n"
                                   "Analyser Personality:\na\n\nCompiler Personality:\nc\n\n")
                            << QStringList{"/iar", "m", "a", "c"};
  QTest::newRow("key on the last line empties its field")
      << QByteArray("Message Personality:\nm\n\nMessage Personality:")
      << QStringList{"", "", "", ""};
  QTest::newRow("key on the last line, with line feed")
      << QByteArray("Analyser Personality:\na\n\nAnalyser Personality:\n")
      << QStringList{"", "", "", ""};
  QTest::newRow("last occurrence wins")
      << QByteArray("Compiler Personality:\nfirst\n\nCompiler Personality:\nsecond\n\n")
      << QStringList{"", "", "", "second"};
  QTest::newRow("empty installation path overrides an earlier one")
      << QByteArray("IAR Installation Path:\n/iar\n\nIAR Installation Path:\n\n\n")
      << QStringList{"", "", "", ""};
  QTest::newRow("value line is never a key")
      << QByteArray("Message Personality:\nCompiler Personality:\n\n")
      << QStringList{"", "Compiler Personality:", "", ""};
  QTest::newRow("keys match exactly")
      << QByteArray(
             "message personality:\nm\nMessage Personality: \nm2\n Compiler Personality:\nc\n")
      << QStringList{"", "", "", ""};
  QTest::newRow("values kept untrimmed, other lines skipped")
      << QByteArray("junk\n\nIAR Installation Path:\n  C:\\IAR 5 \nmore junk\n")
      << QStringList{"  C:\\IAR 5 ", "", "", ""};
}

void AshlarTest::loadsSettings() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, fields);
  QVERIFY(writeFile(QString::fromLatin1(kSettingsFileName), file));
  Ashlar& wizard = makeWizard();
  QCOMPARE(QStringList({wizard.IARInstallDirEdit->text(), wizard.MsgPersonEdit->text(),
                        wizard.AnalPersonEdit->text(), wizard.CmpPersonEdit->text()}),
           fields);
}

void AshlarTest::rememberedMissingPathComesUpRed() {
  const QString install = makeFolder(QStringLiteral("iar"));
  QVERIFY(writeFile(QString::fromLatin1(kSettingsFileName),
                    "IAR Installation Path:\n" + QFile::encodeName(install) +
                        "\n\nCompiler Personality:\ngone.p_c\n\n"));
  Ashlar& wizard = makeWizard();
  QCOMPARE(textColour(wizard.IARInstallDirEdit), kBlack);
  QCOMPARE(textColour(wizard.CmpPersonEdit), kRed);
  fillPage0();
  goToPage(1);
  QVERIFY(!button(QWizard::NextButton)->isEnabled());
}

void AshlarTest::unusableSettingsFileIsIgnored() {
  // A folder of that name can be neither read nor written as a file.
  makeFolder(QString::fromLatin1(kSettingsFileName));
  Ashlar& wizard = makeWizard();
  QCOMPARE(wizard.IARInstallDirEdit->text(), QString());
  wizard.MsgPersonEdit->setText(QStringLiteral("m.p_s"));
  wizard.saveSettings();
  QVERIFY(QFileInfo(QString::fromLatin1(kSettingsFileName)).isDir());
}

void AshlarTest::installDirFromIdePathDropsFileAndFolder_data() {
  QTest::addColumn<QString>("idePath");
  QTest::addColumn<QString>("installDir");
  QTest::newRow("file and folder dropped") << "C:\\A\\B\\C\\D.exe"
                                           << "C:\\A\\B";
  QTest::newRow("no backslash") << "IDE.exe"
                                << "IDE.exe";
  QTest::newRow("one backslash") << "C:\\IDE.exe"
                                 << "C:";
  QTest::newRow("forward slashes are no separators") << "C:/A/B/IDE.exe"
                                                     << "C:/A/B/IDE.exe";
  QTest::newRow("empty") << ""
                         << "";
}

void AshlarTest::installDirFromIdePathDropsFileAndFolder() {
  QFETCH(QString, idePath);
  QFETCH(QString, installDir);
  QCOMPARE(QString::fromStdString(tessmark::iarFolderFromIdePath(idePath.toStdString())),
           installDir);
#ifndef _WIN32
  QCOMPARE(Ashlar::readIARInstallDir(), QString());
#endif
}

// --- Browse buttons ----------------------------------------------------------------------------

void AshlarTest::browseButtonsFillFieldsAndRememberPath_data() {
  QTest::addColumn<QString>("buttonName");
  QTest::addColumn<QString>("fieldName");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("filter");  // empty: a folder dialog
  QTest::addColumn<QString>("pick");

  QTest::newRow("project") << "IARProjectBrowseBtn"
                           << "IARProjectEdit"
                           << "Select an IAR Workbench Workspace/Project"
                           << "IAR Workspace/Projects (*.eww *.ewp)"
                           << "w/app.eww";
  QTest::newRow("install") << "IARInstallBrowseBtn"
                           << "IARInstallDirEdit"
                           << "Specify the IAR Installation Directory"
                           << ""
                           << "IAR 5";
  QTest::newRow("destination") << "KvProjectBrowseBtn"
                               << "KvProjectEdit"
                               << "Select the Korval/Korval++ Project Destination Directory"
                               << ""
                               << "out";
  QTest::newRow("message") << "MsgBrowseBtn"
                           << "MsgPersonEdit"
                           << "Select a Message Personality"
                           << "Msg Personalities(*.p_s)"
                           << "p/m.p_s";
  QTest::newRow("analyser") << "AnalBrowseBtn"
                            << "AnalPersonEdit"
                            << "Select a Template Analyser Personality"
                            << "Analiser Personalities(*.p_a)"
                            << "p/a.p_a";
  QTest::newRow("compiler") << "CmpBrowseBtn"
                            << "CmpPersonEdit"
                            << "Select a Compiler Personality"
                            << "Cmp Personalities(*.p_c)"
                            << "p/c.p_c";
}

void AshlarTest::browseButtonsFillFieldsAndRememberPath() {
  QFETCH(QString, buttonName);
  QFETCH(QString, fieldName);
  QFETCH(QString, caption);
  QFETCH(QString, filter);
  QFETCH(QString, pick);
  const bool folder = filter.isEmpty();
  const QString picked = folder ? makeFolder(pick) : makeFile(pick);
  Ashlar& wizard = makeWizard();

  QString openedAt;
  {
    ModalWatcher watcher([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      QCOMPARE(dialog->windowTitle(), caption);
      QCOMPARE(dialog->objectName(), folder ? QStringLiteral("get existing directory")
                                            : QStringLiteral("open file dialog"));
      QCOMPARE(dialog->fileMode(), folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
      if (!folder) {
        QCOMPARE(dialog->nameFilters(), QStringList(filter));
      }
      openedAt = dialog->directory().absolutePath();
      // Typed rather than selected: the dialog's file list fills in the background.
      auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(nameEdit);
      nameEdit->setText(picked);
      static_cast<QDialog*>(dialog)->accept();
    });
    wizard.findChild<QPushButton*>(buttonName)->click();
    QCOMPARE(watcher.seen(), 1);
  }
  QCOMPARE(openedAt, QDir::rootPath());
  QCOMPARE(wizard.findChild<QLineEdit*>(fieldName)->text(), QDir::toNativeSeparators(picked));

  // The next dialog, of any kind, opens where the last one ended.
  ModalWatcher next([&](QWidget* modal) {
    openedAt = static_cast<QFileDialog*>(modal)->directory().absolutePath();
    modal->close();
  });
  wizard.IARInstallBrowseBtn->click();
  QCOMPARE(openedAt, folder ? picked : QFileInfo(picked).path());
}

void AshlarTest::cancelledBrowseChangesNothing() {
  Ashlar& wizard = makeWizard();
  wizard.MsgPersonEdit->setText(QStringLiteral("kept.p_s"));
  QString openedAt;
  ModalWatcher watcher([&](QWidget* modal) {
    openedAt = static_cast<QFileDialog*>(modal)->directory().absolutePath();
    static_cast<QFileDialog*>(modal)->reject();
  });
  wizard.MsgBrowseBtn->click();
  wizard.MsgBrowseBtn->click();
  QCOMPARE(watcher.seen(), 2);
  QCOMPARE(wizard.MsgPersonEdit->text(), QStringLiteral("kept.p_s"));
  QCOMPARE(openedAt, QDir::rootPath());
}

QTEST_MAIN(AshlarTest)
#include "ashlar_test.moc"
