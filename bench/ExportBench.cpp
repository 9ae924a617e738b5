// OBJ export through the locale-proof TextWriter against the "%f" fprintf writer it
// replaced, on the grids of a flowering plant, checking that both give the same bytes;
// and the files the OBJ and glTF exports of the same plant write.
#include "exchange/GltfExport.h"
#include "math/Matrix4.h"
#include "math/TextWriter.h"
#include "model/ObjExport.h"
#include "organs/Grid.h"
#include "organs/ModelledBud.h"
#include "organs/ObjWriter.h"
#include "organs/OrganExport.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Surface {
    Grid positions, normals, texCoords;
    Matrix4 placement;
};

// A petal-like curved sheet of rows x columns samples, placed somewhere on the plant.
Surface makeSurface(int rows, int columns, int seed) {
    Surface s;
    s.positions.resize(rows, columns);
    s.normals.resize(rows, columns);
    s.texCoords.resize(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const double u = double(c) / (columns - 1), v = double(r) / (rows - 1);
            s.positions.at(r, c) = {(u - 0.5) * 0.3 * std::sin(3.1 * v), v * 0.7,
                                    0.05 * std::cos(6.0 * u + seed)};
            s.normals.at(r, c) = unit(Vector3{0.1 * std::sin(u + seed), 0.2, 1.0});
            s.texCoords.at(r, c) = {u, v, 0.0};
        }
    Matrix4 turn, shift;
    turn.setRotationZ(0.37 * seed);
    shift.setTranslation({0.01 * seed, 0.5 + 0.002 * seed, 0.0});
    s.placement = shift * turn;
    return s;
}

// The organ surfaces of a plant with `flowers` flowers of 16 organs each.
std::vector<Surface> makePlant(int flowers, int rows, int columns) {
    std::vector<Surface> surfaces;
    for (int f = 0; f < flowers; ++f)
        for (int organ = 0; organ < 16; ++organ)
            surfaces.push_back(makeSurface(rows, columns, f * 16 + organ));
    return surfaces;
}

// The positions of a copy of the sheet: the back one lies a hair below the front, as
// the export writes a petal's.
Grid copyPositions(const Surface& s, bool back) {
    if (!back)
        return s.positions;
    const std::vector<double> offsets(static_cast<size_t>(s.positions.rows()),
                                      kBackCopyOffset * reachOf({&s.positions}));
    return shiftedAlongNormals(s.positions, s.normals, true, offsets);
}

// The sheet's normals are never zero, so they are written as they are stored: the
// back copy's as stored, the front's negated.
void fprintfGrid(std::FILE* obj, const Surface& s, bool back, int base) {
    const int rows = s.positions.rows(), columns = s.positions.columns();
    const Grid positions = copyPositions(s, back);
    for (const Vector3& p : positions.cells()) {
        const Vector3 q = transformPoint(s.placement, p);
        std::fprintf(obj, "v %f %f %f\n", q.x, q.y, q.z);
    }
    for (const Vector3& n : s.normals.cells()) {
        const Vector3 m = s.placement.rotateVector(back ? n : -n);
        std::fprintf(obj, "vn %f %f %f\n", m.x, m.y, m.z);
    }
    for (const Vector3& t : s.texCoords.cells())
        std::fprintf(obj, "vt %f %f %f\n", t.x, t.y, t.z);
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int a = base + r * columns + c + 1, b = base + (r + 1) * columns + c + 1,
                      d = b + 1, e = a + 1;
            const int first[3] = {a, back ? b : d, back ? d : b};
            const int second[3] = {a, back ? d : e, back ? e : d};
            for (const int* face : {first, second})
                std::fprintf(obj, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", face[0], face[0], face[0],
                             face[1], face[1], face[1], face[2], face[2], face[2]);
        }
}

std::string exportWithTextWriter(const std::vector<Surface>& plant) {
    TextWriter obj;
    int base = 0;
    for (const Surface& s : plant)
        for (bool back : {false, true}) {
            writeGrid(obj, copyPositions(s, back), s.normals, s.texCoords, s.placement, back, base);
            base += s.positions.rows() * s.positions.columns();
        }
    return obj.take();
}

std::string exportWithFprintf(const std::vector<Surface>& plant) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* obj = open_memstream(&data, &size);
    int base = 0;
    for (const Surface& s : plant)
        for (bool back : {false, true}) {
            fprintfGrid(obj, s, back, base);
            base += s.positions.rows() * s.positions.columns();
        }
    std::fclose(obj);
    std::string text(data, size);
    std::free(data);
    return text;
}

