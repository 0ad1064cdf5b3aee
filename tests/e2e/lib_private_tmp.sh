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
  exec env TESSARDBSETUP_PRIVATE_TMP=1 unshare -m --propagation private \
    sh -c 'mount -t tmpfs -o mode=1777 tmpfs /tmp && mount -t tmpfs -o mode=1777 tmpfs /var/tmp &&
      TMPDIR=/var/tmp exec bash "$0" "$@"' "$0" "$@"
fi
