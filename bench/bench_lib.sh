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

# Prints the results file (one line per size: size input-bytes entries folders conversion-s
# floor-s xmllint-s peak-rss-KB) as a markdown table, then the goals.
print_table() {
  awk '
    BEGIN {
      print "| size | input MB | folder entries | folders | conversion ms | floor ms | xmllint ms | conv/floor | conv/xmllint | us per entry | peak RSS MB |"
      print "|---|---|---|---|---|---|---|---|---|---|---|"
    }
    {
      size[NR] = $1; perEntry[$1] = $5 / $3 * 1e6; ratio[$1] = $5 / $6; lint[$1] = $5 / $7; rss[$1] = $8 / 1024
      printf "| %s | %.1f | %d | %d | %.1f | %.1f | %.1f | %.2f | %.2f | %.1f | %.1f |\n",
        $1, $2 / 1048576, $3, $4, $5 * 1000, $6 * 1000, $7 * 1000, $5 / $6, $5 / $7, $5 / $3 * 1e6, $8 / 1024
    }
    function goal(text, ok) { printf "- %s: %s\n", text, ok ? "met" : "NOT met" }
    END {
      print ""
      if ("M" in ratio) goal(sprintf("M conversion/floor %.2f <= 1.5", ratio["M"]), ratio["M"] <= 1.5)
      if ("L" in ratio) goal(sprintf("L conversion/floor %.2f <= 1.5", ratio["L"]), ratio["L"] <= 1.5)
      if ("heavy" in lint) goal(sprintf("heavy conversion/xmllint %.2f < 1", lint["heavy"]), lint["heavy"] < 1)
      if (("M" in perEntry) && ("L" in perEntry))
        goal(sprintf("time per entry L/M %.2f <= 1.3", perEntry["L"] / perEntry["M"]), perEntry["L"] / perEntry["M"] <= 1.3)
      if ("L" in rss) goal(sprintf("L peak RSS %.1f MB < 100", rss["L"]), rss["L"] < 100)
    }' "$1"
}
