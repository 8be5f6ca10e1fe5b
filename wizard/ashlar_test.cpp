// Drives the real wizard offscreen, each test in a fresh temporary current directory holding the
// files and folders that the tables name; it is also HOME, and XDG_CONFIG_HOME is its folder xdg.
// The converter is a stand-in script, written beside this program where the wizard looks first (as
// an installed wizard finds the converter beside it); the search path is cleared, so it is never
// used. Rows give the fields in the order of the pages (project, install, destination, name, three
// personalities, variable file, custom extensions) as "a|b|...". The tables hold the wizard's
// POSIX behaviour. One test runs the real converter, checks what every page says and saves
// screenshots of the pages.
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

#include "ashlar.h"

namespace {

const QString kSettings = QStringLiteral("settings.txt");
const QString kConfig = QStringLiteral("xdg/tessmark/settings.txt");  // XDG_CONFIG_HOME is xdg
// Where a conversion saves them: a relative XDG_CONFIG_HOME counts as unset (HOME is the test's).
const QString kSaved = QStringLiteral(".config/tessmark/settings.txt");
const QString kInitialising = QStringLiteral("Initialising Project Conversion ...\n");
// The stand-in converter writes its arguments, joined by '|', to the file "arguments" in its
// working directory, then runs the shell commands in TESSMARK_FAKE (the wizard passes it on),
// where "say TEXT" prints TEXT (a printf format) and pauses, so the wizard reads it in pieces.
const char kStandIn[] = R"(#!/bin/sh
(IFS='|'; printf %s "$*" >arguments)
say() { printf "$1"; sleep .05; }
PATH=/usr/bin:/bin eval "$TESSMARK_FAKE"
)";

bool writeFile(const QString& path, const QByteArray& data = {}, bool program = false) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() &&
         (!program || file.setPermissions(file.permissions() | QFile::ExeOwner));
}

QString readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

// Starts the current test's table: one column of each type, named in order.
template <typename... Types>
void columns(std::initializer_list<const char*> names) {
  auto name = names.begin();
  (QTest::addColumn<Types>(*name++), ...);
}

// Adds one row to the current test's table.
template <typename... Values>
void row(const char* tag, const Values&... values) {
  (QTest::newRow(tag) << ... << values);
}

