// The remembered settings of Ashlar: registry default, reading and writing settings.txt.
#include "settings.h"

#include <QFile>
#include <QLineEdit>
#include <QTextStream>

#include <utility>

#include "ashlar.h"
#include "iar_default.h"

QString Ashlar::readIARInstallDir() {
  // A windowed program has no console: the diagnostic of a failed read is only seen when stdout
  // is redirected.
  return QString::fromLocal8Bit(tessmark::defaultIARInstallDir(stdout));
}

void Ashlar::loadSettings() {
  QFile file(QString::fromLatin1(kSettingsFileName));
  if (!file.open(QIODevice::ReadOnly)) {
    return;  // No file yet: the fields keep what they have.
  }
  QTextStream in(&file);
  in.setEncoding(QStringConverter::System);
  const std::pair<const char*, QLineEdit*> fields[] = {
      {kInstallPathKey, IARInstallDirEdit},
      {kMessagePersonalityKey, MsgPersonEdit},
      {kAnalyserPersonalityKey, AnalPersonEdit},
      {kCompilerPersonalityKey, CmpPersonEdit},
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
  QFile file(QString::fromLatin1(kSettingsFileName));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return;  // The old file, if any, stays as it was.
  }
  QTextStream out(&file);
  out.setEncoding(QStringConverter::System);
  out << kInstallPathKey << '\n' << IARInstallDirEdit->text() << "\n\n";
  const std::pair<const char*, QLineEdit*> personalities[] = {
      {kMessagePersonalityKey, MsgPersonEdit},
      {kAnalyserPersonalityKey, AnalPersonEdit},
      {kCompilerPersonalityKey, CmpPersonEdit},
  };
  for (const auto& [key, field] : personalities) {
    if (!field->text().isEmpty()) {
      out << key << '\n' << field->text() << "\n\n";
    }
  }
}
