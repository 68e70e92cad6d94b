// The one-line text codec on a text of about 1 KB (32 name/value pairs), both ways.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "settings/uStrList.h"
#include "settings/uToolsObj.h"

namespace {

TStringList KilobyteList() {
    TStringList list;
    for (int i = 0; i < 32; ++i)
        list.Add("Name" + std::to_string(i) + "=value of entry " + std::to_string(i));
    return list;
}

void BM_ListToJson_1KB(benchmark::State& state) {
    const TStringList list = KilobyteList();
    for (auto _ : state) benchmark::DoNotOptimize(TJSon::ListToJson(list));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(TJSon::ListToJson(list).size()));
}
BENCHMARK(BM_ListToJson_1KB);

void BM_JsonToList_1KB(benchmark::State& state) {
    const AnsiString text = TJSon::ListToJson(KilobyteList());
    if (text.size() < 900 || text.size() > 1200) state.SkipWithError("the text is not about 1 KB");
    for (auto _ : state) benchmark::DoNotOptimize(TJSon::JsonToList(text));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_JsonToList_1KB);

}  // namespace
