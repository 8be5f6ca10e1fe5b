#include "ashlar_base.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTextBrowser>

#include "banner_images.h"

namespace {

// The frame shared by all pages, in page coordinates. The two lines overhang the page on
// purpose: a vertical line is drawn in the middle of its frame, at x = 2 and x = 531.
const QRect kHeaderRect(0, 0, 532, 36);
const QRect kFooterRect(0, 390, 532, 20);
const QRect kLeftLineRect(-8, 36, 20, 355);
const QRect kRightLineRect(521, 36, 20, 355);
// The page area must hold the whole frame, header to footer.
const QSize kPageSize(532, 410);
const QSize kWindowSize(543, 486);

void place(QWidget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
}

QLabel* makeBanner(QWidget* page, const QPixmap& image, const QRect& geometry, const char* name) {
  auto* label = new QLabel(page);
  place(label, name, geometry);
  label->setPixmap(image);
  label->setScaledContents(true);
  return label;
}

QFrame* makeLine(QWidget* page, const QRect& geometry, const char* name) {
  auto* line = new QFrame(page);
  place(line, name, geometry);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const QRect& geometry) {
  auto* group = new QGroupBox(parent);
  place(group, name, geometry);
  return group;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* label = new QLabel(parent);
  place(label, name, geometry);
  return label;
}

QLabel* makeWrappedLabel(QWidget* parent, const char* name, const QRect& geometry) {
  QLabel* label = makeLabel(parent, name, geometry);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry) {
  auto* edit = new QLineEdit(parent);
  place(edit, name, geometry);
  return edit;
}

QPushButton* makeBrowseButton(QWidget* parent, const char* name, const QRect& geometry) {
  auto* button = new QPushButton(parent);
  place(button, name, geometry);
  button->setCheckable(false);
  QPalette palette = button->palette();
  palette.setColor(QPalette::Window, Qt::white);
  button->setPalette(palette);
  return button;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QRect& geometry) {
  auto* check = new QCheckBox(parent);
  place(check, name, geometry);
  return check;
}

AshlarPage* makePage(QWidget* wizard, const char* name) {
  auto* page = new AshlarPage(wizard);
  page->setObjectName(QString::fromLatin1(name));
  page->setMinimumSize(kPageSize);
  return page;
}

}  // namespace

void AshlarPage::setComplete(bool complete) {
  if (complete_ == complete) {
    return;
  }
  complete_ = complete;
  emit completeChanged();
}

AshlarBase::AshlarBase(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QWizard(parent, flags), image0(kHeaderXpm), image1(kFooterXpm) {
  setObjectName(QString::fromLatin1(name ? name : "AshlarBase"));
  setModal(modal);
  // The classic style shows the page area without a banner of its own, so the pages' fixed
  // frame carries the look and every widget stays where it was placed.
  setWizardStyle(QWizard::ClassicStyle);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);
  // The fixed geometry was laid out for an 8-point dialog font of Arial's metrics; wider or
  // larger defaults would clip the texts of the pages. The first family present wins.
  QFont dialogFont = font();
  dialogFont.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Arial"),
                          QStringLiteral("Liberation Sans"), dialogFont.family()});
  dialogFont.setPointSize(8);
  setFont(dialogFont);

  buildPage0();
  buildPage1();
  buildPage2();
  buildPage3();
  languageChange();
  resize(kWindowSize.expandedTo(minimumSizeHint()));
}

AshlarBase::~AshlarBase() = default;

