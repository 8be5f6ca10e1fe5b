# Shared by the benchmark scripts; sourced, not run.

# Builds the workspace generator into the folder $1 when its sources are newer; prints its path.
build_generator() {
  local src dir="$1" gen="$1/tessmark-bench-gen"
  src=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  if [ ! -x "$gen" ] || [ -n "$(find "$src" -name '*.cpp' -newer "$gen" -o -name '*.h' -newer "$gen")" ]; then
    "${CXX:-c++}" -O2 -std=c++17 -Wall -Wextra -o "$gen" \
      "$src/generate_workspace.cpp" "$src/project_generator.cpp" >&2
  fi
  echo "$gen"
}

# Prints the results file of run_bench.sh as a markdown table, then the goals for each
# converter.
print_table() {
  awk '
    BEGIN {
      print "| converter | size | input MB | folder entries | folders | conversion ms | floor ms | xmllint ms | conv/floor | conv/xmllint | us per entry | peak RSS MB |"
      print "|---|---|---|---|---|---|---|---|---|---|---|---|"
    }
    {
      c = $1; s = $2; seen[c] = 1
      perEntry[c, s] = $6 / $4 * 1e6; ratio[c, s] = $6 / $7; lint[c, s] = $6 / $8; rss[c, s] = $12 / 1024
      printf "| %s | %s | %.1f | %d | %d | %.0f (%.0f) | %.0f (%.0f) | %.0f (%.0f) | %.2f (%.2f) | %.2f (%.2f) | %.1f | %.1f |\n",
        c, s, $3 / 1048576, $4, $5, $6 * 1000, $9 * 1000, $7 * 1000, $10 * 1000, $8 * 1000, $11 * 1000,
        $6 / $7, $9 / $10, $6 / $8, $9 / $11, perEntry[c, s], rss[c, s]
    }
    function goal(c, text, ok) { printf "- %s%s: %s\n", c == "-" ? "" : c ": ", text, ok ? "met" : "NOT met" }
    END {
      print ""
      print "Times are medians of the wall clock, processor time (user + system) in brackets; the"
      print "ratios and the time per entry are taken from the wall clock."
      print ""
      for (c in seen) {
        if ((c, "M") in ratio) goal(c, sprintf("M conversion/floor %.2f <= 1.5", ratio[c, "M"]), ratio[c, "M"] <= 1.5)
        if ((c, "L") in ratio) goal(c, sprintf("L conversion/floor %.2f <= 1.5", ratio[c, "L"]), ratio[c, "L"] <= 1.5)
        if ((c, "heavy") in lint)
          goal(c, sprintf("heavy conversion/xmllint %.2f < 1", lint[c, "heavy"]), lint[c, "heavy"] < 1)
        if (((c, "M") in perEntry) && ((c, "L") in perEntry))
          goal(c, sprintf("time per entry L/M %.2f <= 1.3", perEntry[c, "L"] / perEntry[c, "M"]),
               perEntry[c, "L"] / perEntry[c, "M"] <= 1.3)
        if ((c, "L") in rss) goal(c, sprintf("L peak RSS %.1f MB < 100", rss[c, "L"]), rss[c, "L"] < 100)
      }
    }' "$1"
}
