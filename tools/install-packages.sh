#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the generated
# scripts need. Does nothing when they are all present, so it is cheap to
# call before every build.
set -euo pipefail

packages=(
  cmake g++ make pkg-config        # build
  libgtest-dev libgmock-dev        # unit tests
  libbenchmark-dev                 # benchmarks under bench/
  ksh                              # the generated scripts start with #! /bin/ksh
  libncurses-dev                   # terminal front end (with panel, form, menu)
  libsqlite3-dev                   # storage of the sandbox DBMS
  unixodbc-dev unixodbc            # the database layer's driver manager, and its isql
  postgresql odbc-postgresql       # the layer's tests against a real server
  libcrypt-dev                     # password verification
  libsodium-dev                    # encryption of the vault server's database password
  tmux                             # end-to-end tests of the terminal front end
  man-db                           # the manual page test reads the installed page with man
  clang-14 libclang-rt-14-dev      # fuzz targets: libFuzzer with its sanitizers
  clang-format                     # tools/check-format.sh: the layout of .clang-format
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or with sudo) to install them." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