// Hands every modal window that shows up (file dialog, message box) to the handler from inside
// its event loop, then closes it, so that none can block a test.
struct ModalWatcher : QTimer {
  explicit ModalWatcher(const std::function<void(QWidget*)>& handler) {
    callOnTimeout([handler] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
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

  const QString standIn_ = QCoreApplication::applicationDirPath() + "/Tessmark";
  std::unique_ptr<QTemporaryDir> work_;
  std::unique_ptr<Ashlar> wizard_;

  QAbstractButton* button(QWizard::WizardButton which) const { return wizard_->button(which); }
  QString log() const { return wizard_->DetailsText->toPlainText(); }
  QList<QLineEdit*> fields() const { return wizard_->findChildren<QLineEdit*>(); }
  void setFields(const QString& row, bool signal = true) {
    for (int i = 0; i <= row.count('|'); ++i) {
      const QSignalBlocker blocker(signal ? nullptr : fields()[i]);
      fields()[i]->setText(row.section('|', i, i));
    }
  }
  // Clicks Next up to the last page, then Finish unless told not to: one run, which disables
  // Finish and leaves Back open for the next one.
  void finish(bool click = true) {
    for (; wizard_->currentId() < 3; button(QWizard::NextButton)->click())
      QVERIFY2(button(QWizard::NextButton)->isEnabled(), "Next disabled");
    QAbstractButton* finish = button(QWizard::FinishButton);
    if (click)
      finish->click();
    QVERIFY(finish->isEnabled() != click && button(QWizard::BackButton)->isEnabled());
  }

 private slots:
  void init() {
    qputenv("PATH", "");
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(work_->path()) && QDir().mkpath("iar") && QDir().mkpath("korval out"));
    qputenv("HOME", work_->path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (work_->path() + "/xdg").toLocal8Bit());
    for (const char* file : {"app.ewp", "m s.p_s", "a.p_a", "c.p_c", "v.custom_argvars"})
      QVERIFY(writeFile(file));
    QVERIFY(writeFile(standIn_, kStandIn, true));
    wizard_ = std::make_unique<Ashlar>();
    wizard_->show();
    QVERIFY(!button(QWizard::NextButton)->isEnabled());  // all fields start empty
    for (int i : {0, 2})  // and the paths of the first page are checked at once
      QCOMPARE(fields()[i]->palette().color(QPalette::Text), QColor(Qt::red));
  }

  void pageChecks_data() {
    columns<QString, QString>({"row", "shown"});  // shown: Next on Page0 and Page1, path colours
    row("all there", "app.ewp|iar|korval out|app|m s.p_s|a.p_a|c.p_c|v.custom_argvars",
        "11bbbbbbb");
    row("project missing", "x|iar|korval out|app||||", "01rbbrrrr");
    row("install missing", "app.ewp|x|korval out|app||||", "01brbrrrr");
    row("install empty", "app.ewp||korval out|app||||", "11bbbrrrr");  // no registry on POSIX
    row("destination missing", "app.ewp|iar|x|app||||", "01bbrrrrr");
    row("project a folder, destination a file", "iar|iar|app.ewp|app||||", "11bbbrrrr");
    row("empty name", "app.ewp|iar|korval out|||||", "01bbbrrrr");
    row("name of one space", "app.ewp|iar|korval out| ||||", "11bbbrrrr");
    row("empty paths", "|||app||||", "01rbrrrrr");
    row("message missing, compiler there", "||||x||c.p_c|", "00rbrrrbr");
    row("analyser missing alone", "|||||x||", "00rbrrrrr");
    row("message there", "||||m s.p_s|||", "01rbrbrrr");
    row("variable file missing alone", "|||||||x", "00rbrrrrr");
    row("variable file there", "||||||c.p_c|v.custom_argvars", "01rbrrrbb");
  }

  void pageChecks() {
    setFields("x|x|x|x|x|x|x|x");  // all red first: an empty personality keeps its colour
    // Set unnoticed: a key release must re-check its page, as when a file appears meanwhile.
    QFETCH(QString, row);
    setFields(row, false);
    QTest::keyRelease(wizard_->KvNameEdit, Qt::Key_Shift);
    QTest::keyRelease(wizard_->VarFileEdit, Qt::Key_Shift);
    QString shown =
        QString("%1%2").arg(wizard_->Page0->isComplete()).arg(wizard_->Page1->isComplete());
    for (int i : {0, 1, 2, 4, 5, 6, 7}) {
      const QColor colour = fields()[i]->palette().color(QPalette::Text);
      shown += colour == Qt::red ? 'r' : colour == Qt::black ? 'b' : '?';
    }
    QTEST(shown, "shown");
  }

  void conversion_data() {
    // The IAR folder, the personalities, variable file, custom extensions and extension boxes
    // checked (by their texts); the command line after the name; what the converter does (null:
    // there is none); how Cancel's question is answered when Cancel is pressed during the run
    // ("": it is not; "No" and "Yes, late" once the run has ended); the log, then the message
    // boxes (icon, caption, text), Cancel's text and whether settings were saved.
    columns<QString, QString, QByteArray, QString, QString>(
        {"fields", "options", "fake", "cancel", "shown"});
    const QByteArray silent("");  // prints nothing and exits with 0
    const QString done = "Project Converted Successfully!|Close, saved";
    const QString question =
        "Question Orrindale: The project conversion is still running.\nDo you want to stop it?\n";
    const QString failed =
        "NoIcon Orrindale: Project Conversion Failed!\nPlease check the details log and try "
        "again.\n";
    // Goes on only once Cancel's question is answered.
    const QByteArray waits("say 'one\n'; until [ -e answered ]; do sleep .05; done; echo two");
    row("nothing optional, not even the IAR folder", "||||||", "", silent, "", done);
    row("everything", "iar|m s.p_s|a.p_a|c.p_c|v.custom_argvars|res,xml|cpp cc cxx c h hh hpp hxx",
        "|-mp|m s.p_s|-ap|a.p_a|-cp|c.p_c|-varfile|v.custom_argvars|-ext|cpp,cc,cxx,c,h,hh,hpp,hxx,"
        "res,xml",
        QByteArray("say 'one\r'; say '\n tw'; say 'o caf\xe9 <b>&amp;</b>\r\n\n'; printf three"),
        "", "one\n two caf\u00e9 <b>&amp;</b>\n\nthree\n" + done);
    row("only compiler, failure", "iar|||c.p_c|||", "|-cp|c.p_c",
        QByteArray("echo Could not open file: app.ewp; exit 1"), "",
        "Could not open file: app.ewp\n|" + failed + "Cancel, saved");
    row("variable file, status 3 a failure", "iar||||v.custom_argvars||",
        "|-varfile|v.custom_argvars", QByteArray("exit 3"), "", "|" + failed + "Cancel, saved");
    const char unread[] =  // a converter's report of a project file not read to its end
        "IAR Project file parsing encountered unexpected EOF\n  in app.ewp, line 3\n"
        "Korval/Korval++ Project Completed!\n"
        "Warning: 1 of 1 project files were not read to their end.\n";
    const QString warned =  // the verdict, the warning box, Close
        "Project Converted With Warnings!|Warning Orrindale: Project Converted With "
        "Warnings!\nThe Korval/Korval++ project was created, but not every IAR project file "
        "could be read to its end, so some files or settings may be missing from it.\n\nIn the "
        "details log, the line starting \"Warning:\" says how many project files are affected. "
        "Each line starting \"IAR Project file parsing encountered\" reports a problem, and the "
        "line below it starting \"in\" names the file and the line where it was found. A line "
        "starting \"Could not open file:\" names a file that could not be read at all.\nClose, "
        "saved";
    row("not read to the end, warnings", "iar||||||", "",
        "printf '" + QByteArray(unread) + "'; exit 2", "", unread + warned);
    row("message, analyser, crash", "iar|m s.p_s|a.p_a||||h cpp",
        "|-mp|m s.p_s|-ap|a.p_a|-ext|cpp,h",
        QByteArray("say 'one\nhalf a li'; printf ne; kill -ABRT $$"), "",
        "one\nhalf a line|Cancel, saved");
    row("c and custom, cancelled", "iar|||||res,xml|c", "|-ext|c,res,xml",
        QByteArray("printf 'one\nhalf'; exec sleep 20"), "Yes",
        "one\nhalf\nProject Conversion Cancelled.|" + question + "Cancel");
    row("not cancelled", "iar||||||", "", waits, "No",
        "one\ntwo\nProject Converted Successfully!|" + question + "Close, saved");
    row("cancelled too late, failure", "iar||||||", "", waits + "; exit 1", "Yes, late",
        "one\ntwo\n|" + question + failed + "Cancel, saved");
    row("custom, one comma", "iar|||||res,|", "|-ext|res", silent, "", done);
    row("custom, two commas", "iar|||||res,,|", "|-ext|res,", silent, "", done);
    row("list order, not page order", "iar||||||hxx cc hh", "|-ext|cc,hh,hxx", silent, "", done);
    row("custom as typed", "iar||||| .s, asm|cpp", "|-ext|cpp, .s, asm", silent, "", done);
    row("converter missing, arguments of the first run", "iar|||||first|", "|-ext|first",
        QByteArray(), "",
        "Project Conversion could not be executed: Please ensure Tessmark.exe is set on the "
        "path.\n|Cancel");
  }

  void conversion() {
    QFETCH(QString, fields);
    QFETCH(QString, options);
    QFETCH(QByteArray, fake);
    QFETCH(QString, cancel);
    QFETCH(QString, shown);
    const auto ended = [&] {
      for (QProcess* run : wizard_->findChildren<QProcess*>())
        if (run->state() != QProcess::NotRunning)
          return false;
      return true;
    };
    QString box;
    ModalWatcher watcher([&](QWidget* modal) {
      auto* message = qobject_cast<QMessageBox*>(modal);
      QVERIFY2(message && !QFile::exists(kSaved), "settings are saved after the box");
      box += QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(message->icon()) +
             (" " + message->windowTitle()) + ": " + message->text() + "\n";
      if (cancel != "Yes" && message->button(QMessageBox::Yes)) {
        QVERIFY(writeFile("answered"));  // the run goes on to its end
        QTRY_VERIFY(ended());
      }
      if (QAbstractButton* answer =
              message->button(cancel.startsWith("Yes") ? QMessageBox::Yes : QMessageBox::No))
        answer->click();
    });
    // Every field is one argument as typed; the file lands in the child's working directory. A
    // settings.txt of the user's own there is never touched.
    QVERIFY(writeFile(kSettings, "my notes") && qputenv("XDG_CONFIG_HOME", "xdg"));
    const auto seen = [&] {
      return log() + "|" + box + button(QWizard::CancelButton)->text() +
             (QFile::exists(kSaved) ? ", saved|" : "|") + readFile("arguments") +
             readFile(kSettings);
    };
    // A first visit of Page2 and a first run, still going when Back, Next and Finish start the
    // second: neither the first list nor the first run's unfinished line reach the second run.
    const QString install = fields.section('|', 0, 0);
    setFields("app.ewp|" + install + "|korval out| my app |" + fields.section('|', 1, 4) +
              "|first");
    qputenv("TESSMARK_FAKE", "printf 'first run\nhalf'; exec sleep 20");
    finish();
    QTRY_COMPARE(log(), kInitialising + "first run\n");
    button(QWizard::BackButton)->click();
    wizard_->CustExtEdit->setText(fields.section('|', 5, 5));
    for (QCheckBox* box : wizard_->findChildren<QCheckBox*>())  // "*.cpp" and so on
      box->setChecked(fields.section('|', 6).split(' ').contains(box->text().mid(2)));
    finish(false);
    const QStringList person = fields.split('|');
    QCOMPARE(log(),
             QStringLiteral("IAR Workbench Project:\napp.ewp\n\nKorval / Korval++ Project "
                            "Directory:\nkorval out\n\nKorval / Korval++ Project Name:\n my "
                            "app \n\nMessage Personality:\n%1\n\nTamplate Analyser "
                            "Personality:\n%2\n\nCompiler Personality:\n%3\n\nVariable "
                            "File:\n%4\n\nFile Extensions:\n%5\n")
                 .arg(person[1], person[2], person[3], person[4], options.section("|-ext|", 1)));
    qputenv("TESSMARK_FAKE", fake);
    QVERIFY(!fake.isNull() || QFile::remove(standIn_));  // null: no converter at all
    finish();
    if (!cancel.isEmpty()) {  // once the run's first line is in the log; the wizard stays open
      QTRY_VERIFY(log() != kInitialising);
      button(QWizard::CancelButton)->click();
      QVERIFY(wizard_->isVisible());
    }
    shown = kInitialising + shown + "|app.ewp|korval out|" + install + "|-pn| my app " + options +
            "my notes";
    QTRY_COMPARE(seen(), shown);
    // Cancel or Close with no run under way closes the wizard; nothing more arrives.
    button(QWizard::CancelButton)->click();
    QTRY_VERIFY(ended());
    QCOMPARE(seen() + (wizard_->isVisible() ? " and open" : ""), shown);
  }

  void settings_data() {
    // The files made first, as pairs of a path and a text; the install, personality and variable
    // file fields, then Next on Page1; then, after saving, what settings.txt holds in the current
    // and in the configuration folder: the number of the row's text, 0 for another text, - for
    // none.
    columns<QStringList, QString>({"files", "remembered"});
    const QString install = "IAR Installation Path:\n", message = "Message Personality:\n",
                  analyser = "Analyser Personality:\n", compiler = "Compiler Personality:\n",
                  variables = "Variable File:\n";
    const auto saved = [](const QString& text) { return QStringList{kConfig, text}; };
    const auto old = [](const QString& text) { return QStringList{kSettings, text}; };
    row("all five, untrimmed",
        saved(install + " /iar \n\n" + message + "m\n\n" + analyser + " a \n\n" + compiler +
              "c\n\n" + variables + " v \n\n"),
        " /iar |m| a |c| v |0 - 1");
    row("only compiler, empty install", saved(install + "\n\n" + compiler + "c.p_c\n\n"),
        "|||c.p_c||1 - 1");
    row("only the variable file", saved(install + "\n\n" + variables + "v.custom_argvars\n\n"),
        "||||v.custom_argvars|1 - 1");
    row("last occurrences win",
        saved(install + "/iar\n\n" + compiler + "x\n\n" + compiler + "c.p_c\n\n" + install + "\n"),
        "|||c.p_c||1 - 0");
    row("key on the last line", saved(message + "m\n\nMessage Personality:"), "|||||1 - 0");
    row("value line is never a key", saved(message + compiler), "|Compiler Personality:||||0 - 0");
    row("other lines skipped, keys exact",
        saved("junk\n\n" + install +
              "  C:\\IAR 5 \nmessage personality:\nm\nMessage Personality: \nm\n " + compiler +
              "c\n"),
        "  C:\\IAR 5 |||||1 - 0");
    // The current directory's file of earlier versions is read only while the new one is missing,
    // and never written. A settings.txt that is a folder can be neither read nor written.
    row("a folder, old file kept", old("notes") + QStringList{kConfig + "/x", ""}, "|||||1 1 -");
    row("old file carried over", old(install + "iar\n\n"), "iar|||||1 1 1");
    row("old file passed over", old(install + "iar\n\n") + saved(message + "m\n\n"), "|m||||0 1 0");
  }

  void settings() {
    QFETCH(QStringList, files);
    for (int i = 0; i < files.size(); i += 2)
      QVERIFY(QDir().mkpath(QFileInfo(files[i]).path()) &&
              writeFile(files[i], files[i + 1].toLocal8Bit()));
    wizard_ = std::make_unique<Ashlar>();
    QString remembered;
    for (int i : {1, 4, 5, 6, 7})
      remembered += fields()[i]->text() + '|';
    remembered += QString::number(wizard_->Page1->isComplete());
    wizard_->saveSettings();
    for (const QString& path : {kSettings, kConfig}) {
      const int text = (files.indexOf(readFile(path)) + 1) / 2;
      remembered += QFileInfo(path).isFile() ? QString(" %1").arg(text) : " -";
    }
    QTEST(remembered, "remembered");
  }

  void browseButtons_data() {
    columns<QString, int, QString>({"button", "field", "filter"});  // filter "": folder dialog
    row("project", "IARProjectBrowseBtn", 0, "IAR Workspace/Projects (*.eww *.ewp)");
    row("install", "IARInstallBrowseBtn", 1, "");
    row("destination", "KvProjectBrowseBtn", 2, "");
    row("message", "MsgBrowseBtn", 4, "Msg Personalities(*.p_s)");
    row("analyser", "AnalBrowseBtn", 5, "Analiser Personalities(*.p_a)");
    row("compiler", "CmpBrowseBtn", 6, "Cmp Personalities(*.p_c)");
    row("variable file", "VarFileBrowseBtn", 7, "Argument Variable Files (*.custom_argvars)");
  }

  void browseButtons() {
    QFETCH(QString, button);
    QFETCH(int, field);
    QFETCH(QString, filter);
    const QString picked = QDir::current().absoluteFilePath(filter.isEmpty() ? "iar" : "app.ewp");
    QStringList opened;  // where each dialog opened, and its filter; then the field
    ModalWatcher watcher([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      const bool folders = dialog->fileMode() == QFileDialog::Directory;
      opened << dialog->directory().absolutePath() + " " +
                    (folders ? QString() : dialog->nameFilters().join(';'));
      if (opened.size() == 1) {
        // Typed rather than selected: the dialog's file list fills in the background.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(picked);
        static_cast<QDialog*>(dialog)->accept();
      }
    });
    // Then two cancelled dialogs: each opens where the last one ended and changes nothing.
    auto* browse = wizard_->findChild<QPushButton*>(button);
    for (QPushButton* click : {browse, wizard_->IARInstallBrowseBtn, browse})
      click->click();
    const QString last = filter.isEmpty() ? picked : QFileInfo(picked).path();
    QCOMPARE(opened << fields()[field]->text(),
             QStringList({QDir::rootPath() + " " + filter, last + " ", last + " " + filter,
                          QDir::toNativeSeparators(picked)}));
  }

  void realConversionScreenshots() {
    // The real converter, through the search path: the log must read as its own output does.
    QVERIFY(QFile::remove(standIn_));
    qputenv("PATH", TESSMARK_BIN_DIR);
    const QString workspace = EXAMPLE_DIR "/motor.eww", rules = EXAMPLE_DIR "/rules.p_a";
    QProcess direct;
    // No IAR folder, as usual on POSIX.
    direct.start("Tessmark",
                 {workspace, "korval out", "", "-pn", "motor", "-ap", rules, "-ext", "c,h,s"});
    QVERIFY(direct.waitForFinished() && direct.exitCode() == 0);
    setFields(workspace + "||korval out|motor||" + rules + "|||s");
    for (QCheckBox* box : {wizard_->cCheck, wizard_->hCheck})
      box->setChecked(true);
    const QDir shots(WIZARD_SCREENSHOT_DIR);
    QVERIFY(shots.mkpath(".") && QTest::qWaitForWindowExposed(wizard_.get()));
    // Every page shows the pictures and lines of the first. Every other label, every button,
    // every field and every group box holding a field says what it is for.
    QStringList pictures(4);  // a line counts as a picture of its own
    for (int id = 0; id < 4; ++id) {
      for (QWidget* widget : wizard_->currentPage()->findChildren<QWidget*>()) {
        const QPixmap picture = widget->property("pixmap").value<QPixmap>();
        const bool group = qobject_cast<QGroupBox*>(widget);
        const char* says = qobject_cast<QLineEdit*>(widget) ? "toolTip" : group ? "title" : "text";
        if (!picture.isNull() || widget->property("frameShape").toInt() == QFrame::VLine)
          pictures[id] += QString::number(picture.cacheKey()) + ' ';
        else if (!group || widget->findChild<QLineEdit*>())  // a box without a field needs no title
          QVERIFY2(widget->property(says) != QString(), qPrintable(widget->objectName()));
      }
      QVERIFY(wizard_->grab().save(shots.filePath(QString("page%1.png").arg(id))));
      button(id < 3 ? QWizard::NextButton : QWizard::FinishButton)->click();
    }
    QCOMPARE(pictures, QStringList(4, pictures[0]));
    // Neither the wizard nor its look alone, as built by default, blocks other windows.
    QVERIFY(!wizard_->isModal() && !AshlarBase().isModal());
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
