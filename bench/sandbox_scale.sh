#!/usr/bin/env bash
# The sandbox DBMS's rate as the repository grows, in both dialects, beside
# the physical limit: the same work done by SQLite alone.
#
#   bench/sandbox_scale.sh BUILD_DIR [SCALE...]      (default 5 80)
#
# For each SCALE (5: about 3,100 statements, 80: about 50,000) a sandbox
# site is made and its repository played by bench/raw_ddl_play --physical,
# DB2 then Oracle, one commit per statement. Printed per scale and dialect:
# the statements, the sandbox's rate, the SQLite-alone rate of the SQL the
# sandbox ran, and how many times longer the sandbox took (wall and
# processor time). Last, per dialect, the flatness: the rate at the first
# scale divided by the rate at the last (1: a statement costs the same in
# both repositories).
set -euo pipefail
shopt -s inherit_errexit

build=$(realpath "${1:?usage: sandbox_scale.sh BUILD_DIR [SCALE...]}")
shift
scales=("$@")
((${#scales[@]})) || scales=(5 80)
[[ -x $build/bench/raw_ddl_play ]] || {
  echo "sandbox_scale: $build/bench/raw_ddl_play is missing: build the tree first" >&2
  exit 2
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A rates
for scale in "${scales[@]}"; do
  rm -rf "$work/site"
  "$build/tessardbsetup-sandbox" init "$work/site" --ddl-scale "$scale" >/dev/null
  for dialect in db2 oracle; do
    output=$(
      # shellcheck source=/dev/null
      . "$work/site/env.sh"
      "$build/bench/raw_ddl_play" "$dialect" --physical
    )
    read -r statements seconds cpu < <(awk 'NR == 1 { print $2, $4, $6 }' <<<"$output")
    read -r sqlite_seconds sqlite_cpu < <(awk '/^sqlite/ { print $5, $7 }' <<<"$output")
    rates[$dialect.$scale]=$(awk -v n="$statements" -v s="$seconds" 'BEGIN { print n / s }')
    awk -v scale="$scale" -v d="$dialect" -v n="$statements" -v s="$seconds" -v c="$cpu" \
      -v qs="$sqlite_seconds" -v qc="$sqlite_cpu" 'BEGIN {
      printf "scale %3d %-6s %6d statements  sandbox %6.0f/s (cpu %4.0f us each)", scale, d, n,
        n / s, 1e6 * c / n
      printf "  SQLite alone %6.0f/s  ratio %.2f (cpu %.2f)\n", n / qs, s / qs, c / qc
    }'
  done
done
first=${scales[0]}
last=${scales[-1]}
for dialect in db2 oracle; do
  awk -v d="$dialect" -v a="${rates[$dialect.$first]}" -v b="${rates[$dialect.$last]}" \
    -v f="$first" -v l="$last" 'BEGIN {
    printf "flatness %-6s rate at scale %d / rate at scale %d: %.2f\n", d, f, l, a / b
  }'
done
