#!/usr/bin/env bash
# Starts or stops a throwaway database server for the tests, in DIR (made if missing, removed
# by stop). The server listens only on a socket in DIR and trusts local connections; it runs
# as an unprivileged user when started by root. The tests reach it as
#   postgresql:///postgres?host=DIR&user=postgres
# For the fault tests, on a server made by start:
#   start-again DIR  starts it once more after it ended (or was killed); fails while the
#                    killed server's processes still hold its shared memory (try again)
#   restart DIR      stops it, ending every connection, and starts it again
# Extra server settings for start and start-again, as NAME=VALUE words, may be given in
# DULVANE_PG_SETTINGS, e.g. DULVANE_PG_SETTINGS="max_connections=300 shared_buffers=512MB" (the
# benchmarks' load run).
set -euo pipefail
action="${1:-}"
dir="${2:-}"
if [ -z "$action" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|stop|start-again|restart DIR" >&2
  exit 2
fi
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  bin="$(dirname "$(command -v initdb || command -v pg_ctl || echo /nonexistent/x)")"
fi
if [ ! -x "$bin/initdb" ]; then
  echo "$0: initdb not found (install postgresql)" >&2
  exit 1
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    local user=postgres
    id -u "$user" >/dev/null 2>&1 || user=nobody
    runuser -u "$user" -- "$@"
  else
    "$@"
  fi
}

launch() {
  local options="-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=on"
  for setting in ${DULVANE_PG_SETTINGS:-}; do
    options+=" -c $setting"
  done
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o "$options" start \
    >/dev/null
}

case "$action" in
  start)
    mkdir -p "$dir"
    chmod 700 "$dir"
    if [ "$(id -u)" -eq 0 ]; then
      if id -u postgres >/dev/null 2>&1; then chown postgres "$dir"; else chown nobody "$dir"; fi
    fi
    as_owner "$bin/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 \
      --auth-local=trust --auth-host=reject >"$dir/initdb.log" 2>&1 ||
      { cat "$dir/initdb.log" >&2; exit 1; }
    launch || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  start-again)
    launch || { tail -n 5 "$dir/server.log" >&2; exit 1; }
    ;;
  restart)
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -t 30 restart \
      >/dev/null ||
      { tail -n 5 "$dir/server.log" >&2; exit 1; }
    ;;
  stop)
    if [ -d "$dir/data" ]; then
      as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 start|stop|start-again|restart DIR" >&2
    exit 2
    ;;
esac