void AshlarBase::buildPage0() {
  Page0 = makePage(this, "Page0");
  pixmapLabel3 = makeBanner(Page0, image0, kHeaderRect, "pixmapLabel3");
  pixmapLabel3_3 = makeBanner(Page0, image1, kFooterRect, "pixmapLabel3_3");
  line1 = makeLine(Page0, kLeftLineRect, "line1");
  line1_2 = makeLine(Page0, kRightLineRect, "line1_2");

  groupBox1_3 = makeGroup(Page0, "groupBox1_3", QRect(20, 40, 500, 140));
  textLabel1_3_3 = makeLabel(groupBox1_3, "textLabel1_3_3", QRect(10, 10, 461, 21));
  QFont welcomeFont = textLabel1_3_3->font();
  welcomeFont.setPointSize(12);
  textLabel1_3_3->setFont(welcomeFont);
  textLabel2_2 = makeWrappedLabel(groupBox1_3, "textLabel2_2", QRect(10, 40, 481, 90));

  groupBox1 = makeGroup(Page0, "groupBox1", QRect(20, 190, 500, 87));
  textLabel1_3 = makeLabel(groupBox1, "textLabel1_3", QRect(10, 20, 80, 20));
  IARProjectEdit = makeEdit(groupBox1, "IARProjectEdit", QRect(95, 20, 300, 25));
  IARProjectBrowseBtn = makeBrowseButton(groupBox1, "IARProjectBrowseBtn", QRect(410, 20, 75, 25));
  textLabel1_3_2 = makeLabel(groupBox1, "textLabel1_3_2", QRect(10, 55, 80, 20));
  IARInstallDirEdit = makeEdit(groupBox1, "IARInstallDirEdit", QRect(95, 55, 300, 25));
  IARInstallBrowseBtn = makeBrowseButton(groupBox1, "IARInstallBrowseBtn", QRect(410, 55, 75, 25));

  groupBox2 = makeGroup(Page0, "groupBox2", QRect(20, 290, 500, 87));
  textLabel1 = makeLabel(groupBox2, "textLabel1", QRect(10, 20, 40, 20));
  KvProjectEdit = makeEdit(groupBox2, "KvProjectEdit", QRect(95, 20, 300, 25));
  KvProjectBrowseBtn = makeBrowseButton(groupBox2, "KvProjectBrowseBtn", QRect(410, 20, 75, 25));
  textLabel1_2 = makeLabel(groupBox2, "textLabel1_2", QRect(10, 56, 40, 20));
  KvNameEdit = makeEdit(groupBox2, "KvNameEdit", QRect(95, 55, 300, 25));
  addPage(Page0);
}

void AshlarBase::buildPage1() {
  Page1 = makePage(this, "Page1");
  pixmapLabel3_2 = makeBanner(Page1, image0, kHeaderRect, "pixmapLabel3_2");
  pixmapLabel3_3_2 = makeBanner(Page1, image1, kFooterRect, "pixmapLabel3_3_2");
  line1_3 = makeLine(Page1, kLeftLineRect, "line1_3");
  line1_2_2 = makeLine(Page1, kRightLineRect, "line1_2_2");

  groupBox1_3_2 = makeGroup(Page1, "groupBox1_3_2", QRect(20, 40, 500, 100));
  textLabel2_2_2 = makeWrappedLabel(groupBox1_3_2, "textLabel2_2_2", QRect(10, 10, 481, 84));

  // Four field boxes of one shape share the room between the text block and the footer.
  groupBox1_2 = makeGroup(Page1, "groupBox1_2", QRect(20, 146, 500, 55));
  MsgPersonEdit = makeEdit(groupBox1_2, "MsgPersonEdit", QRect(10, 20, 390, 25));
  MsgBrowseBtn = makeBrowseButton(groupBox1_2, "MsgBrowseBtn", QRect(420, 20, 75, 25));

  groupBox2_2_2 = makeGroup(Page1, "groupBox2_2_2", QRect(20, 207, 500, 55));
  AnalPersonEdit = makeEdit(groupBox2_2_2, "AnalPersonEdit", QRect(10, 20, 390, 25));
  AnalBrowseBtn = makeBrowseButton(groupBox2_2_2, "AnalBrowseBtn", QRect(420, 20, 75, 25));

  groupBox2_2 = makeGroup(Page1, "groupBox2_2", QRect(20, 268, 500, 55));
  CmpPersonEdit = makeEdit(groupBox2_2, "CmpPersonEdit", QRect(10, 20, 390, 25));
  CmpBrowseBtn = makeBrowseButton(groupBox2_2, "CmpBrowseBtn", QRect(420, 20, 75, 25));

  // The label takes the left of the field, whose right end and button line up with those above.
  groupBoxVarFile = makeGroup(Page1, "groupBoxVarFile", QRect(20, 329, 500, 55));
  textLabelVarFile = makeLabel(groupBoxVarFile, "textLabelVarFile", QRect(10, 20, 75, 25));
  VarFileEdit = makeEdit(groupBoxVarFile, "VarFileEdit", QRect(90, 20, 310, 25));
  VarFileBrowseBtn = makeBrowseButton(groupBoxVarFile, "VarFileBrowseBtn", QRect(420, 20, 75, 25));
  addPage(Page1);
}

