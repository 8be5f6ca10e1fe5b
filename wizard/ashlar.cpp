// Ashlar: construction, the live path checks of Page0 and Page1, and the browse buttons.
#include "ashlar.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include <initializer_list>

namespace {

// On Windows an empty IAR folder would stand for the registry's, so the field must name one. On
// POSIX there is no registry and usually no IAR installation: the converter runs with an empty
// folder, and only a folder that is named must exist.
#ifdef _WIN32
constexpr bool kIARFolderMayBeEmpty = false;
#else
constexpr bool kIARFolderMayBeEmpty = true;
#endif

void setTextColour(QLineEdit* field, const QColor& colour) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, colour);
  field->setPalette(palette);
}

// Colours the field black when it is accepted, red otherwise.
bool markAccepted(QLineEdit* field, bool accepted) {
  setTextColour(field, accepted ? QColor(0, 0, 0) : QColor(255, 0, 0));
  return accepted;
}

// Colours the field black when its text names an existing file or folder, red otherwise.
bool markExistence(QLineEdit* field) {
  return markAccepted(field, QFileInfo::exists(field->text()));
}

template <typename Fields>
bool isOneOf(const QObject* object, const Fields& fields) {
  for (const QLineEdit* field : fields) {
    if (object == field) {
      return true;
    }
  }
  return false;
}

}  // namespace

