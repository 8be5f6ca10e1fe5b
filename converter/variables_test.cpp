#include "variables.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

// A project C:\w\p\p.ewp of the workspace C:\w, configuration Debug of an ARM toolchain, IAR in
// C:\iar, the environment holding only HOME, and a few custom variables.
VariableScope windowsScope(const CustomVariables* custom) {
  VariableScope scope;
  scope.projectFolder = "C:\\w\\p";
  scope.projectName = "p";
  scope.projectPath = "C:\\w\\p\\p.ewp";
  scope.workspaceDir = "C:\\w\\";
  scope.iarFolder = "C:\\iar";
  scope.toolkitDir = "C:\\iar\\arm";
  scope.configuration = "Debug";
  scope.custom = custom;
  scope.environment = [](const std::string& name, std::string* value) {
    if (name != "HOME")
      return false;
    *value = "C:\\home$PROJ_DIR$";
    return true;
  };
  return scope;
}

TEST(VariablesTest, OnePassFromLeftToRight) {
  CustomVariables custom;
  custom.define("SDK", "$WS_DIR$sdk");
  custom.define("TWICE", "$SDK$;$SDK$");
  custom.define("SELF", "<$SELF$>");
  custom.define("PING", "$PONG$");
  custom.define("PONG", "$PING$");
  custom.define("_X_", "custom x");
  custom.define("NOTE", "$UNKNOWN$ stays");
  custom.define("PROJ_DIR", "never");  // reserved: not defined
  for (int i = 1; i <= 9; ++i)
    custom.define("C" + std::to_string(i), i == 9 ? "end" : "$C" + std::to_string(i + 1) + "$");
  const VariableScope scope = windowsScope(&custom);
  const std::pair<const char*, const char*> rows[] = {
      {"$PROJ_DIR$\\src\\$PROJ_FNAME$.c", "C:\\w\\p\\src\\p.c"},
      {"$PROJ_DIR$\\a\\$PROJ_DIR$\\b", "C:\\w\\p\\a\\C:\\w\\p\\b"},
      {"$PROJ_PATH$|$CONFIG_NAME$|$EW_DIR$|$TOOLKIT_DIR$",
       "C:\\w\\p\\p.ewp|Debug|C:\\iar|C:\\iar\\arm"},
      {"$WS_DIR$x.ewp", "C:\\w\\x.ewp"},
      {"$EW_DIR$$NOPE$$EW_DIR$", "C:\\iar$NOPE$C:\\iar"},
      {"a$b$EW_DIR$", "a$bC:\\iar"},
      {"$", "$"},
      {"$$", "$$"},
      {"$$EW_DIR$", "$C:\\iar"},
      {"$_HOME_$\\x", "C:\\home$PROJ_DIR$\\x"},  // not scanned again
      {"$_UNSET_$", "$_UNSET_$"},
      {"$_X_$", "custom x"},
      {"$SDK$\\inc", "C:\\w\\sdk\\inc"},
      {"$TWICE$", "C:\\w\\sdk;C:\\w\\sdk"},
      {"$SELF$ $PING$", "$SELF$ $PING$"},
      {"$NOTE$", "$UNKNOWN$ stays"},
      {"$C2$", "end"},   // a chain of 8 custom variables
      {"$C1$", "$C1$"},  // 9
      {"$PROJ_DIR$..\\lib", "C:\\w\\p..\\lib"},
      {"$PROJ_DIR$", "C:\\w\\p"},
      {"no variable", "no variable"}};
  for (const auto& [value, expanded] : rows)
    EXPECT_EQ(expanded, expandVariables(value, scope)) << value;
}

TEST(VariablesTest, UnknownWhereTheScopeSaysNothing) {
  VariableScope scope;
  scope.style = PathStyle::kPosix;
  scope.projectFolder = "/w/p//";
  EXPECT_EQ("/w/p..", expandVariables("$PROJ_DIR$..", scope));
  EXPECT_EQ("/w/p///x", expandVariables("$PROJ_DIR$/x", scope));
  EXPECT_EQ("$WS_DIR$$TOOLKIT_DIR$$CONFIG_NAME$$EW_DIR$$_HOME_$$SDK$",
            expandVariables("$WS_DIR$$TOOLKIT_DIR$$CONFIG_NAME$$EW_DIR$$_HOME_$$SDK$", scope));
}

TEST(VariablesTest, NamesLeftInAValue) {
  const std::pair<const char*, std::vector<std::string>> rows[] = {
      {"$A$\\$B_1$", {"A", "B_1"}}, {"$A$B$", {"A", "B"}}, {"$$ $ $a b$ $-$", {}}, {"C:\\x", {}}};
  for (const auto& [value, names] : rows)
    EXPECT_EQ(names, variablesIn(value)) << value;
}

TEST(VariablesTest, ToolkitFolders) {
  const std::pair<const char*, const char*> rows[] = {{"ARM", "arm"},     {"RISCV", "riscv"},
                                                      {"RL78", "rl78"},   {"RX", "rx"},
                                                      {"RH850", "rh850"}, {"MSP430", "430"},
                                                      {"8051", "8051"},   {"AVR", "avr"},
                                                      {"AVR32", "avr32"}, {"STM8", "stm8"},
                                                      {"V850", "v850"},   {"78000", "78k"},
                                                      {"CR16C", "cr16c"}, {"", ""}};
  for (const auto& [toolchain, folder] : rows)
    EXPECT_EQ(folder, toolkitFolder(toolchain)) << toolchain;
}

}  // namespace
}  // namespace tessmark
