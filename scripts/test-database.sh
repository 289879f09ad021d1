#!/usr/bin/env bash
# A throwaway database server for the tests: `start STATE` makes a cluster in a temporary
# directory, listening on 127.0.0.1 only, and writes its connection string to STATE;
# `stop STATE` stops it and removes the directory.  The server never runs as root: under
# root it runs as the unprivileged "postgres" user (else "nobody").
# Without the server's programs the tests that need it are skipped: STATE then holds no
# connection string but the reason, and start still succeeds.
# `start STATE DIR` keeps the cluster in DIR instead (made there the first time, its data
# left in place by stop), for the benchmarks, whose large tables take a while to load.
set -uo pipefail
action=${1:?start or stop}
state=${2:?state file}
keep=${3:-}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$server_user" -- "$@"
  else
    "$@"
  fi
}

case "$action" in
start)
  mkdir -p "$(dirname "$state")"
  if [ -f "$state.dir" ]; then "$0" stop "$state"; fi
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "skip: the PostgreSQL server programs are not installed" >"$state"
    cat "$state"
    exit 0
  fi
  server_user=$(id -un)
  if [ "$(id -u)" -eq 0 ]; then
    server_user=postgres
    id postgres >/dev/null 2>&1 || server_user=nobody
  fi
  if [ -n "$keep" ]; then
    mkdir -p "$keep"
    dir=$(cd "$keep" && pwd)
    echo "$dir" >"$state.kept"
  else
    dir=$(mktemp -d /tmp/corvanta-pg.XXXXXX)
  fi
  chmod 0755 "$dir"
  [ "$(id -u)" -eq 0 ] && chown "$server_user" "$dir"
  echo "$dir" >"$state.dir"
  echo "$server_user" >"$state.user"
  if [ ! -f "$dir/data/PG_VERSION" ] && ! as_server "$bindir/initdb" -D "$dir/data" \
      -U corvanta --auth=trust --locale=C.UTF-8 -E UTF8 >"$dir/initdb.log" 2>&1; then
    echo "initdb failed:" >&2; cat "$dir/initdb.log" >&2
    exit 1
  fi
  # A kept cluster left running by a run that was cut short is stopped first.
  if [ -n "$keep" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1
  fi
  for attempt in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 30000))
    if as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=on -c max_connections=200" \
        start >/dev/null 2>&1; then
      echo "host=127.0.0.1 port=$port user=corvanta dbname=postgres" >"$state"
      echo "database server for the tests: $(cat "$state")"
      exit 0
    fi
  done
  echo "the test database server did not start:" >&2
  cat "$dir/server.log" >&2
  exit 1
  ;;
stop)
  [ -f "$state.dir" ] || exit 0
  dir=$(cat "$state.dir")
  server_user=$(cat "$state.user" 2>/dev/null || id -un)
  if [ -d "$dir/data" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1
  fi
  [ -f "$state.kept" ] || rm -rf "$dir"
  rm -f "$state" "$state.dir" "$state.user" "$state.kept"
  ;;
esac
