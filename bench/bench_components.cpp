// The shipped blur component on a 4000 x 3000 picture at radius 10, loaded as the program loads
// it, beside OpenCV's box blur (one pass) and, for the smooth blur (three box passes: reach 3 x
// radius, sigma sqrt(3 (21^2 - 1) / 12) = 10.49), its Gaussian blur of that kernel size and
// sigma, when OpenCV is installed. One thread each; rates in Mpixel/s.
#include "ovc.h"

#include <benchmark/benchmark.h>

#ifdef OV_HAVE_OPENCV
#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <dlfcn.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int W = 4000, H = 3000, Radius = 10;

const std::vector<uint32_t>& Source() {
    static const std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> p(size_t(W) * H);
        std::mt19937 rng(1);
        for (auto& v : p) v = rng() & 0xFFFFFF;
        return p;
    }();
    return pixels;
}

void SetRate(benchmark::State& state) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(W) * H * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

using Process = void (*)(void*, uint32_t);

Process Blur() {
    static Process process = [] {
        void* lib = dlopen(OV_BUILD_DIR "/Comps/Blur/boxblur.ovc", RTLD_NOW | RTLD_LOCAL);
        return lib ? reinterpret_cast<Process>(dlsym(lib, "OVCPROCESS")) : nullptr;
    }();
    return process;
}

void BM_ComponentBlur(benchmark::State& state) {
    Process process = Blur();
    if (!process) return state.SkipWithError("build/Comps/Blur/boxblur.ovc not loadable");
    std::vector<uint32_t> dst(Source().size());
    OvcEnv env{};
    env.src = Source().data();
    env.dst = dst.data();
    env.width = W;
    env.height = H;
    env.right = W - 1;
    env.bottom = H - 1;
    env.final = 1;
    unsigned char values[OVC_VALUES_SIZE] = {};
    const int32_t v[2] = {Radius, int32_t(state.range(0))};
    std::memcpy(values, v, sizeof v);
    process(&env, OVC_START);
    process(values, OVC_PARAMS);
    for (auto _ : state) {
        process(&env, OVC_PROCESS);
        benchmark::DoNotOptimize(dst.data());
    }
    SetRate(state);
}
BENCHMARK(BM_ComponentBlur)->ArgName("smooth")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef OV_HAVE_OPENCV
// The same pixels as 8-bit BGRA, the layout a 0x00RRGGBB word has in memory.
void BM_OpenCVBlur(benchmark::State& state) {
    cv::setNumThreads(1);
    cv::Mat src(H, W, CV_8UC4, const_cast<uint32_t*>(Source().data())), dst;
    const cv::Size k(2 * Radius + 1, 2 * Radius + 1), smooth(6 * Radius + 1, 6 * Radius + 1);
    for (auto _ : state) {
        if (state.range(0))
            cv::GaussianBlur(src, dst, smooth, 10.49, 10.49, cv::BORDER_REPLICATE);
        else
            cv::blur(src, dst, k, cv::Point(-1, -1), cv::BORDER_REPLICATE);
        benchmark::DoNotOptimize(dst.data);
    }
    SetRate(state);
}
BENCHMARK(BM_OpenCVBlur)->ArgName("gaussian")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
