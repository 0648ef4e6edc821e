// Start-up: the program from its start to the first frame painted once it is interactive
// (OV_QUIT_AFTER_FIRST_PAINT), blank and with a 4000 x 3000 PNG or JPEG named on the command
// line, beside the minimal Qt program that shows the same picture (ovbench_minimal), the two
// started in turn. Timed from the spawn to the first paint each prints (the monotonic clock), so
// shutdown stays out; run it on a display (xvfb-run) or the offscreen platform.
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <cstdio>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int W = 4000, H = 3000;

struct Files {
    QTemporaryDir dir;
    std::string config, png, jpg;
    Files() {
        QImage photo(W, H, QImage::Format_RGB32);
        for (int y = 0; y < H; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(photo.scanLine(y));
            for (int x = 0; x < W; ++x) {
                const uint32_t r = uint32_t(128 + 100 * std::sin(x * 0.003)) & 0xFF;
                line[x] = 0xFF000000u | r << 16 | uint32_t(y * 255 / H) << 8 |
                          (uint32_t((x ^ y) & 0x1F) + 100);
            }
        }
        png = dir.filePath(QStringLiteral("photo.png")).toStdString();
        jpg = dir.filePath(QStringLiteral("photo.jpg")).toStdString();
        config = dir.filePath(QStringLiteral("config")).toStdString();
        photo.save(QString::fromStdString(png));
        QImageWriter writer(QString::fromStdString(jpg));
        writer.setQuality(90);
        writer.write(photo);
    }
};

Files& Shared() {
    static Files files;
    return files;
}

// Seconds from spawning program (with args) to its first paint; negative when it failed.
double RunSeconds(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> env = {"OV_QUIT_AFTER_FIRST_PAINT=1",
                                    "XDG_CONFIG_HOME=" + Shared().config};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0) env.emplace_back(*e);
    std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string out = Shared().dir.filePath(QStringLiteral("out.txt")).toStdString();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // What the last program left to the system (the display server freeing its windows, the
    // kernel its memory) is done before the next one starts, so no run pays for another's.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    long long painted = 0;
    if (FILE* f = std::fopen(out.c_str(), "r")) {
        if (std::fscanf(f, "first paint %lld", &painted) != 1) painted = 0;
        std::fclose(f);
    }
    if (painted == 0) return -1;
    return double(painted -
                  std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch())
                      .count()) *
           1e-9;
}

// The program and the minimal one started in turn, so that what else the machine does weighs on
// both alike: the iteration time is the program's, the counter "minimal_ms" the minimal's.
void Start(benchmark::State& state, const char* picture) {
    std::vector<std::string> args;
    if (std::string(picture) == "png") args.push_back(Shared().png);
    if (std::string(picture) == "jpg") args.push_back(Shared().jpg);
    // The files in the page cache, the libraries too.
    RunSeconds(OV_PROGRAM, args);
    RunSeconds(OV_MINIMAL, args);
    double minimal = 0;
    for (auto _ : state) {
        // Each goes first every other time: neither always starts on the other's warm caches.
        const bool programFirst = (state.iterations() & 1) == 0;
        const double first = RunSeconds(programFirst ? OV_PROGRAM : OV_MINIMAL, args);
        const double second = RunSeconds(programFirst ? OV_MINIMAL : OV_PROGRAM, args);
        const double s = programFirst ? first : second, m = programFirst ? second : first;
        if (s < 0 || m < 0) {
            state.SkipWithError("a program failed");
            return;
        }
        state.SetIterationTime(s);
        minimal += m;
    }
    state.counters["minimal_ms"] =
        benchmark::Counter(minimal * 1e3, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK_CAPTURE(Start, blank, "")->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, png, "png")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, jpg, "jpg")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
