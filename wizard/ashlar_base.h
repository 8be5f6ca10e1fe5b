// AshlarBase: the look of the conversion wizard. Every page and widget sits at a fixed
// position; every user-visible text is set in languageChange(). The behaviour lives in Ashlar.
#ifndef TESSMARK_WIZARD_ASHLAR_BASE_H_
#define TESSMARK_WIZARD_ASHLAR_BASE_H_

#include <QPixmap>
#include <QWizard>
#include <QWizardPage>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

// A wizard page whose completeness is set from outside. QWizard derives the enablement of Next
// and Finish from isComplete(), so this is the one switch for both.
class AshlarPage : public QWizardPage {
  Q_OBJECT

 public:
  explicit AshlarPage(QWidget* parent = nullptr) : QWizardPage(parent) {}

  bool isComplete() const override { return complete_; }
  void setComplete(bool complete);

 private:
  bool complete_ = true;
};

class AshlarBase : public QWizard {
  Q_OBJECT

 public:
  // The object name defaults to "AshlarBase" when none is given.
  explicit AshlarBase(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags flags = {});
  ~AshlarBase() override;

  AshlarPage* Page0;
  QLabel* pixmapLabel3;
  QLabel* pixmapLabel3_3;
  QFrame* line1;
  QFrame* line1_2;
  QGroupBox* groupBox1_3;
  QLabel* textLabel1_3_3;
  QLabel* textLabel2_2;
  QGroupBox* groupBox1;
  QLabel* textLabel1_3;
  QLineEdit* IARProjectEdit;
  QPushButton* IARProjectBrowseBtn;
  QLabel* textLabel1_3_2;
  QLineEdit* IARInstallDirEdit;
  QPushButton* IARInstallBrowseBtn;
  QGroupBox* groupBox2;
  QLabel* textLabel1;
  QLineEdit* KvProjectEdit;
  QPushButton* KvProjectBrowseBtn;
  QLabel* textLabel1_2;
  QLineEdit* KvNameEdit;

  AshlarPage* Page1;
  QLabel* pixmapLabel3_2;
  QLabel* pixmapLabel3_3_2;
  QFrame* line1_3;
  QFrame* line1_2_2;
  QGroupBox* groupBox1_3_2;
  QLabel* textLabel2_2_2;
  QGroupBox* groupBox1_2;
  QLineEdit* MsgPersonEdit;
  QPushButton* MsgBrowseBtn;
  QGroupBox* groupBox2_2_2;
  QLineEdit* AnalPersonEdit;
  QPushButton* AnalBrowseBtn;
  QGroupBox* groupBox2_2;
  QLineEdit* CmpPersonEdit;
  QPushButton* CmpBrowseBtn;
  QGroupBox* groupBoxVarFile;
  QLabel* textLabelVarFile;
  QLineEdit* VarFileEdit;
  QPushButton* VarFileBrowseBtn;

  AshlarPage* Page2;
  QLabel* pixmapLabel3_2_2;
  QLabel* pixmapLabel3_3_2_2;
  QFrame* line1_3_2;
  QFrame* line1_2_2_2;
  QGroupBox* groupBox1_3_2_2;
  QLabel* textLabel2_2_2_2;
  QGroupBox* groupBox7;
  QCheckBox* cppCheck;
  QCheckBox* ccCheck;
  QCheckBox* cxxCheck;
  QCheckBox* cCheck;
  QCheckBox* hCheck;
  QCheckBox* hhCheck;
  QCheckBox* hppCheck;
  QCheckBox* hxxCheck;
  QLabel* textLabel2;
  QLineEdit* CustExtEdit;

  AshlarPage* Page3;
  QLabel* pixmapLabel3_2_2_2;
  QLabel* pixmapLabel3_3_2_2_2;
  QFrame* line1_3_2_2;
  QFrame* line1_2_2_2_2;
  QTextBrowser* DetailsText;

 protected slots:
  virtual void languageChange();

 private:
  void buildPage0();
  void buildPage1();
  void buildPage2();
  void buildPage3();

  QPixmap image0;  // header banner
  QPixmap image1;  // footer banner
};

#endif  // TESSMARK_WIZARD_ASHLAR_BASE_H_
