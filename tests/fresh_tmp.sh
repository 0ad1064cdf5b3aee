# fresh_tmp OPTIONS MOUNT_POINT... -- KEEP_DIRECTORY...: mounts a fresh
# tmpfs (mount options OPTIONS besides mode=1777) on each MOUNT_POINT, then
# mounts back each KEEP directory that lay under one of them (a checkout or
# build tree under /tmp) at the same path, so that the fresh mount never
# hides the test, the program or the sources. Sourced by bash scripts.
fresh_tmp() {
  local options=$1 point directory kept covered descriptor i
  shift
  local points=() keep=() outermost=() descriptors=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    points+=("$1")
    shift
  done
  shift
  for directory in "$@"; do
    [ -d "$directory" ] && keep+=("$(cd "$directory" && pwd -P)")
  done
  # Strictly below a mount point (a working directory of /tmp itself must
  # not bring the hidden /tmp back), and only the outermost of nested
  # directories: it brings the others with it.
  local sorted=()
  [ ${#keep[@]} -gt 0 ] && mapfile -t sorted < <(printf '%s\n' "${keep[@]}" | sort -u)
  for directory in "${sorted[@]}"; do
    covered=1
    for point in "${points[@]}"; do
      case $directory in "$point"/?*) covered= ;; esac
    done
    for kept in "${outermost[@]}"; do
      case $directory/ in "$kept"/*) covered=1 ;; esac
    done
    [ -n "$covered" ] || outermost+=("$directory")
  done
  # A directory stays reachable through a descriptor opened before the
  # fresh mounts hide its path; the bind mount goes through that descriptor.
  for directory in "${outermost[@]}"; do
    exec {descriptor}<"$directory"
    descriptors+=("$descriptor")
  done
  for point in "${points[@]}"; do
    mount -t tmpfs -o "${options:+$options,}mode=1777" tmpfs "$point" || return 1
  done
  for i in "${!outermost[@]}"; do
    mkdir -p "${outermost[$i]}"
    descriptor=${descriptors[$i]}
    # No canonicalising: the link must not be read back as the hidden path.
    mount --no-canonicalize --bind "/proc/self/fd/$descriptor" "${outermost[$i]}"
    exec {descriptor}<&-
  done
}
