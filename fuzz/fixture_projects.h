// Small project files that the workspace and command-line targets place beside their input, so
// a fuzzed workspace entry or argument reaches every way a project can end: read to its end
// with configurations, read to its end without any, stopped at an unexpected token, and
// truncated. The names are the ones real workspaces list most ($WS_DIR$\RTOSDemo.ewp...), so the
// seed workspaces find them.
#ifndef TESSMARK_FUZZ_FIXTURE_PROJECTS_H_
#define TESSMARK_FUZZ_FIXTURE_PROJECTS_H_

namespace tessmark_fuzz {

// Two configurations, options of every kind, a group holding a sub-group and an excluded file.
constexpr char kConfiguredProject[] = R"(<?xml version="1.0" encoding="iso-8859-1"?>
<project>
  <fileVersion>3</fileVersion>
  <configuration>
    <name>Debug</name>
    <toolchain><name>ARM</name></toolchain>
    <debug>1</debug>
    <settings>
      <name>ICCARM</name>
      <archiveVersion>2</archiveVersion>
      <data>
        <version>31</version>
        <option><name>CCDefines</name><state>DEBUG</state><state>MSG="hi"</state></option>
        <option><name>CCIncludePath2</name><state>$PROJ_DIR$\inc</state></option>
        <option><name>PreInclude</name><state>$PROJ_DIR$\pre.h</state></option>
        <option><name>LCEnableBitDefs</name><state>1</state></option>
      </data>
    </settings>
  </configuration>
  <configuration>
    <name>Release</name>
    <settings><name>ILINK</name><data/></settings>
  </configuration>
  <group>
    <name>src</name>
    <group>
      <name>drivers</name>
      <file><name>$PROJ_DIR$\drivers\uart.c</name></file>
    </group>
    <file>
      <name>$PROJ_DIR$\main.c</name>
      <excluded><configuration>Release</configuration></excluded>
    </file>
  </group>
  <file><name>$EW_DIR$\lib\startup.s</name></file>
</project>
)";

// No configuration: groups keep their nesting.
constexpr char kPlainProject[] = R"(<project>
  <group>
    <name>app</name>
    <group><name>app/inner</name><file><name>$PROJ_DIR$\inner.c</name></file></group>
    <file><name>$PROJ_DIR$\app.c</name></file>
  </group>
  <file><name>top.h</name></file>
</project>
)";

constexpr char kStoppingProject[] = R"(<project>
  <configuration><name>Debug</name></configuration>
  <unknown/>
</project>
)";

constexpr char kTruncatedProject[] = R"(<project>
  <configuration><name>Debug</name>
)";

constexpr char kAnalyserPersonality[] = "-x \"one\"\r\n-y two\n";

}  // namespace tessmark_fuzz

#endif  // TESSMARK_FUZZ_FIXTURE_PROJECTS_H_
