// Drives the real wizard offscreen, each test in a fresh temporary current directory (where
// settings.txt lives) holding the files and folders that the tables name. The converter is the
// stand-in fake_converter.cpp, built beside this program where the wizard looks first (as an
// installed wizard finds the converter beside it), so it is never taken from the search path.
// Rows give the seven fields (project, install, destination, name, three personalities) as
// "a|b|...". One test runs the real converter and saves screenshots of the pages.
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

#include "ashlar.h"
#include "iar_default.h"
#include "settings.h"

namespace {

const QString kSettings = QString::fromLatin1(kSettingsFileName);
const QString kInitialising = QStringLiteral("Initialising Project Conversion ...\n");
const QString kPage0 = QStringLiteral("app.ewp|iar|korval out| my app ");

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Adds one row to the current test's table.
template <typename... Values>
void row(const char* tag, const Values&... values) {
  (QTest::newRow(tag) << ... << values);
}

char colourOf(const QLineEdit* field) {
  const QColor colour = field->palette().color(QPalette::Text);
  return colour == QColor(Qt::red) ? 'r' : colour == QColor(Qt::black) ? 'b' : '?';
}

// Hands every modal window that shows up (file dialog, message box) to the handler from inside
// its event loop, then closes it, so that none can block a test.
struct ModalWatcher : QTimer {
  explicit ModalWatcher(const std::function<void(QWidget*)>& handler) {
    connect(this, &QTimer::timeout, [handler] {
      if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
        handler(modal);
        modal->close();
      }
    });
    start(10);
  }
};

}  // namespace

class AshlarTest : public QObject {
  Q_OBJECT

  const QByteArray path_ = qgetenv("PATH");
  std::unique_ptr<QTemporaryDir> work_;
  std::unique_ptr<Ashlar> wizard_;

  QString standIn() const { return QCoreApplication::applicationDirPath() + "/Tessmark"; }
  QAbstractButton* button(QWizard::WizardButton which) const { return wizard_->button(which); }
  QString log() const { return wizard_->DetailsText->toPlainText(); }
  // In the order of the pages: the seven fields of the rows, then CustExtEdit.
  QList<QLineEdit*> fields() const { return wizard_->findChildren<QLineEdit*>(); }
  void setFields(const QString& row, bool signal = true) {
    const QStringList values = row.split('|');
    for (int i = 0; i < values.size(); ++i) {
      const QSignalBlocker blocker(signal ? nullptr : fields()[i]);
      fields()[i]->setText(values[i]);
    }
  }
  void goToPage(int id) {
    while (wizard_->currentId() < id) {
      QVERIFY2(button(QWizard::NextButton)->isEnabled(), "Next disabled");
      button(QWizard::NextButton)->click();
    }
  }
  void finish() {
    QVERIFY(button(QWizard::FinishButton)->isEnabled());
    button(QWizard::FinishButton)->click();
    QVERIFY(!button(QWizard::FinishButton)->isEnabled() &&
            button(QWizard::BackButton)->isEnabled());
  }

