// Measures, in one run:
//  1. decoding a 100 000-row result of 8 mixed-type columns, against a plain
//     memcpy of the same block (the ratio should stay at or below 2);
//  2. the round trip of a one-row query over TLS on loopback, against the
//     in-process scripted server.
#include "lumadb/lumadb.h"
#include "scripted_server.h"
#include "wire.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace lumadb_test;
using clock_type = std::chrono::steady_clock;

namespace {

constexpr uint32_t row_count = 100000;
constexpr int decode_rounds = 25;
constexpr int round_trips = 2000;

Bytes mixed_block()
{
    BlockBuilder builder;
    builder.columns = {{1, "name"},    {2, "quota"},  {3, "size"}, {4, "address"},
                       {5, "comment"}, {6, "digest"}, {7, "port"}, {8, "domains"}};
    builder.rows.reserve(row_count);
    for (uint32_t i = 0; i < row_count; ++i) {
        builder.rows.push_back({text_cell("user" + std::to_string(i) + "@example.org"),
                                int32_cell(i * 7u), int64_cell(int64_t(i) << 20),
                                ipv4_cell(10, i >> 16 & 255, i >> 8 & 255, i & 255),
                                text_cell(i % 3 ? "" : "mailbox over quota"), Bytes(8, char(i)),
                                port_cell(uint16_t(1024 + i % 60000)),
                                list_cell({"example.org", "mail.example.net"})});
    }
    return builder.build();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds_since(clock_type::time_point start)
{
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

int bench_decode()
{
    const Bytes block = mixed_block();
    const size_t size = block.size();
    std::vector<unsigned char> target(size, 1); // touched, so no page faults are timed
    std::vector<double> decode_times, copy_times;
    for (int round = 0; round < decode_rounds; ++round) {
        auto *fresh = static_cast<unsigned char *>(std::malloc(size));
        std::memcpy(fresh, block.data(), size);
        lumadb_result result{};
        auto start = clock_type::now();
        const uint32_t status = lumadb_decode_block(fresh, uint32_t(size), &result);
        decode_times.push_back(seconds_since(start));
        if (status != LUMADB_OK || result.row_count != row_count) {
            std::fprintf(stderr, "decoding failed with %u\n", status);
            return 1;
        }
        lumadb_free_result(&result);

        start = clock_type::now();
        std::memcpy(target.data(), block.data(), size);
        copy_times.push_back(seconds_since(start));
        volatile unsigned char sink = target[size / 2];
        (void)sink;
    }
    // The fastest round shows the cost itself; the median shows what a busy
    // machine adds.
    const double decode = *std::min_element(decode_times.begin(), decode_times.end());
    const double copy = *std::min_element(copy_times.begin(), copy_times.end());
    std::printf("decode: %u rows x 8 columns, block %.1f MB, %d rounds\n", row_count, size / 1e6,
                decode_rounds);
    std::printf("  decode  best %8.3f ms, median %8.3f ms\n", decode * 1e3,
                median(decode_times) * 1e3);
    std::printf("  memcpy  best %8.3f ms, median %8.3f ms\n", copy * 1e3, median(copy_times) * 1e3);
    std::printf("  ratio decode/memcpy %.2f (best), %.2f (median); target <= 2.00\n", decode / copy,
                median(decode_times) / median(copy_times));
    return 0;
}

int bench_round_trip()
{
    TestCertificate certificate;
    ScriptedServer server(certificate);
    BlockBuilder one_row;
    one_row.columns = {{1, "v"}, {2, "n"}};
    one_row.rows = {{text_cell("value"), int32_cell(1)}};
    const Bytes answer = response(0, 0, one_row.build());
    LoginScript login;
    server.login(login);
    for (int i = 0; i < round_trips; ++i)
        server.expect(query_request("select v, n from t")).reply(answer);
    server.expect_end();
    server.start();

    lumadb_open_options options{};
    options.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = nullptr;
    uint32_t rights = 0;
    if (lumadb_open_ex("127.0.0.1", server.port_text().c_str(), &options, &handle) != 0
        || lumadb_login(handle, login.user.c_str(), login.password.c_str(), &rights, nullptr,
                        nullptr, nullptr, nullptr, login.application.c_str(), 0)
                != 0) {
        std::fprintf(stderr, "cannot log in to the scripted server\n");
        lumadb_close(handle);
        return 1;
    }
    std::vector<double> times;
    times.reserve(round_trips);
    for (int i = 0; i < round_trips; ++i) {
        lumadb_result result{};
        const auto start = clock_type::now();
        const uint32_t status = lumadb_query(handle, "select v, n from t", &result);
        times.push_back(seconds_since(start));
        lumadb_free_result(&result);
        if (status != 0) {
            std::fprintf(stderr, "query %d failed with %u\n", i, status);
            break;
        }
    }
    lumadb_close(handle);
    for (const std::string &failure : server.finish())
        std::fprintf(stderr, "server: %s\n", failure.c_str());
    std::sort(times.begin(), times.end());
    std::printf("round trip: one-row query over TLS on loopback, %zu queries\n", times.size());
    std::printf("  median %8.1f us, 90th percentile %8.1f us\n", times[times.size() / 2] * 1e6,
                times[times.size() * 9 / 10] * 1e6);
    return 0;
}

} // namespace

int main()
{
    return bench_decode() | bench_round_trip();
}
