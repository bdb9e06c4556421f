#!/bin/sh
# Installs the build folder $2 with cmake $1 into a temporary root as the Debian package does
# (prefix /usr; CPack runs the same install rules) and checks that the tree holds both programs
# and no test code: no crash-test program, and no file that names the crash trigger's variable.
set -eu
cmake=$1
build=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
for program in VrlChangeDocsPath VrlChangeDocsPathCli; do
  if [ ! -x "$root/usr/lib/vrlchangedocspath/$program" ]; then
    echo "$program is not installed"
    exit 1
  fi
done
if find "$root" -name '*crashtest*' | grep .; then
  echo "a crash-test program is installed"
  exit 1
fi
if grep -rla VRL_TEST_CRASH "$root"; then
  echo "installed files name the crash trigger"
  exit 1
fi
