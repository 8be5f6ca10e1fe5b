// Renders the four wizard pages offscreen, saves them as PNG files for review, and checks that
// every widget of every page lies inside the visible page and that its text fits it.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "ashlar.h"

namespace {

// Frames are wider than the line they draw in their middle; only that line must be visible.
QRect visibleRect(const QWidget* widget) {
  const auto* frame = qobject_cast<const QFrame*>(widget);
  if (frame && frame->frameShape() == QFrame::VLine) {
    const int middle = widget->width() / 2;
    return QRect(middle - 1, 0, 2, widget->height());
  }
  return widget->rect();
}

// Why a widget's text does not fit, or an empty string when it does.
QString textOverflow(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->pixmap().isNull()) {
    const int needed =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    if (needed > label->height() ||
        (!label->wordWrap() && label->sizeHint().width() > label->width())) {
      return QStringLiteral("label text needs %1x%2").arg(label->sizeHint().width()).arg(needed);
    }
  } else if (const auto* check = qobject_cast<const QCheckBox*>(widget)) {
    const QStyle* style = check->style();
    const int needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
                       style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check) +
                       check->fontMetrics().horizontalAdvance(check->text());
    if (needed > check->width()) {
      return QStringLiteral("check box needs width %1").arg(needed);
    }
  } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
    if (needed > button->width()) {
      return QStringLiteral("button text needs width %1").arg(needed);
    }
  } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
    const int needed = group->fontMetrics().horizontalAdvance(group->title()) + 16;
    if (needed > group->width()) {
      return QStringLiteral("group title needs width %1").arg(needed);
    }
  }
  return QString();
}

}  // namespace

class AshlarScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void savesEveryPage();
  void everyWidgetLiesInsideTheVisiblePage();
  void everyTextFitsItsWidget();

 private:
  QList<QWizardPage*> pages() const {
    return {wizard_->Page0, wizard_->Page1, wizard_->Page2, wizard_->Page3};
  }

  QTemporaryDir workDir_;
  QString oldCurrent_;
  std::unique_ptr<Ashlar> wizard_;
};

void AshlarScreenshotTest::initTestCase() {
  QVERIFY(workDir_.isValid());
  oldCurrent_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(workDir_.path()));
  QDir work(workDir_.path());
  QVERIFY(work.mkpath(QStringLiteral("IAR Systems/Embedded Workbench 5.4")));
  QVERIFY(work.mkpath(QStringLiteral("korval")));
  QFile project(work.filePath(QStringLiteral("blinky.ewp")));
  QVERIFY(project.open(QIODevice::WriteOnly));
  project.close();

  wizard_ = std::make_unique<Ashlar>();
  wizard_->IARProjectEdit->setText(work.filePath(QStringLiteral("blinky.ewp")));
  wizard_->IARInstallDirEdit->setText(
      work.filePath(QStringLiteral("IAR Systems/Embedded Workbench 5.4")));
  wizard_->KvProjectEdit->setText(work.filePath(QStringLiteral("korval")));
  wizard_->KvNameEdit->setText(QStringLiteral("blinky"));
  wizard_->MsgPersonEdit->setText(QStringLiteral("missing.p_s"));  // shows a red path
  wizard_->cppCheck->setChecked(true);
  wizard_->hCheck->setChecked(true);
  wizard_->CustExtEdit->setText(QStringLiteral("res,xml"));
  wizard_->show();
  QVERIFY(QTest::qWaitForWindowExposed(wizard_.get()));
}

void AshlarScreenshotTest::cleanupTestCase() {
  wizard_.reset();
  QDir::setCurrent(oldCurrent_);
}

void AshlarScreenshotTest::savesEveryPage() {
  QDir out(QStringLiteral(WIZARD_SCREENSHOT_DIR));
  QVERIFY(out.mkpath(QStringLiteral(".")));
  for (int id = 0; id < 4; ++id) {
    QCOMPARE(wizard_->currentId(), id);
    QTest::qWait(50);
    const QString file = out.filePath(QStringLiteral("page%1.png").arg(id));
    QVERIFY2(wizard_->grab().save(file), qPrintable(file));
    if (id == 1) {
      wizard_->MsgPersonEdit->clear();  // Page1's Next needs existing or empty paths.
    }
    if (id < 3) {
      QVERIFY(wizard_->button(QWizard::NextButton)->isEnabled());
      wizard_->button(QWizard::NextButton)->click();
    }
  }
}

void AshlarScreenshotTest::everyWidgetLiesInsideTheVisiblePage() {
  for (QWizardPage* page : pages()) {
    const QRect pageInWizard(page->mapTo(wizard_.get(), QPoint(0, 0)), page->size());
    QVERIFY2(wizard_->rect().contains(pageInWizard), qPrintable(page->objectName()));
    QVERIFY(page->width() >= 532 && page->height() >= 410);
    for (QWidget* widget : page->findChildren<QWidget*>()) {
      const QRect visible = visibleRect(widget);
      const QRect inPage(widget->mapTo(page, visible.topLeft()), visible.size());
      QVERIFY2(page->rect().contains(inPage),
               qPrintable(widget->objectName() + QStringLiteral(" leaves ") + page->objectName()));
      const QWidget* parent = widget->parentWidget();
      if (parent != page) {
        QVERIFY2(parent->rect().contains(widget->geometry()),
                 qPrintable(widget->objectName() + QStringLiteral(" leaves its group")));
      }
    }
  }
}

void AshlarScreenshotTest::everyTextFitsItsWidget() {
  for (QWizardPage* page : pages()) {
    for (QWidget* widget : page->findChildren<QWidget*>()) {
      const QString overflow = textOverflow(widget);
      QVERIFY2(overflow.isEmpty(),
               qPrintable(widget->objectName() + QStringLiteral(": ") + overflow));
    }
  }
}

QTEST_MAIN(AshlarScreenshotTest)
#include "ashlar_screenshot_test.moc"
