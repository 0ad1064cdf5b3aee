#!/usr/bin/env bash
# Runs one test with a /tmp, /var/tmp and HOME of its own, so tests that use
# the program's fixed /tmp names can run side by side.
#
# usage: private_tmp.sh LOCK_FILE COMMAND [ARGUMENT...]
#        private_tmp.sh --check   (status 0 when a private /tmp can be made)
#
# A private /tmp needs a mount namespace, hence root. Elsewhere (a developer's
# account, a container without the capability) the test waits for LOCK_FILE
# instead and runs in the shared /tmp, one at a time with every other test
# that takes the same lock: slower, but the fixed names never meet.
set -u

can_make_private_tmp() {
  [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null &&
    unshare -m --propagation private mount -t tmpfs tmpfs /tmp 2>/dev/null
}

if [ "${1:-}" = --check ]; then
  can_make_private_tmp
  exit
fi
lock=${1:?lock file}
shift

# Already inside one (a script that makes its own private /tmp, run by us).
[ -n "${TESSARDBSETUP_PRIVATE_TMP:-}" ] && exec "$@"

if ! can_make_private_tmp; then
  exec flock "$lock" "$@"
fi
# HOME moves too: interactive shells of the terminal tests write their
# history there, and the program falls back to it for logs and settings.
# The sources, the build tree (the lock's directory) and the working
# directory stay where they are, under /tmp too.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exec env TESSARDBSETUP_PRIVATE_TMP=1 unshare -m --propagation private \
  bash "$here/private_tmp_enter.sh" "$here/.." "$(dirname "$lock")" "$PWD" -- \
  sh -c 'mkdir -m 700 /var/tmp/home && HOME=/var/tmp/home exec "$@"' sh "$@"
