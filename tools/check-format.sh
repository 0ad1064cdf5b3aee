#!/usr/bin/env bash
# Fails, listing them, when C++ files under src, tests or bench are not laid
# out as .clang-format says. Fix them with: clang-format -i FILE...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (tools/install-packages.sh installs it)" >&2
  exit 1
fi
unformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.h' -o -name '*.hpp' \) \
  -print0 | sort -z)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} file(s) not formatted as .clang-format says:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  echo "run: clang-format -i ${unformatted[*]}" >&2
  exit 1
fi
echo "check-format: every C++ file under src, tests and bench is formatted"