void AshlarBase::buildPage2() {
  Page2 = makePage(this, "Page2");
  pixmapLabel3_2_2 = makeBanner(Page2, image0, kHeaderRect, "pixmapLabel3_2_2");
  pixmapLabel3_3_2_2 = makeBanner(Page2, image1, kFooterRect, "pixmapLabel3_3_2_2");
  line1_3_2 = makeLine(Page2, kLeftLineRect, "line1_3_2");
  line1_2_2_2 = makeLine(Page2, kRightLineRect, "line1_2_2_2");

  groupBox1_3_2_2 = makeGroup(Page2, "groupBox1_3_2_2", QRect(20, 40, 500, 100));
  textLabel2_2_2_2 = makeWrappedLabel(groupBox1_3_2_2, "textLabel2_2_2_2", QRect(10, 14, 481, 70));

  groupBox7 = makeGroup(Page2, "groupBox7", QRect(60, 160, 420, 160));
  cppCheck = makeCheck(groupBox7, "cppCheck", QRect(40, 35, 50, 20));
  ccCheck = makeCheck(groupBox7, "ccCheck", QRect(120, 35, 50, 20));
  cxxCheck = makeCheck(groupBox7, "cxxCheck", QRect(190, 35, 50, 20));
  cCheck = makeCheck(groupBox7, "cCheck", QRect(260, 35, 50, 20));
  hCheck = makeCheck(groupBox7, "hCheck", QRect(40, 75, 50, 20));
  hhCheck = makeCheck(groupBox7, "hhCheck", QRect(120, 75, 50, 20));
  hppCheck = makeCheck(groupBox7, "hppCheck", QRect(190, 75, 50, 20));
  hxxCheck = makeCheck(groupBox7, "hxxCheck", QRect(260, 75, 50, 20));
  textLabel2 = makeLabel(groupBox7, "textLabel2", QRect(50, 116, 100, 20));
  CustExtEdit = makeEdit(groupBox7, "CustExtEdit", QRect(160, 115, 144, 25));
  addPage(Page2);
}

void AshlarBase::buildPage3() {
  Page3 = makePage(this, "Page3");
  pixmapLabel3_2_2_2 = makeBanner(Page3, image0, kHeaderRect, "pixmapLabel3_2_2_2");
  pixmapLabel3_3_2_2_2 = makeBanner(Page3, image1, kFooterRect, "pixmapLabel3_3_2_2_2");
  line1_3_2_2 = makeLine(Page3, kLeftLineRect, "line1_3_2_2");
  line1_2_2_2_2 = makeLine(Page3, kRightLineRect, "line1_2_2_2_2");

  DetailsText = new QTextBrowser(Page3);
  place(DetailsText, "DetailsText", QRect(15, 40, 505, 340));
  DetailsText->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  addPage(Page3);
}

