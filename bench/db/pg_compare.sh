#!/usr/bin/env bash
# Selects 100 000 rows x 6 columns into a DBTable from the development server
# and fetches the same rows with libpq from a throwaway PostgreSQL cluster over
# TLS on loopback, in the same run. Installs postgresql and libpq-dev with apt
# when they are missing. A benchmark, not part of CI.
#
# Usage: bench/db/pg_compare.sh [build folder, default build-bench] [rows] [repeats]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
rows=${2:-100000}
repeats=${3:-5}

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }

if ! ls /usr/lib/postgresql/*/bin/initdb >/dev/null 2>&1 || [[ ! -f /usr/include/postgresql/libpq-fe.h ]]; then
    as_root apt-get install -y --no-install-recommends postgresql libpq-dev
fi
pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)

if [[ ! -x $build/bench/db/bench_db_table ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target bench_db_table
fi

work=$(mktemp -d)
chmod 755 "$work"
# PostgreSQL refuses to run as root: use its own system account then.
run_pg() { if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi; }
pg_user=$( [[ $(id -u) -eq 0 ]] && echo postgres || id -un )
cleanup() {
    run_pg "$pgbin/pg_ctl" -D "$work/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
[[ $(id -u) -eq 0 ]] && chown postgres "$work"

run_pg "$pgbin/initdb" -D "$work/data" -A trust -U "$pg_user" >/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost \
    -keyout "$work/server.key" -out "$work/server.crt" >/dev/null 2>&1
chmod 600 "$work/server.key"
[[ $(id -u) -eq 0 ]] && chown postgres "$work/server.key" "$work/server.crt"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat >>"$work/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$work'
ssl = on
ssl_cert_file = '$work/server.crt'
ssl_key_file = '$work/server.key'
CONF
run_pg "$pgbin/pg_ctl" -D "$work/data" -l "$work/pg.log" -w start >/dev/null

conninfo="host=127.0.0.1 port=$port dbname=postgres user=$pg_user sslmode=require"
run_pg psql -q "$conninfo" <<SQL
create table users(name text, domain text, fullname text, rights int, qstorage bigint,
                   account_enabled int);
insert into users
select 'user' || lpad(i::text, 6, '0'), 'big.example', 'Generated User ' || i, 0,
       102400 * (1 + (i - 1) % 10), 1
from generate_series(1, $rows) as i;
analyze users;
SQL

gcc -O2 -o "$work/pg_fetch" "$root/bench/db/pg_fetch.c" -I/usr/include/postgresql -lpq
libpq_ms=$("$work/pg_fetch" "$conninfo" "$repeats")
echo "libpq over TLS: $libpq_ms ms (median of $repeats)"
POSTDESK_BENCH_LIBPQ_MS=$libpq_ms "$build/bench/db/bench_db_table" "$rows" "$repeats"
