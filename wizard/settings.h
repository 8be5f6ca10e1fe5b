// settings.txt: the IAR installation folder, the personalities and the variable file of the last
// run, kept in the user's configuration folder as records of a key line, a value line and an empty
// line.
#ifndef TESSMARK_WIZARD_SETTINGS_H_
#define TESSMARK_WIZARD_SETTINGS_H_

#include <QString>

// The keys are shared by the reader and the writer; they match whole lines exactly.
inline constexpr char kSettingsFileName[] = "settings.txt";
inline constexpr char kInstallPathKey[] = "IAR Installation Path:";
inline constexpr char kMessagePersonalityKey[] = "Message Personality:";
inline constexpr char kAnalyserPersonalityKey[] = "Analyser Personality:";
inline constexpr char kCompilerPersonalityKey[] = "Compiler Personality:";
inline constexpr char kVariableFileKey[] = "Variable File:";

// Where the wizard keeps settings.txt: $XDG_CONFIG_HOME/tessmark, or ~/.config/tessmark when that
// variable is unset, empty or not an absolute path; on systems without the XDG layout, the
// generic configuration folder plus /tessmark. Read on every call, never cached.
QString configSettingsPath();

#endif  // TESSMARK_WIZARD_SETTINGS_H_