Ashlar::Ashlar(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : AshlarBase(parent, name, modal, flags), converterProcess(nullptr) {
  Page0->setComplete(false);
  Page3->setComplete(false);  // Finish waits for the summary built when leaving Page2.
  setOption(QWizard::HaveHelpButton, false);
  connectSignals();

  const QString installDir = readIARInstallDir();
  IARInstallDirEdit->setText(installDir);
  // setText() of an unchanged text emits nothing, and the fields need their first check.
  Page0LineEdit_textchanged(installDir);

  for (QWizard::WizardButton which :
       {QWizard::BackButton, QWizard::NextButton, QWizard::CancelButton, QWizard::FinishButton}) {
    QAbstractButton* wizardButton = button(which);
    QPalette palette = wizardButton->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    wizardButton->setPalette(palette);
  }

  // Dialogs first open at the root of the file system.
  lastBrowsePath = QDir::toNativeSeparators(QStringLiteral("/"));
  loadSettings();
}

Ashlar::~Ashlar() {
  // The process objects are deleted after this part of the wizard is gone; one that ends during
  // that deletion must not reach the slots any more.
  for (QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
    process->disconnect(this);
  }
}

std::array<QLineEdit*, 4> Ashlar::page0Fields() const {
  return {IARInstallDirEdit, IARProjectEdit, KvProjectEdit, KvNameEdit};
}

std::array<QLineEdit*, 4> Ashlar::page1Fields() const {
  return {MsgPersonEdit, AnalPersonEdit, CmpPersonEdit, VarFileEdit};
}

void Ashlar::connectSignals() {
  connect(IARInstallBrowseBtn, &QPushButton::clicked, this, &Ashlar::IARInstallBrowseBtn_clicked);
  connect(IARProjectBrowseBtn, &QPushButton::clicked, this, &Ashlar::IARProjectBrowseBtn_clicked);
  connect(KvProjectBrowseBtn, &QPushButton::clicked, this, &Ashlar::KvProjectBrowseBtn_clicked);
  for (QLineEdit* field : page0Fields()) {
    connect(field, &QLineEdit::textChanged, this, &Ashlar::Page0LineEdit_textchanged);
    field->installEventFilter(this);
  }
  for (QLineEdit* field : page1Fields()) {
    connect(field, &QLineEdit::textChanged, this, &Ashlar::Page1LineEdit_textchanged);
    field->installEventFilter(this);
  }
  connect(MsgBrowseBtn, &QPushButton::clicked, this, &Ashlar::MsgBrowseBtn_clicked);
  connect(AnalBrowseBtn, &QPushButton::clicked, this, &Ashlar::AnalBrowseBtn_clicked);
  connect(CmpBrowseBtn, &QPushButton::clicked, this, &Ashlar::CmpBrowseBtn_clicked);
  connect(VarFileBrowseBtn, &QPushButton::clicked, this, &Ashlar::VarFileBrowseBtn_clicked);

  // QWizard::next() is not virtual: the Next button is rewired so that it reaches next() here.
  QAbstractButton* nextButton = button(QWizard::NextButton);
  nextButton->disconnect(this);
  connect(nextButton, &QAbstractButton::clicked, this, &Ashlar::next);
}

void Ashlar::Page0LineEdit_textchanged(const QString&) {
  const QString installDir = IARInstallDirEdit->text();
  bool pathsAccepted =
      markAccepted(IARInstallDirEdit,
                   (kIARFolderMayBeEmpty && installDir.isEmpty()) || QFileInfo::exists(installDir));
  for (QLineEdit* field : {IARProjectEdit, KvProjectEdit}) {
    pathsAccepted = markExistence(field) && pathsAccepted;
  }
  // Any name counts, even one of spaces only.
  Page0->setComplete(pathsAccepted && !KvNameEdit->text().isEmpty());
}

void Ashlar::Page1LineEdit_textchanged(const QString&) {
  // Personalities and the variable file are optional: an empty field is no error and keeps its
  // colour.
  bool pathsExist = true;
  for (QLineEdit* field : page1Fields()) {
    if (!field->text().isEmpty()) {
      pathsExist = markExistence(field) && pathsExist;
    }
  }
  Page1->setComplete(pathsExist);
}

bool Ashlar::eventFilter(QObject* watched, QEvent* event) {
  // A key release re-checks the page, so a file created meanwhile is noticed on the next key.
  if (event->type() == QEvent::KeyRelease) {
    if (isOneOf(watched, page0Fields())) {
      Page0LineEdit_textchanged(QString());
      return false;
    }
    if (isOneOf(watched, page1Fields())) {
      Page1LineEdit_textchanged(QString());
      return false;
    }
  }
  return AshlarBase::eventFilter(watched, event);
}

void Ashlar::browse(QLineEdit* field, DialogKind kind, const QString& caption,
                    const QString& filter) {
  QFileDialog dialog(this, caption, lastBrowsePath, filter);
  if (kind == DialogKind::kOpenFile) {
    dialog.setObjectName(QStringLiteral("open file dialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setObjectName(QStringLiteral("get existing directory"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
  }
  QString chosen;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  }
  if (chosen.isEmpty()) {
    return;  // Cancelled: field and start folder stay as they were.
  }
  lastBrowsePath = chosen;
  field->setText(chosen);
}

void Ashlar::IARInstallBrowseBtn_clicked() {
  browse(IARInstallDirEdit, DialogKind::kExistingFolder,
         tr("Specify the IAR Installation Directory"), QString());
}

void Ashlar::IARProjectBrowseBtn_clicked() {
  browse(IARProjectEdit, DialogKind::kOpenFile, tr("Select an IAR Workbench Workspace/Project"),
         tr("IAR Workspace/Projects (*.eww *.ewp)"));
}

void Ashlar::KvProjectBrowseBtn_clicked() {
  browse(KvProjectEdit, DialogKind::kExistingFolder,
         tr("Select the Korval/Korval++ Project Destination Directory"), QString());
}

void Ashlar::MsgBrowseBtn_clicked() {
  browse(MsgPersonEdit, DialogKind::kOpenFile, tr("Select a Message Personality"),
         tr("Msg Personalities(*.p_s)"));
}

void Ashlar::AnalBrowseBtn_clicked() {
  browse(AnalPersonEdit, DialogKind::kOpenFile, tr("Select a Template Analyser Personality"),
         tr("Analiser Personalities(*.p_a)"));
}

void Ashlar::CmpBrowseBtn_clicked() {
  browse(CmpPersonEdit, DialogKind::kOpenFile, tr("Select a Compiler Personality"),
         tr("Cmp Personalities(*.p_c)"));
}

void Ashlar::VarFileBrowseBtn_clicked() {
  browse(VarFileEdit, DialogKind::kOpenFile, tr("Select a Custom Argument Variable File"),
         tr("Argument Variable Files (*.custom_argvars)"));
}
