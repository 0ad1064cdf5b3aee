# Sourced first by the scripts that plant files at the program's fixed /tmp
# names: as root they run in a mount namespace of their own with a private
# /tmp, so nothing they plant reaches another test or the host. Their own
# files go to a private /var/tmp, so /tmp can even be made noexec. The test
# launcher may have made both private already.
if [ -n "${TESSARDBSETUP_PRIVATE_TMP:-}" ]; then
  export TMPDIR=/var/tmp
else
  if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null; then
    echo "skipped: $(basename "$0") plants files in /tmp: it needs root for a private /tmp"
    exit 0
  fi
  # The sources, the build tree ($1) and the working directory stay where
  # they are, under /tmp too.
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  exec env TESSARDBSETUP_PRIVATE_TMP=1 unshare -m --propagation private \
    bash "$here/../private_tmp_enter.sh" "$here/../.." "${1:-}" "$PWD" -- \
    env TMPDIR=/var/tmp bash "$0" "$@"
fi