void runExport(benchmark::State& state, std::string (*exporter)(const std::vector<Surface>&)) {
    const auto plant = makePlant(static_cast<int>(state.range(0)), 20, 20);
    if (exportWithTextWriter(plant) != exportWithFprintf(plant)) {
        state.SkipWithError("the two writers disagree");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = exporter(plant);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["vertices"] = double(plant.size()) * 2 * 400;
}

void BM_ExportTextWriter(benchmark::State& state) {
    runExport(state, exportWithTextWriter);
}
void BM_ExportFprintfBaseline(benchmark::State& state) {
    runExport(state, exportWithFprintf);
}

// Keeps the export walk's per-segment diagnostics off the report.
class SilencedStderr {
public:
    SilencedStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(null);
    }
    ~SilencedStderr() {
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    SilencedStderr(const SilencedStderr&) = delete;
    SilencedStderr& operator=(const SilencedStderr&) = delete;

private:
    int saved_;
};

// The whole export of a real plant: every organ's materials, groups and grids.
void BM_ExportPlant(benchmark::State& state) {
    OwnModelRecords records;
    const auto plant = samples::plant(records.records(), static_cast<int>(state.range(0)));
    const SilencedStderr quiet;
    int vertices = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        ObjExport out;
        vertices = plant->exportObj(out, Matrix4(), 0);
        bytes = out.obj.str().size() + out.mtl.str().size();
        benchmark::DoNotOptimize(out.obj.str().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["vertices"] = vertices;
}

// A fresh folder under /tmp for one benchmark's files, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string name =
            (std::filesystem::temp_directory_path() / "pelmora-bench-XXXXXX").string();
        if (mkdtemp(name.data()))
            path_ = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

long long fileBytes(const std::vector<std::string>& paths) {
    long long bytes = 0;
    for (const std::string& path : paths)
        bytes += static_cast<long long>(std::filesystem::file_size(path));
    return bytes;
}

// What the two save commands write for the same plant, files included: OBJ and MTL
// text (range 1: 0 both sides of every surface, as the command does by default, 1
// single surfaces) against one binary glTF file whose alike organs share meshes.
void BM_SavePlantObj(benchmark::State& state) {
    OwnModelRecords records;
    const auto plant = samples::plant(records.records(), static_cast<int>(state.range(0)));
    const ScratchFolder folder;
    const SilencedStderr quiet;
    std::string error;
    for (auto _ : state)
        if (!exportObjFiles(*plant, folder.file("plant"), state.range(1) != 0, nullptr, error))
            state.SkipWithError(error.c_str());
    state.counters["file_bytes"] =
        double(fileBytes({folder.file("plant.obj"), folder.file("plant.mtl")}));
}

// Arguments: the flowers, and the bloom written with it: none (0), from the buds
// worked out from the organs (1), from a bud modelled by hand (2).
void BM_SavePlantGlb(benchmark::State& state) {
    OwnModelRecords records;
    const auto plant = samples::plant(records.records(), static_cast<int>(state.range(0)));
    if (state.range(1) == 2) {
        std::shared_ptr<const ModelledBud> bud;
        for (const auto& branch : plant->branches) {
            auto* head = static_cast<FlowerTorusNode*>(branch.composite->segments.back().node.get());
            if (!bud)
                bud = std::make_shared<const ModelledBud>(
                    samples::handModelledBud(*head, records.records()));
            head->modelledBud = bud;
        }
    }
    const GltfBloom bloom{state.range(1) == 0 ? 0.0 : 4.0};
    const ScratchFolder folder;
    std::string error;
    GltfSummary summary;
    for (auto _ : state)
        if (!exportGltfFile(*plant, folder.file("plant.glb"), readGltfImage, nullptr, error,
                            &summary, bloom))
            state.SkipWithError(error.c_str());
    state.counters["file_bytes"] = double(fileBytes({folder.file("plant.glb")}));
    state.counters["meshes"] = summary.meshes;
    state.counters["triangles"] = double(summary.triangles);
}

} // namespace

BENCHMARK(BM_SavePlantObj)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePlantGlb)->Args({50, 0})->Args({50, 1})->Args({50, 2})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPlant)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
// 50 flowers (640 000 vertices, both sides) and 100 flowers (1 280 000 vertices).
BENCHMARK(BM_ExportTextWriter)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFprintfBaseline)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
