// Micro-benchmarks of the converter's hot pieces: number formatting, one node block, one edge
// block, one node line. Inputs follow what a fitted 20-unit scene holds.

#include "layout/node_line.hpp"
#include "output/byte_sink.hpp"
#include "scene/drawing_style.hpp"
#include "scene/edge_geometry.hpp"
#include "tests/support/splitmix64.hpp"
#include "vrml/number_format.hpp"
#include "vrml/vrml_writer.hpp"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSampleCount = 4096; // a power of two, cycled through with a mask
constexpr std::size_t kSampleMask = kSampleCount - 1;

using Random = l2v::testing::SplitMix64;

// What an edge block prints: coordinates within +-10, differences within +-20, angles within
// +-pi/2, heights up to ~30, and now and then an exact zero.
std::vector<double> sceneValues() {
    Random random(1);
    std::vector<double> values;
    for (std::size_t i = 0; i < kSampleCount; ++i) {
        switch (i % 8) {
        case 0:
        case 1:
        case 2:
            values.push_back(random.between(-10.0, 10.0));
            break;
        case 3:
        case 4:
            values.push_back(random.between(-20.0, 20.0));
            break;
        case 5:
        case 6:
            values.push_back(random.between(-1.5707963, 1.5707963));
            break;
        default:
            values.push_back(i % 64 == 7 ? 0.0 : random.between(-0.4, 30.0));
        }
    }
    return values;
}

std::vector<l2v::Point> scenePoints() {
    Random random(2);
    std::vector<l2v::Point> points(kSampleCount);
    for (l2v::Point& point : points) {
        point = {random.between(-10.0, 10.0), random.between(-10.0, 10.0),
                 random.between(-10.0, 10.0)};
    }
    return points;
}

class DiscardingSink : public l2v::ByteSink {
  public:
    void write(const char* data, std::size_t size) override {
        benchmark::DoNotOptimize(data);
        benchmark::DoNotOptimize(size);
    }
};

template <char* (*Format)(char*, double)> void formatNumbers(benchmark::State& state) {
    const std::vector<double> values = sceneValues();
    char text[l2v::kMaxFixedLength];
    std::size_t at = 0;
    for (auto _ : state) {
        char* end = Format(text, values[at++ & kSampleMask]);
        benchmark::DoNotOptimize(end);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

char* formatWithSnprintf(char* out, double value) {
    return out + std::snprintf(out, l2v::kMaxFixedLength, "%f", value);
}

void BM_WriteFixed(benchmark::State& state) {
    formatNumbers<l2v::writeFixed>(state);
}
void BM_WriteFixedExact(benchmark::State& state) {
    formatNumbers<l2v::writeFixedExact>(state);
}
void BM_Snprintf(benchmark::State& state) {
    formatNumbers<formatWithSnprintf>(state);
}
BENCHMARK(BM_WriteFixed);
BENCHMARK(BM_WriteFixedExact);
BENCHMARK(BM_Snprintf);

// Argument: 1 with labels, 0 without.
void BM_WriteNode(benchmark::State& state) {
    const std::vector<l2v::Point> points = scenePoints();
    DiscardingSink sink;
    l2v::VrmlWriter writer(sink, l2v::DrawingStyle{}, state.range(0) != 0);
    std::uint32_t node = 0;
    for (auto _ : state) {
        const l2v::Point& at = points[node & kSampleMask];
        writer.writeNode(at.x, at.y, at.z, static_cast<std::int32_t>(1 + node % 13), node);
        ++node;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteNode)->Arg(0)->Arg(1);

void BM_ComputeEdgeGeometry(benchmark::State& state) {
    const std::vector<l2v::Point> points = scenePoints();
    std::size_t at = 0;
    for (auto _ : state) {
        const l2v::EdgeGeometry edge =
            l2v::computeEdgeGeometry(points[at & kSampleMask], points[(at + 1) & kSampleMask]);
        benchmark::DoNotOptimize(edge);
        ++at;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeEdgeGeometry);

void BM_WriteEdge(benchmark::State& state) {
    const std::vector<l2v::Point> points = scenePoints();
    DiscardingSink sink;
    l2v::VrmlWriter writer(sink, l2v::DrawingStyle{}, false);
    std::size_t at = 0;
    for (auto _ : state) {
        writer.writeEdge(
            l2v::computeEdgeGeometry(points[at & kSampleMask], points[(at + 1) & kSampleMask]));
        ++at;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteEdge);

// Node lines as the benchmark generator writes them: 6 to 10 significant digits, degree 6.
std::vector<std::string> nodeLines(std::int32_t nodeCount) {
    Random random(3);
    std::vector<std::string> lines;
    char text[64];
    for (std::size_t i = 0; i < kSampleCount; ++i) {
        std::string line;
        for (int axis = 0; axis < 3; ++axis) {
            const int decimals = 5 + static_cast<int>(random.next() % 6);
            std::snprintf(text, sizeof text, "%s%.*f", axis > 0 ? " " : "", decimals,
                          random.between(-999.0, 999.0));
            line += text;
        }
        for (int k = 0; k < 6; ++k) {
            line += ' ' + std::to_string(1 + random.next() % static_cast<std::uint64_t>(nodeCount));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void BM_ParseNodeLine(benchmark::State& state) {
    constexpr std::int32_t kNodeCount = 200000;
    const std::vector<std::string> lines = nodeLines(kNodeCount);
    const std::string path = "bench.3dlayout";
    std::vector<std::int32_t> pool;
    pool.reserve(64);
    std::size_t at = 0;
    for (auto _ : state) {
        pool.clear();
        const l2v::LinePlace place{path, static_cast<int>(at)};
        const l2v::Point position =
            l2v::parseNodeLine(lines[at & kSampleMask], kNodeCount, place, pool);
        benchmark::DoNotOptimize(position);
        benchmark::DoNotOptimize(pool.data());
        ++at;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseNodeLine);

} // namespace

BENCHMARK_MAIN();
