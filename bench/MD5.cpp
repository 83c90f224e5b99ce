// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of our MD5 against OpenSSL's on the input sizes the wire layer sees: a 14-byte
// header digest, a typical 62-byte message and a 4 KiB body.
#include "base/CMD5Checksum.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> MakeInput(size_t size) {
    std::vector<uint8_t> input(size);
    for (size_t i = 0; i < size; ++i)
        input[i] = static_cast<uint8_t>(i * 131 + 7);
    return input;
}

void BM_KeloMD5(benchmark::State& state) {
    const std::vector<uint8_t> input = MakeInput(static_cast<size_t>(state.range(0)));
    uint8_t digest[kelo::CMD5Checksum::DIGEST_SIZE];
    for (auto _ : state) {
        kelo::CMD5Checksum::ComputeDigest(input.data(), input.size(), digest);
        benchmark::DoNotOptimize(digest);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// The MD5_* calls are deprecated in OpenSSL 3 but remain the cheapest way in: the EVP layer
// adds an allocation and a dispatch per digest, which would flatter our numbers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void BM_OpenSslMD5(benchmark::State& state) {
    const std::vector<uint8_t> input = MakeInput(static_cast<size_t>(state.range(0)));
    uint8_t digest[MD5_DIGEST_LENGTH];
    for (auto _ : state) {
        MD5(input.data(), input.size(), digest);
        benchmark::DoNotOptimize(digest);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
#pragma GCC diagnostic pop

BENCHMARK(BM_KeloMD5)->Arg(14)->Arg(62)->Arg(4096);
BENCHMARK(BM_OpenSslMD5)->Arg(14)->Arg(62)->Arg(4096);

} // namespace