 private slots:
  void init() {
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(work_->path()) && QDir().mkpath("iar") && QDir().mkpath("korval out"));
    for (const char* file : {"app.ewp", "m s.p_s", "a.p_a", "c.p_c"})
      QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    qunsetenv("TESSMARK_FAKE");
    wizard_ = std::make_unique<Ashlar>();
    wizard_->show();
    QVERIFY(!button(QWizard::NextButton)->isEnabled());  // all fields start empty
  }

  void cleanup() {
    wizard_.reset();
    qputenv("PATH", path_);
    QFile::rename(standIn() + ".hidden", standIn());
  }

  void pageChecks_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("shown");  // Next on Page0 and Page1, colours of the six paths
    row("all there", "app.ewp|iar|korval out|app|m s.p_s|a.p_a|c.p_c", "11bbbbbb");
    row("project missing", "x|iar|korval out|app|||", "01rbbrrr");
    row("install missing", "app.ewp|x|korval out|app|||", "01brbrrr");
    row("destination missing", "app.ewp|iar|x|app|||", "01bbrrrr");
    row("project a folder, destination a file", "iar|iar|app.ewp|app|||", "11bbbrrr");
    row("empty name", "app.ewp|iar|korval out||||", "01bbbrrr");
    row("name of one space", "app.ewp|iar|korval out| |||", "11bbbrrr");
    row("empty paths", "|||app|||", "01rrrrrr");
    row("message missing, compiler there", "||||x||c.p_c", "00rrrrrb");
    row("analyser missing alone", "|||||x|", "00rrrrrr");
    row("message there", "||||m s.p_s||", "01rrrbrr");
  }

  void pageChecks() {
    setFields("x|x|x|x|x|x|x");  // all red first: an empty personality keeps its colour
    // Set unnoticed: a key release must re-check its page, as when a file appears meanwhile.
    QFETCH(QString, row);
    setFields(row, false);
    QTest::keyRelease(wizard_->KvNameEdit, Qt::Key_Shift);
    QTest::keyRelease(wizard_->AnalPersonEdit, Qt::Key_Shift);
    QString shown =
        QString("%1%2").arg(wizard_->Page0->isComplete()).arg(wizard_->Page1->isComplete());
    for (int i : {0, 1, 2, 4, 5, 6})
      shown += colourOf(fields()[i]);
    QTEST(shown, "shown");
  }

  void commandLine_data() {
    QTest::addColumn<QString>("fields");  // the personalities, then the custom extensions
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("options");  // the personality options
    row("nothing optional", "|||", "", "", "");
    row("everything", "m s.p_s|a.p_a|c.p_c|res,xml", "cpp cc cxx c h hh hpp hxx",
        "cpp,cc,cxx,c,h,hh,hpp,hxx,res,xml", "|-mp|m s.p_s|-ap|a.p_a|-cp|c.p_c");
    row("only compiler", "||c.p_c|", "", "", "|-cp|c.p_c");
    row("message, analyser", "m s.p_s|a.p_a||", "h cpp", "cpp,h", "|-mp|m s.p_s|-ap|a.p_a");
    row("c and custom", "|||res,xml", "c", "c,res,xml", "");
    row("custom, one comma", "|||res,", "", "res", "");
    row("custom, two commas", "|||res,,", "", "res,", "");
    row("list order, not page order", "|||", "hxx cc hh", "cc,hh,hxx", "");
    row("custom as typed", "||| .s, asm", "cpp", "cpp, .s, asm", "");
  }

  void commandLine() {
    QFETCH(QString, fields);
    QFETCH(QString, checked);
    QFETCH(QString, list);
    QFETCH(QString, options);
    setFields(kPage0 + "|" + fields);
    const QList<QCheckBox*> boxes = wizard_->findChildren<QCheckBox*>();
    goToPage(2);
    for (QCheckBox* box : boxes)
      box->setChecked(true);  // a first visit, whose list the second one must replace
    goToPage(3);
    button(QWizard::BackButton)->click();
    for (QCheckBox* box : boxes)  // found by their texts, "*.cpp" and so on
      box->setChecked(checked.split(' ').contains(box->text().mid(2)));
    goToPage(3);
    const QStringList person = fields.split('|');
    QCOMPARE(log(), QStringLiteral("IAR Workbench Project:\napp.ewp\n\nKorval / Korval++ Project "
                                   "Directory:\nkorval out\n\nKorval / Korval++ Project Name:\n my "
                                   "app \n\nMessage Personality:\n%1\n\nTamplate Analyser "
                                   "Personality:\n%2\n\nCompiler Personality:\n%3\n\nFile "
                                   "Extensions:\n%4\n")
                        .arg(person[0], person[1], person[2], list));
    finish();
    QTRY_VERIFY(QFile::exists(kSettings));
    // Every field is one argument as typed; the file lands in the child's working directory.
    QCOMPARE(QString::fromLocal8Bit(readFile("arguments")),
             "app.ewp|korval out|iar|-pn| my app " + options +
                 (list.isEmpty() ? QString() : "|-ext|" + list));
  }

  void runLifeCycle_data() {
    QTest::addColumn<QByteArray>("fake");  // see fake_converter.cpp; empty: no converter at all
    QTest::addColumn<QString>("log");      // after the initialising line
    QTest::addColumn<QString>("ending");   // message box, Cancel button, settings saved
    row("success", QByteArray("0 50 one\r|\n tw|o caf\xe9 <b>&amp;</b>\r\n\n|three"),
        "one\n two caf\u00e9 <b>&amp;</b>\n\nthree\nProject Converted Successfully!",
        "Close, saved");
    row("failure", QByteArray("1 0 Could not open file: app.ewp\n"),
        "Could not open file: app.ewp\n",
        "Orrindale: Project Conversion Failed!\nPlease check the details log and try again.\n"
        "Cancel, saved");
    row("crash", QByteArray("crash 50 one\nhalf a li|ne"), "one\nhalf a line", "Cancel, saved");
    row("converter missing", QByteArray(),
        "Project Conversion could not be executed: Please ensure Tessmark.exe is set on the "
        "path.\n",
        "Cancel");
  }

  void runLifeCycle() {
    QFETCH(QByteArray, fake);
    QFETCH(QString, log);
    QFETCH(QString, ending);
    qputenv("TESSMARK_FAKE", fake);
    if (fake.isEmpty()) {
      QVERIFY(QFile::rename(standIn(), standIn() + ".hidden"));
      qputenv("PATH", "");
    }
    QString box;
    ModalWatcher watcher([&](QWidget* modal) {
      auto* about = qobject_cast<QMessageBox*>(modal);
      QVERIFY2(about && !QFile::exists(kSettings), "settings are saved after the box");
      box = about->windowTitle() + ": " + about->text() + "\n";
    });
    setFields(kPage0);
    goToPage(3);
    finish();
    QTRY_COMPARE(this->log(), kInitialising + log);
    QTRY_COMPARE(
        box + button(QWizard::CancelButton)->text() + (QFile::exists(kSettings) ? ", saved" : ""),
        ending);
    button(QWizard::CancelButton)->click();
    QVERIFY(!wizard_->isVisible());
  }

  void secondFinishAndCancelStopTheirRuns() {
    // Each run prints a line and a half and waits. Back, Next and Finish start a second run,
    // which stops the first; Cancel stops the second. A stopped run reaches neither log nor
    // settings, nor does its unfinished line.
    setFields(kPage0);
    for (const QString line : {"first run\n", "second run\n"}) {
      qputenv("TESSMARK_FAKE", "0 20000 " + line.toLatin1() + "half|");  // "half" is left over
      goToPage(3);
      finish();
      QTRY_COMPARE(log(), kInitialising + line);
      button(QWizard::BackButton)->click();
    }
    const QList<QProcess*> runs = wizard_->findChildren<QProcess*>();
    QTRY_COMPARE(runs.first()->state(), QProcess::NotRunning);
    button(QWizard::CancelButton)->click();
    QTRY_COMPARE(runs.last()->state(), QProcess::NotRunning);
    QTest::qWait(100);
    QCOMPARE(log(), kInitialising + "second run\n");
    QVERIFY(!QFile::exists(kSettings));
  }

  void settings_data() {
    QTest::addColumn<QString>("file");        // null: settings.txt is a folder
    QTest::addColumn<QString>("remembered");  // install and personality fields, Next on Page1
    QTest::addColumn<bool>("kept");           // saving writes the same file again
    row("all four, untrimmed",
        "IAR Installation Path:\n /iar \n\nMessage Personality:\nm\n\n"
        "Analyser Personality:\n a \n\nCompiler Personality:\nc\n\n",
        " /iar |m| a |c 0", true);
    row("only compiler", "IAR Installation Path:\niar\n\nCompiler Personality:\nc.p_c\n\n",
        "iar|||c.p_c 1", true);
    row("empty install", "IAR Installation Path:\n\n\n", "||| 1", true);
    row("a folder", QString(), "||| 1", true);
    row("last occurrences win",
        "IAR Installation Path:\n/iar\n\nCompiler Personality:\nx\n\n"
        "Compiler Personality:\nc.p_c\n\nIAR Installation Path:\n\n",
        "|||c.p_c 1", false);
    row("key on the last line", "Message Personality:\nm\n\nMessage Personality:", "||| 1", false);
    row("value line is never a key", "Message Personality:\nCompiler Personality:\n",
        "|Compiler Personality:|| 0", false);
    row("other lines skipped, keys exact",
        "junk\n\nIAR Installation Path:\n  C:\\IAR 5 \nmessage personality:\nm\n"
        "Message Personality: \nm\n Compiler Personality:\nc\n",
        "  C:\\IAR 5 ||| 1", false);
  }

  void settings() {
    QFETCH(QString, file);
    QFETCH(bool, kept);
    QFile settings(kSettings);  // a null file is a folder: neither readable nor writable
    QVERIFY(file.isNull()
                ? QDir().mkdir(kSettings)
                : settings.open(QIODevice::WriteOnly) && settings.write(file.toUtf8()) >= 0);
    settings.close();
    wizard_ = std::make_unique<Ashlar>();
    QStringList remembered;
    for (int i : {1, 4, 5, 6})
      remembered << fields()[i]->text();
    QTEST(remembered.join('|') + (wizard_->Page1->isComplete() ? " 1" : " 0"), "remembered");
    wizard_->saveSettings();
    if (kept)
      QCOMPARE(QString::fromUtf8(readFile(kSettings)), file);
  }

  void idePathCut_data() {
    QTest::addColumn<QString>("idePath");
    QTest::addColumn<QString>("folder");
    row("file and folder dropped", "C:\\A\\B\\C\\D.exe", "C:\\A\\B");
    row("no backslash", "IDE.exe", "IDE.exe");
    row("one backslash", "C:\\IDE.exe", "C:");
    row("trailing backslash", "C:\\IAR\\bin\\", "C:\\IAR");
    row("slashes are no separators", "C:/A/B/IDE.exe", "C:/A/B/IDE.exe");
    row("empty", "", "");
  }

  void idePathCut() {
    QFETCH(QString, idePath);
    QTEST(QString::fromStdString(tessmark::iarFolderFromIdePath(idePath.toStdString())), "folder");
  }

  void browseButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("filter");  // empty: a folder dialog
    row("project", "IARProjectBrowseBtn", 0, "IAR Workspace/Projects (*.eww *.ewp)");
    row("install", "IARInstallBrowseBtn", 1, "");
    row("destination", "KvProjectBrowseBtn", 2, "");
    row("message", "MsgBrowseBtn", 4, "Msg Personalities(*.p_s)");
    row("analyser", "AnalBrowseBtn", 5, "Analiser Personalities(*.p_a)");
    row("compiler", "CmpBrowseBtn", 6, "Cmp Personalities(*.p_c)");
  }

  void browseButtons() {
    QFETCH(QString, button);
    QFETCH(int, field);
    QFETCH(QString, filter);
    const QString picked = QDir::current().absoluteFilePath(filter.isEmpty() ? "iar" : "app.ewp");
    QStringList openedAt;
    ModalWatcher watcher([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      openedAt << dialog->directory().absolutePath();
      if (openedAt.size() == 1) {
        const bool folders = dialog->fileMode() == QFileDialog::Directory;
        QCOMPARE(folders ? QString() : dialog->nameFilters().join(';'), filter);
        // Typed rather than selected: the dialog's file list fills in the background.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(picked);
        static_cast<QDialog*>(dialog)->accept();
      }
    });
    // Then two cancelled dialogs: each opens where the last one ended and changes nothing.
    auto* browse = wizard_->findChild<QPushButton*>(button);
    for (QPushButton* click : {browse, wizard_->IARInstallBrowseBtn, browse})
      click->click();
    QCOMPARE(fields()[field]->text(), QDir::toNativeSeparators(picked));
    const QString last = filter.isEmpty() ? picked : QFileInfo(picked).path();
    QCOMPARE(openedAt, QStringList({QDir::rootPath(), last, last}));
  }

  void realConversionScreenshots() {
    // The real converter, through the search path: the log must read as its own output does.
    QVERIFY(QFile::rename(standIn(), standIn() + ".hidden"));
    qputenv("PATH", TESSMARK_BIN_DIR);
    const QString workspace = EXAMPLE_DIR "/motor.eww", rules = EXAMPLE_DIR "/rules.p_a";
    QProcess direct;
    direct.start("Tessmark",
                 {workspace, "korval out", "iar", "-pn", "motor", "-ap", rules, "-ext", "c,h,s"});
    QVERIFY(direct.waitForFinished() && direct.exitCode() == 0);
    setFields(workspace + "|iar|korval out|motor||" + rules + "||s");
    wizard_->cCheck->setChecked(true);
    wizard_->hCheck->setChecked(true);
    const QDir shots(WIZARD_SCREENSHOT_DIR);
    QVERIFY(shots.mkpath(".") && QTest::qWaitForWindowExposed(wizard_.get()));
    for (int id = 0; id < 4; ++id) {
      QVERIFY(wizard_->grab().save(shots.filePath(QString("page%1.png").arg(id))));
      button(id < 3 ? QWizard::NextButton : QWizard::FinishButton)->click();
    }
    QTRY_COMPARE(button(QWizard::CancelButton)->text(), QString("Close"));
    QCOMPARE(log(), kInitialising + QString::fromLatin1(direct.readAllStandardOutput()) +
                        "Project Converted Successfully!");
    // The log is longer than its view: one picture of its end, as left, and one of its start.
    QVERIFY(wizard_->grab().save(shots.filePath("page3-log.png")));
    wizard_->DetailsText->moveCursor(QTextCursor::Start);
    QVERIFY(wizard_->grab().save(shots.filePath("page3-log-top.png")));
  }
};

QTEST_MAIN(AshlarTest)
#include "ashlar_test.moc"