void AshlarBase::languageChange() {
  setWindowTitle(tr("Orrindale 1.2"));
  for (QWizardPage* page : {Page0, Page1, Page2, Page3}) {
    page->setTitle(QString());
  }

  textLabel1_3_3->setText(tr("Welcome to the Veltrace :: Orrindale"));
  textLabel2_2->setText(
      tr("This wizard will take you through the steps required to convert your IAR Workbench "
         "workspace/project file to a Korval/Korval++ project. \nSelect the workspace/project "
         "(.eww/.ewp) that you wish to convert and the top level installation directory of IAR "
         "(ie C:\\Program Files\\IARsystems\\embedded workbench 5.n)\nYou also need to specify "
         "the folder into which the Korval/Korval++ project will be created.  \nThe "
         "Korval/Korval++ project will be named according to the name specified."));
  groupBox1->setTitle(tr("IAR Workbench"));
  textLabel1_3->setText(tr(".eww / .ewp"));
  IARProjectEdit->setToolTip(tr("Path to the eww / .ewp workspace/project file"));
  IARProjectBrowseBtn->setText(tr("Browse"));
  textLabel1_3_2->setText(tr("Install Location"));
  IARInstallDirEdit->setToolTip(tr("Location of IAR Workbench install directory."));
  IARInstallBrowseBtn->setText(tr("Browse"));
  groupBox2->setTitle(tr("Korval / Korval++ Project"));
  textLabel1->setText(tr("Folder"));
  KvProjectEdit->setToolTip(tr("Destination folder for the Korval/Korval++ project."));
  KvProjectBrowseBtn->setText(tr("Browse"));
  textLabel1_2->setText(tr("Name"));
  KvNameEdit->setToolTip(tr("Name of the Korval/Korval++ project."));

  textLabel2_2_2->setText(
      tr("Select the message personality and compiler personality to be used by the Korval / "
         "Korval++ \nproject.  \n\nSelect a template analyser personality to use e.g. MISRA, "
         "HICPP, JSF.\n\nIf you do not select a personality, an empty default personality will "
         "be used."));
  groupBox1_2->setTitle(tr("Message Personality"));
  MsgPersonEdit->setToolTip(tr("Path to the message personality to use for the project."));
  MsgBrowseBtn->setText(tr("Browse"));
  groupBox2_2_2->setTitle(tr("Template Analyser Personality"));
  AnalPersonEdit->setToolTip(
      tr("Path to the template analyser personality to use for the project."));
  AnalBrowseBtn->setText(tr("Browse"));
  groupBox2_2->setTitle(tr("Compiler Personality"));
  CmpPersonEdit->setToolTip(tr("Path to the compiler personality to use for the project."));
  CmpBrowseBtn->setText(tr("Browse"));
  groupBoxVarFile->setTitle(tr("Custom Argument Variables"));
  textLabelVarFile->setText(tr("Variable File"));
  VarFileEdit->setToolTip(
      tr("Path to a file of custom argument variables that the IAR project files use."));
  VarFileBrowseBtn->setText(tr("Browse"));

  textLabel2_2_2_2->setText(
      tr("Specify which file extensions should be searched for in the IAR Worbench project.\n"
         "These files will be added into the Korval/Korval++ project.  \n\nYou can add custom "
         "extensions as a comma seperated list of extensions e.g res,xml"));
  groupBox7->setTitle(tr("File Extensions"));
  cppCheck->setText(tr("*.cpp"));
  ccCheck->setText(tr("*.cc"));
  cxxCheck->setText(tr("*.cxx"));
  cCheck->setText(tr("*.c"));
  hCheck->setText(tr("*.h"));
  hhCheck->setText(tr("*.hh"));
  hppCheck->setText(tr("*.hpp"));
  hxxCheck->setText(tr("*.hxx"));
  textLabel2->setText(tr("Custom Extensions"));
  CustExtEdit->setToolTip(tr("Custom extensions list to add files of this type to the project."));

  DetailsText->setPlainText(
      tr("IAR Workbench Project:\n\n\nKorval/Korval++ Project Directory:\n\n\nKorval++ Project "
         "Name:\n\n\nMessage Personality:\n\n\nTemplate Analyser Personality:\n\n\nCompiler "
         "Personality:\n\n\nVariable File:\n\n\nExtensions:"));
}
