// The remembered settings of Ashlar: registry default, reading and writing settings.txt.
#include "settings.h"

#include <QFile>
#include <QLineEdit>
#include <QTextStream>

#include <utility>

#include "ashlar.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#endif

namespace {

QString cutAtLastBackslash(const QString& path) {
  const qsizetype at = path.lastIndexOf(QLatin1Char('\\'));
  return at < 0 ? path : path.left(at);
}

}  // namespace

QString installDirFromIdePath(const QString& idePath) {
  return cutAtLastBackslash(cutAtLastBackslash(idePath));
}

#ifdef _WIN32
QString Ashlar::readIARInstallDir() {
  static const char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe";
  // The spare last byte keeps a value that fills all 256 bytes terminated.
  char buffer[257] = {};
  LONG size = 256;
  const LONG status = RegQueryValueA(HKEY_LOCAL_MACHINE, kKey, buffer, &size);
  if (status != ERROR_SUCCESS) {
    // A windowed program has no console: this diagnostic is only seen when stdout is redirected.
    std::printf("%s", kKey);
    std::printf("%d, %d", static_cast<int>(status), 0);
    std::fflush(stdout);
    return QString();
  }
  return installDirFromIdePath(QString::fromLocal8Bit(buffer));
}
#else
// There is no registry here, so there is no default installation folder.
QString Ashlar::readIARInstallDir() {
  return QString();
}
#endif

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
