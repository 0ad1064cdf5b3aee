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
  [ -d "$1" ] && keep+=("$(cd "$1" && pwd -P)")
  shift
done
shift

# Strictly below: a working directory of /tmp itself must not bring the
# shared /tmp back.
under_tmp() {
  case $1 in /tmp/?* | /var/tmp/?*) return 0 ;; *) return 1 ;; esac
}

# Only the outermost of nested directories is mounted back: it brings the
# others with it.
outermost=()
mapfile -t sorted < <(printf '%s\n' "${keep[@]}" | sort -u)
for directory in "${sorted[@]}"; do
  under_tmp "$directory" || continue
  covered=
  for kept in "${outermost[@]}"; do
    case $directory/ in "$kept"/*) covered=1 ;; esac
  done
  [ -n "$covered" ] || outermost+=("$directory")
done

# A directory stays reachable through a descriptor opened before the
# fresh mounts hide its path; the bind mount goes through that descriptor.
descriptors=()
for directory in "${outermost[@]}"; do
  exec {descriptor}<"$directory"
  descriptors+=("$descriptor")
done
mount -t tmpfs -o mode=1777 tmpfs /tmp
mount -t tmpfs -o mode=1777 tmpfs /var/tmp
for i in "${!outermost[@]}"; do
  mkdir -p "${outermost[$i]}"
  descriptor=${descriptors[$i]}
  # No canonicalising: the link must not be read back as the hidden path.
  mount --no-canonicalize --bind "/proc/self/fd/$descriptor" "${outermost[$i]}"
  exec {descriptor}<&-
done
# The working directory (a build tree under /tmp) by its path again, and a
# TMPDIR that lay in the hidden /tmp is no temporary directory any more.
cd "$PWD" 2>/dev/null || cd /
if [ -n "${TMPDIR:-}" ] && [ ! -d "$TMPDIR" ]; then unset TMPDIR; fi
exec "$@"
