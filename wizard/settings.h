// settings.txt: the IAR installation folder and the personalities of the last run, kept in the
// wizard's current directory as records of a key line, a value line and an empty line.
#ifndef TESSMARK_WIZARD_SETTINGS_H_
#define TESSMARK_WIZARD_SETTINGS_H_

// The keys are shared by the reader and the writer; they match whole lines exactly.
inline constexpr char kSettingsFileName[] = "settings.txt";
inline constexpr char kInstallPathKey[] = "IAR Installation Path:";
inline constexpr char kMessagePersonalityKey[] = "Message Personality:";
inline constexpr char kAnalyserPersonalityKey[] = "Analyser Personality:";
inline constexpr char kCompilerPersonalityKey[] = "Compiler Personality:";

#endif  // TESSMARK_WIZARD_SETTINGS_H_
