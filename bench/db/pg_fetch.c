/* Fetches the benchmark rows from PostgreSQL with libpq over TLS and prints
 * the median time in milliseconds. Every cell is read once, as the console
 * reads every cell of a selected table.
 * Usage: pg_fetch "<conninfo>" <repeats> */
#include <libpq-fe.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int compare(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: pg_fetch CONNINFO REPEATS\n");
        return 2;
    }
    const int repeats = atoi(argv[2]) > 0 ? atoi(argv[2]) : 5;
    PGconn *conn = PQconnectdb(argv[1]);
    if (PQstatus(conn) != CONNECTION_OK) {
        fprintf(stderr, "connect: %s", PQerrorMessage(conn));
        return 1;
    }
    if (!PQsslInUse(conn)) {
        fprintf(stderr, "the connection does not use TLS\n");
        return 1;
    }
    double times[64];
    int n = repeats < 64 ? repeats : 64;
    size_t checksum = 0;
    for (int r = 0; r < n; ++r) {
        const double start = now_ms();
        PGresult *res = PQexec(conn,
                               "select name, domain, fullname, rights, qstorage, "
                               "account_enabled from users where domain = 'big.example'");
        if (PQresultStatus(res) != PGRES_TUPLES_OK) {
            fprintf(stderr, "select: %s", PQerrorMessage(conn));
            return 1;
        }
        const int rows = PQntuples(res), cols = PQnfields(res);
        for (int i = 0; i < rows; ++i)
            for (int c = 0; c < cols; ++c)
                checksum += strlen(PQgetvalue(res, i, c));
        PQclear(res);
        times[r] = now_ms() - start;
    }
    qsort(times, (size_t)n, sizeof times[0], compare);
    fprintf(stderr, "libpq: %d repeats, %zu bytes of text read\n", n, checksum / (size_t)n);
    printf("%.1f\n", times[n / 2]);
    PQfinish(conn);
    return 0;
}
