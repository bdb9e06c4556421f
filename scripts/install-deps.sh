#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and benchmarks with (python3 and time
# serve the benchmark driver; locales gives the tests the locale sources localedef compiles;
# the postgresql server only runs as the throwaway cluster of scripts/pg-test-cluster.sh; clang
# with its libFuzzer and sanitizer runtimes, and llvm's symbolizer for their reports, build and
# run the fuzz targets of scripts/fuzz.sh; dpkg-dev (dpkg-shlibdeps), file and lintian make and
# check the Debian package of scripts/package-check.sh).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang-format
  clang libclang-rt-dev llvm
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  libinih-dev libcli11-dev nlohmann-json3-dev
  libboost-stacktrace-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 time
  locales
  dpkg-dev file lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
