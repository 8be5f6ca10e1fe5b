// The remembered settings of Ashlar: registry default, reading and writing settings.txt.
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTextStream>

#include <utility>

#include "ashlar.h"
#include "iar_default.h"

QString Ashlar::readIARInstallDir() {
  // A windowed program has no console: the diagnostic of a failed read is only seen when stdout
  // is redirected.
  return QString::fromLocal8Bit(tessmark::defaultIARInstallDir(stdout));
}

QString configSettingsPath() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  // The XDG base-directory rules: a relative XDG_CONFIG_HOME is invalid and counts as unset.
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!QDir::isAbsolutePath(base)) {
    base = QDir::homePath() + QStringLiteral("/.config");
  }
#else
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
  return base + QStringLiteral("/tessmark/") + QLatin1String(kSettingsFileName);
}

void Ashlar::loadSettings() {
  // Until the first save makes the configuration folder's file, the settings.txt that earlier
  // versions kept in the current directory is read instead, so remembered values carry over.
  QFile file(configSettingsPath());
  if (!file.exists()) {
    file.setFileName(QString::fromLatin1(kSettingsFileName));
  }
  if (!file.open(QIODevice::ReadOnly)) {
    return;  // No file yet: the fields keep what they have.
  }
  QTextStream in(&file);
  in.setEncoding(QStringConverter::System);
  const std::pair<const char*, QLineEdit*> fields[] = {
      {kInstallPathKey, IARInstallDirEdit},      {kMessagePersonalityKey, MsgPersonEdit},
      {kAnalyserPersonalityKey, AnalPersonEdit}, {kCompilerPersonalityKey, CmpPersonEdit},
      {kVariableFileKey, VarFileEdit},
  };
  while (!in.atEnd()) {
    const QString line = in.readLine();
    for (const auto& [key, field] : fields) {
      if (line == QLatin1String(key)) {
        // The value line is consumed here, so it is never taken for a key. A key on the last
        // line reads as an empty value.
        field->setText(in.readLine());
        break;
      }
    }
  }
}

void Ashlar::saveSettings() {
  // Only the configuration folder's file is written: a settings.txt in the current directory
  // may be anyone's (the home folder, for a wizard started from the desktop).
  QFile file(configSettingsPath());
  if (!QDir().mkpath(QFileInfo(file).path()) ||
      !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return;  // The old file, if any, stays as it was.
  }
  QTextStream out(&file);
  out.setEncoding(QStringConverter::System);
  out << kInstallPathKey << '\n' << IARInstallDirEdit->text() << "\n\n";
  // The optional files: an empty field leaves out its record.
  const std::pair<const char*, QLineEdit*> optionalFiles[] = {
      {kMessagePersonalityKey, MsgPersonEdit},
      {kAnalyserPersonalityKey, AnalPersonEdit},
      {kCompilerPersonalityKey, CmpPersonEdit},
      {kVariableFileKey, VarFileEdit},
  };
  for (const auto& [key, field] : optionalFiles) {
    if (!field->text().isEmpty()) {
      out << key << '\n' << field->text() << "\n\n";
    }
  }
}
