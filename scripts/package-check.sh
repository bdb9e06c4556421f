#!/usr/bin/env bash
# CI, after the main build: builds the Debian package in the build folder (first argument,
# default build), unpacks it into a temporary root, lays out a demo installation, runs the
# unpacked console program on it and lints the package. Fails when a step fails, when the
# package is not named for the version of packaging/changelog, and on any lintian error.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build" --target package
version=$(dpkg-parsechangelog -l packaging/changelog -S Version)
deb="$build/vrlchangedocspath_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  echo "package-check: no $deb: does packaging/changelog name the project's version?" >&2
  exit 1
fi
echo "package-check: $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
"$build/bin/VrlDemoInstall" --root "$work/CRM" >/dev/null
cli="$work/root/usr/bin/vrlchangedocspath-cli"
if ! "$cli" --installation "$work/CRM" --new '\\fileserver\CRM\Docs' --yes; then
  echo "package-check: the packaged console program failed on the demo installation" >&2
  exit 1
fi
# The run is in the demo installation's journal.
runs=$("$cli" --installation "$work/CRM" --list-runs --json)
if ! grep -q '"run_id":"R1"' <<<"$runs"; then
  echo "package-check: the packaged program lists no run R1: $runs" >&2
  exit 1
fi

# Without an installation named the packaged program refuses, names the ways to name one, and
# leaves the package's folders as they were.
status=0
message=$(env -u VRL_INSTALLATION "$cli" --list-runs 2>&1 >/dev/null) || status=$?
if [ "$status" != 2 ] || ! grep -q -- '--installation' <<<"$message" ||
  ! grep -q 'VRL_INSTALLATION' <<<"$message"; then
  echo "package-check: without an installation named: exit $status, \"$message\"" >&2
  exit 1
fi
if [ -n "$(find "$work/root" -name Logs)" ]; then
  echo "package-check: the refused program made folders in the package's tree" >&2
  exit 1
fi

lintian --fail-on error "$deb"
echo "package-check: passed"
