#!/usr/bin/env bash
# The installation through the ODBC driver path against the in-process
# sandbox it replaced: install_vs_raw.sh on two build trees in turn.
#
#   bench/odbc_vs_inprocess.sh OLD_BUILD NEW_BUILD [SCALE...]   (default 5 20 80)
#
# OLD_BUILD is a tree whose layer reaches the sandbox DBMS in-process,
# NEW_BUILD one whose layer reaches it through unixODBC and the sandbox's
# ODBC driver; both built with their benchmarks, in the same build type. The
# trees take turns (old, new, old, new, ...) RUNS times (default 3), each
# turn a whole install_vs_raw.sh over the scales, so that the machine's
# drift falls on both alike. Every run is printed; then, per scale, the
# installer's microseconds per statement (the run minus an empty site's
# run, divided by the statements played) of each tree as the median of its
# runs with the range, the ratio new / old of the medians (1.05: the ODBC
# path costs 5 % more per statement) and the new tree's rate; the same for
# raw_ddl_play, the layer alone. Processor times in brackets.
set -euo pipefail
shopt -s inherit_errexit

old=$(realpath "${1:?usage: odbc_vs_inprocess.sh OLD_BUILD NEW_BUILD [SCALE...]}")
new=$(realpath "${2:?usage: odbc_vs_inprocess.sh OLD_BUILD NEW_BUILD [SCALE...]}")
shift 2
scales=("$@")
((${#scales[@]})) || scales=(5 20 80)
runs=${RUNS:-3}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Lines of $work/figures: "TREE SCALE STATEMENTS INSTALLER_WALL INSTALLER_CPU
# RAW_WALL RAW_CPU" (seconds).
for ((run = 1; run <= runs; ++run)); do
  for tree in old new; do
    build=$old
    [[ $tree == new ]] && build=$new
    echo "== run $run, $tree tree ($build), load $(cut -d' ' -f1-3 /proc/loadavg)"
    RUNS=1 "$here/install_vs_raw.sh" "$build" "${scales[@]}" | tee "$work/output"
    awk -v tree="$tree" '
      /^scale / { scale = $2 + 0; n = $3 }
      /^installer / { iw = $2; ic = $7 }
      /^raw / { printf "%s %d %d %s %s %s %s\n", tree, scale, n, iw, ic, $2, $7 }
    ' "$work/output" >>"$work/figures"
  done
done

echo "== per statement, median of $runs runs [range], wall (cpu)"
for scale in "${scales[@]}"; do
  awk -v scale="$scale" '
    # The median of list[1..count]; lo and hi set to its extremes.
    function median(list, count,    sorted, i, j, t) {
      for (i = 1; i <= count; ++i) sorted[i] = list[i]
      for (i = 1; i <= count; ++i)
        for (j = i + 1; j <= count; ++j)
          if (sorted[j] < sorted[i]) { t = sorted[i]; sorted[i] = sorted[j]; sorted[j] = t }
      lo = sorted[1]; hi = sorted[count]
      return count % 2 ? sorted[(count + 1) / 2] : (sorted[count / 2] + sorted[count / 2 + 1]) / 2
    }
    $2 == scale {
      n = $3; k = ++count[$1]
      iw[$1, k] = 1e6 * $4 / n; ic[$1, k] = 1e6 * $5 / n
      rw[$1, k] = 1e6 * $6 / n; rc[$1, k] = 1e6 * $7 / n
    }
    # "MEDIAN us [LOW-HIGH]" SUBSEP MEDIAN of one tree'"'"'s runs.
    function side(values, tree,    list, k, m) {
      for (k = 1; k <= count[tree]; ++k) list[k] = values[tree, k]
      m = median(list, count[tree])
      return sprintf("%.1f us [%.1f-%.1f]", m, lo, hi) SUBSEP m
    }
    END {
      split(side(iw, "old"), oiw, SUBSEP); split(side(iw, "new"), niw, SUBSEP)
      split(side(ic, "old"), oic, SUBSEP); split(side(ic, "new"), nic, SUBSEP)
      split(side(rw, "old"), orw, SUBSEP); split(side(rw, "new"), nrw, SUBSEP)
      split(side(rc, "old"), orc, SUBSEP); split(side(rc, "new"), nrc, SUBSEP)
      printf "scale %d, %d statements\n", scale, n
      printf "  installer  in-process %s (%s), ODBC %s (%s)\n", oiw[1], oic[1], niw[1], nic[1]
      printf "             ODBC / in-process %.3f (cpu %.3f); ODBC installer %.0f statements/s\n",
        niw[2] / oiw[2], nic[2] / oic[2], 1e6 / niw[2]
      printf "  raw play   in-process %s (%s), ODBC %s (%s)\n", orw[1], orc[1], nrw[1], nrc[1]
      printf "             ODBC / in-process %.3f (cpu %.3f)\n", nrw[2] / orw[2], nrc[2] / orc[2]
    }' "$work/figures"
done
