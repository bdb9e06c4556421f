#!/usr/bin/env bash
# Lays out a demo installation on the remote server: starts a PostgreSQL server of its own on
# this machine (scripts/pg-test-cluster.sh, a Unix socket under the temporary folder, no TCP),
# creates the database "crm" there and runs VrlDemoInstall --remote into it.
#
#   scripts/remote-demo.sh BUILD_DIR ROOT [VrlDemoInstall options...]
#
# Each run starts the server afresh (any earlier demo database on it is gone). Stop it with
#   scripts/pg-test-cluster.sh stop "${TMPDIR:-/tmp}/vrl-demo-pg-$(id -u)"
set -euo pipefail
[ $# -ge 2 ] || {
  echo "usage: $0 BUILD_DIR ROOT [VrlDemoInstall options...]" >&2
  exit 2
}
build=$1
root=$2
shift 2
here="$(cd "$(dirname "$0")" && pwd)"
server="${TMPDIR:-/tmp}/vrl-demo-pg-$(id -u)"
conninfo=$("$here/pg-test-cluster.sh" start "$server")
psql -X -q "$conninfo" -c "CREATE DATABASE crm"
"$build/bin/VrlDemoInstall" --root "$root" --remote "${conninfo/dbname=postgres/dbname=crm}" "$@"
echo "The demo's PostgreSQL server runs in $server; stop it with:"
echo "  $here/pg-test-cluster.sh stop $server"
