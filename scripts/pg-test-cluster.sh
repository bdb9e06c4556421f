#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster for the tests and benchmarks.
#
#   pg-test-cluster.sh start DIR   wipes any leftover cluster in DIR, then starts a fresh one
#   pg-test-cluster.sh stop DIR    stops the cluster in DIR at once and removes DIR
#   pg-test-cluster.sh halt DIR    stops the cluster in DIR at once, as a crash would, keeping it
#   pg-test-cluster.sh resume DIR  starts the halted cluster in DIR again
#
# The data folder (DIR/data) and the Unix socket (DIR/.s.PGSQL.54329) both live in DIR. The server
# listens on no TCP address, so clusters of several build folders never clash; the port only
# names the socket file. The superuser is `postgres` when run as root (the server then runs as the
# `postgres` user), else the current user; the socket trusts every local connection except
# those of the members of vrl_password_users, who must give their password.
# The conninfo of the maintenance database: host=DIR port=54329 user=<role> dbname=postgres
set -euo pipefail

PORT=54329
# The server programs of PostgreSQL 15 (Debian 12's), else of the newest version installed.
if [ -z "${PG_BIN:-}" ]; then
  PG_BIN=/usr/lib/postgresql/15/bin
  [ -x "$PG_BIN/initdb" ] || PG_BIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
fi

usage() {
  echo "usage: $0 start|stop|halt|resume DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
action=$1
dir=$2
case "$dir" in
  /*) ;;
  *) dir="$(pwd)/$dir" ;;
esac

if [ "$(id -u)" -eq 0 ]; then
  role=postgres
  as_server() { runuser -u postgres -- "$@"; }
else
  role=$(id -un)
  as_server() { "$@"; }
fi

# A server left running in DIR (a test run cut short) is stopped before its folder goes.
stop_running() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_server "$PG_BIN/pg_ctl" stop -D "$dir/data" -m immediate -w >/dev/null 2>&1 || true
  fi
}

# Commits are answered before their WAL is written out (synchronous_commit off), unless
# VRL_PG_SYNCHRONOUS_COMMIT=on: then a commit answered survives a halt, as on a production server.
start_server() {
  local opts="-c listen_addresses='' -c unix_socket_directories='$dir' -p $PORT"
  opts+=" -c fsync=off -c synchronous_commit=${VRL_PG_SYNCHRONOUS_COMMIT:-off}"
  opts+=" -c full_page_writes=off"
  if ! as_server "$PG_BIN/pg_ctl" start -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "$opts" >/dev/null; then
    cat "$dir/server.log" >&2
    exit 1
  fi
}

case "$action" in
  start)
    [ -n "$PG_BIN" ] && [ -x "$PG_BIN/initdb" ] || {
      echo "PostgreSQL server programs not found in /usr/lib/postgresql (run scripts/install-deps.sh)" >&2
      exit 1
    }
    socket="$dir/.s.PGSQL.$PORT"
    if [ ${#socket} -ge 107 ]; then
      echo "The socket path $socket is too long for a Unix socket (${#socket} bytes, at most 106)" >&2
      exit 1
    fi
    stop_running
    rm -rf "$dir"
    mkdir -p "$dir"
    if [ "$(id -u)" -eq 0 ]; then
      chown postgres: "$dir"
      if ! runuser -u postgres -- test -w "$dir"; then
        echo "The postgres user cannot reach $dir: every parent folder must be traversable" >&2
        exit 1
      fi
    fi
    if ! as_server "$PG_BIN/initdb" -D "$dir/data" -U "$role" --auth=trust -E UTF8 \
      --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1; then
      cat "$dir/initdb.log" >&2
      exit 1
    fi
    # Members of the group vrl_password_users must give a password (to test a refused one);
    # every other role is trusted.
    hba="$dir/data/pg_hba.conf"
    as_server sh -c "{ echo 'local all +vrl_password_users scram-sha-256'; cat '$hba'; } > '$hba.new' && mv '$hba.new' '$hba'"
    start_server
    if ! as_server "$PG_BIN/psql" -X -q -h "$dir" -p $PORT -U "$role" -d postgres \
      -c "CREATE ROLE vrl_password_users NOLOGIN" >/dev/null; then
      echo "The test group role could not be created" >&2
      exit 1
    fi
    echo "host=$dir port=$PORT user=$role dbname=postgres"
    ;;
  stop)
    stop_running
    rm -rf "$dir"
    ;;
  halt)
    stop_running
    ;;
  resume)
    start_server
    ;;
  *) usage ;;
esac
