// Cost of the two search-word encoders. percentEncode is the reference;
// jsEncodeUri builds and tears down a script engine per call, and running
// encodeURI on an engine kept alive shows how much of that is the set-up.
#include "text/script_object.h"
#include "text/url_encoding.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

const mz::Text word = "\xB6\xB7\xC6\xC6\xB2\xD4\xF1\xB7 abc&1"; // a typical search word

void percentEncodeReference(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(mz::percentEncode(word));
}
BENCHMARK(percentEncodeReference);

void jsEncodeUriFreshEngine(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(mz::jsEncodeUri(word));
}
BENCHMARK(jsEncodeUriFreshEngine)->Unit(benchmark::kMicrosecond);

void encodeUriOnKeptEngine(benchmark::State& state) {
    mz::ScriptObject script;
    for (auto _ : state)
        benchmark::DoNotOptimize(script.run("encodeURI", {word}));
}
BENCHMARK(encodeUriOnKeptEngine)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // a script engine needs one
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
