// Reading a large drawing into the drawing window's drawing: 200,000 closed
// polylines of 4 vertices, and 200,000 luminaire blocks with two attributes
// each. Goal: each under 3 s on one core.

#include "cad/drawing/DrawingDxf.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kCount = 200'000;

std::filesystem::path benchFile(const char* name)
{
    return std::filesystem::temp_directory_path() / ("kzev-bench-" + std::to_string(::getpid()) + "-" + name);
}

std::filesystem::path polylines()
{
    static const std::filesystem::path file = [] {
        kzev::CadDrawing drawing;
        for (int i = 0; i < kCount; ++i) {
            kzev::DrawingEntity e;
            e.kind = kzev::DrawingEntityKind::Polyline;
            e.closed = true;
            const double x = (i % 500) * 1000.0;
            const double y = (i / 500) * 1000.0;
            e.points = { { x, y, 0.0 }, { x + 800.0, y, 0.0 }, { x + 800.0, y + 600.0, 0.0 }, { x, y + 600.0, 0.0 } };
            drawing.add(std::move(e));
        }
        const auto path = benchFile("polylines.dxf");
        kzev::writeDrawingDxf(drawing, path);
        return path;
    }();
    return file;
}

std::filesystem::path blocks()
{
    static const std::filesystem::path file = [] {
        kzev::CadDrawing drawing;
        for (int i = 0; i < kCount; ++i) {
            kzev::DrawingEntity e;
            e.kind = kzev::DrawingEntityKind::Block;
            e.blockName = "DAD31";
            e.points = { { (i % 500) * 1000.0, (i / 500) * 1000.0, 2800.0 } };
            e.scale[0] = e.scale[1] = e.scale[2] = 50.0;
            e.attributes = kzev::CadDrawing::blockAttributes(100.0);
            e.attributes[0].text = "0 0 0 0 -50 -50 1 12 3 4 5 6";
            e.attributes[1].text = "A" + std::to_string(i % 100);
            drawing.add(std::move(e));
        }
        const auto path = benchFile("blocks.dxf");
        kzev::writeDrawingDxf(drawing, path);
        return path;
    }();
    return file;
}

void read(benchmark::State& state, const std::filesystem::path& file)
{
    std::size_t entities = 0;
    for (auto _ : state) {
        std::string error;
        const auto drawing = kzev::readDrawingDxf(file, error, [](double) { return true; });
        if (!drawing) {
            state.SkipWithError(error.c_str());
            return;
        }
        entities = drawing->entities().size();
        benchmark::DoNotOptimize(entities);
    }
    state.counters["entities"] = static_cast<double>(entities);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

void BM_ReadPolylines(benchmark::State& state) { read(state, polylines()); }
void BM_ReadBlocksWithAttributes(benchmark::State& state) { read(state, blocks()); }

BENCHMARK(BM_ReadPolylines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadBlocksWithAttributes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The files go when the program ends.
const struct Cleanup {
    ~Cleanup()
    {
        std::error_code ignored;
        std::filesystem::remove(benchFile("polylines.dxf"), ignored);
        std::filesystem::remove(benchFile("blocks.dxf"), ignored);
    }
} cleanup;

} // namespace
