// Loading the maximal world, against one plain pass that only splits the same
// files into tokens. Loading reads each file once from start to end, so it
// should cost no more than about twice that pass.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "support/max_world.h"
#include "world/scene_file.h"
#include "world/tokens.h"
#include "world/verb_file.h"

namespace {

const char* const LoadName = "BM_LoadWorld";
const char* const PlainName = "BM_PlainTokenPass";

int64_t worldBytes = 0;

void writeFile(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
    worldBytes += static_cast<int64_t>(bytes.size());
}

// Start-up's loading: the verb table, then every scene.
void BM_LoadWorld(benchmark::State& state) {
    for (auto _ : state) {
        clearInventory();
        loadVerbs();
        benchmark::DoNotOptimize(loadScenes());
    }
    if (game.sceneCount != MaxScenes) state.SkipWithError("the world did not load whole");
    state.SetBytesProcessed(state.iterations() * worldBytes);
}

// A restart: every scene again.
void BM_RestartScenes(benchmark::State& state) {
    for (auto _ : state) {
        clearInventory();
        benchmark::DoNotOptimize(loadScenes());
    }
}

void BM_PlainTokenPass(benchmark::State& state) {
    for (auto _ : state) {
        int64_t tokens = 0;
        for (const char* name : {"verbs.dat", "scenes.dat"}) {
            TokenReader reader;
            if (!openTokens(reader, name)) state.SkipWithError("no file");
            char token[TokenSize];
            while (readToken(reader, token, TokenSize)) ++tokens;
            closeTokens(reader);
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * worldBytes);
}

BENCHMARK(BM_LoadWorld)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RestartScenes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainTokenPass)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console report, keeping each benchmark's time per iteration (the median
// when there are repetitions) for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> milliseconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median") continue;
            double unitsPerMs = benchmark::GetTimeUnitMultiplier(run.time_unit) / 1e3;
            milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime() / unitsPerMs;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    std::string directory = (std::filesystem::temp_directory_path() / "mwk-bench-XXXXXX").string();
    if (mkdtemp(directory.data()) == nullptr) return 1;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(directory);
    WorldFiles world = maximalWorld();
    writeFile("verbs.dat", world.verbs);
    writeFile("scenes.dat", world.scenes);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);

    std::printf("world files: %lld bytes (verbs.dat %zu, scenes.dat %zu)\n",
                static_cast<long long>(worldBytes), world.verbs.size(), world.scenes.size());
    auto load = reporter.milliseconds.find(LoadName);
    auto plain = reporter.milliseconds.find(PlainName);
    if (load != reporter.milliseconds.end() && plain != reporter.milliseconds.end())
        std::printf("load %.2f ms, plain token pass %.2f ms, ratio %.2f (goal: at most 2)\n",
                    load->second, plain->second, load->second / plain->second);
    return 0;
}
