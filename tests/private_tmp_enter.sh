#!/usr/bin/env bash
# Gives the mount namespace it runs in (unshare -m, as root) a fresh /tmp and
# /var/tmp, then runs COMMAND. Each KEEP directory that lay under them (a
# checkout or build tree under /tmp) is mounted back at the same path, so
# the fresh /tmp never hides the test, the program or the sources.
#
# usage: private_tmp_enter.sh KEEP_DIRECTORY... -- COMMAND [ARGUMENT...]
set -eu

keep=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  keep+=("$1")
  shift
done
shift

# shellcheck source=tests/fresh_tmp.sh
. "$(dirname "${BASH_SOURCE[0]}")/fresh_tmp.sh"
fresh_tmp "" /tmp /var/tmp -- "${keep[@]}"
# The working directory (a build tree under /tmp) by its path again, and a
# TMPDIR that lay in the hidden /tmp is no temporary directory any more.
cd "$PWD" 2>/dev/null || cd /
if [ -n "${TMPDIR:-}" ] && [ ! -d "$TMPDIR" ]; then unset TMPDIR; fi
exec "$@"
