// Filters on a 4000 x 3000 picture. The expression filter beside the same expression written
// by hand in C++ (the limit) and beside ImageMagick's -fx with the equivalent expression; the
// 3 x 3 and 5 x 5 convolutions beside OpenCV's filter2D (when installed). Rates in Mpixel/s;
// the real time of each run is what counts (threads).
#include "filters/BandRun.h"
#include "filters/Convolution.h"
#include "filters/FFRun.h"
#include "raster/Buffer.h"

#include <benchmark/benchmark.h>

#ifdef OV_HAVE_OPENCV
#include <opencv2/imgproc.hpp>
#endif

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <random>

#include <sys/resource.h>

namespace {

constexpr int W = 4000, H = 3000;

const Buffer& Picture() {
    static const Buffer b = [] {
        Buffer p;
        p.Alloc({W, H});
        std::mt19937 rng(1);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) p.At(x, y) = rng() & 0xFFFFFF;
        return p;
    }();
    return b;
}

void SetRate(benchmark::State& state) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(W) * H * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// The typical filter: place, controls, arithmetic and a conditional.
const std::array<std::string_view, 3> kExpr = {
    "y < Y / 2 ? r * ctl(0) / 255 : 255 - r",
    "(g + x * 255 / X) / 2",
    "x > X / 2 ? b * ctl(1) / 255 : b",
};
const std::array<int32_t, 8> kCtl = {200, 100, 0, 0, 0, 0, 0, 0};

void BM_Expression(benchmark::State& state) {
    const ff::CompiledFilter f = ff::CompileAll(kExpr);
    Buffer dest;
    dest.Alloc({W, H});
    for (auto _ : state) {
        ff::FilterRun run(f, Picture(), kCtl);
        run.Rows(dest, 0, H, int(state.range(0)));
        benchmark::DoNotOptimize(dest.pixels);
    }
    SetRate(state);
}
BENCHMARK(BM_Expression)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

inline uint32_t Clamp8(int v) {
    return uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void BM_ExpressionByHand(benchmark::State& state) {
    Buffer dest;
    dest.Alloc({W, H});
    const Buffer& src = Picture();
    for (auto _ : state) {
        for (int y = 0; y < H; ++y) {
            const uint32_t* s = src.Row(y);
            uint32_t* d = dest.Row(y);
            for (int x = 0; x < W; ++x) {
                const int r = int(s[x] >> 16 & 255), g = int(s[x] >> 8 & 255), b = int(s[x] & 255);
                const int R = y < H / 2 ? r * kCtl[0] / 255 : 255 - r;
                const int G = (g + x * 255 / W) / 2;
                const int B = x > W / 2 ? b * kCtl[1] / 255 : b;
                d[x] = Clamp8(R) << 16 | Clamp8(G) << 8 | Clamp8(B);
            }
        }
        benchmark::DoNotOptimize(dest.pixels);
    }
    SetRate(state);
}
BENCHMARK(BM_ExpressionByHand)->Unit(benchmark::kMillisecond)->UseRealTime();

// ImageMagick's -fx with the same expression per channel, on the same picture as a PPM file;
// the time of reading and writing the files alone (a plain convert) is taken off. Timed as the
// children's processor time (all of convert's threads), which a busy machine does not inflate.
double ChildSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void BM_ImageMagickFx(benchmark::State& state) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.ppm"));
    {
        QByteArray ppm = "P6\n4000 3000\n255\n";
        ppm.reserve(ppm.size() + qsizetype(W) * H * 3);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const uint32_t p = Picture().At(x, y);
                ppm += char(p >> 16), ppm += char(p >> 8), ppm += char(p);
            }
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(ppm) != ppm.size()) {
            state.SkipWithError("cannot write the picture");
            return;
        }
    }
    const std::string base = "convert '" + in.toStdString() + "' ";
    const std::string out = " '" + dir.filePath(QStringLiteral("out.ppm")).toStdString() + "'";
    const std::string fx = base +
                           "-channel R -fx 'j < h/2 ? floor(u*200/255*255)/255 : 1-u' "
                           "-channel G -fx 'floor((u*255 + floor(i*255/w))/2)/255' "
                           "-channel B -fx 'i > w/2 ? floor(u*100/255*255)/255 : u'" +
                           out;
    for (auto _ : state) {
        const double t0 = ChildSeconds();
        if (std::system((base + out).c_str()) != 0) {
            state.SkipWithError("convert is missing");
            return;
        }
        const double t1 = ChildSeconds();
        if (std::system(fx.c_str()) != 0) {
            state.SkipWithError("convert -fx failed");
            return;
        }
        state.SetIterationTime(ChildSeconds() - t1 - (t1 - t0));
    }
    SetRate(state);
}
BENCHMARK(BM_ImageMagickFx)->Iterations(1)->Unit(benchmark::kMillisecond)->UseManualTime();

ConvolutionSettings Kernel(int size) {
    ConvolutionSettings s;
    if (size == 5)
        s.cells = {1, 2, 3, 2, 1, 2, 4, 6, 4, 2, 3, 6, 9, 6, 3, 2, 4, 6, 4, 2, 1, 2, 3, 2, 1};
    s.divisor = size == 5 ? 81 : 9;
    s.bias = 3;
    return s;
}

void BM_Convolution(benchmark::State& state) {
    const conv::Kernel k = conv::MakeKernel(Kernel(int(state.range(0))));
    Buffer dest;
    dest.Alloc({W, H});
    const int threads = int(state.range(1));
    for (auto _ : state) {
        bands::Split(0, H, threads,
                     [&](int a, int b, int) { conv::Rows(k, Picture(), dest, a, b); });
        benchmark::DoNotOptimize(dest.pixels);
    }
    SetRate(state);
}
BENCHMARK(BM_Convolution)
    ->Args({3, 1})
    ->Args({3, 2})
    ->Args({5, 1})
    ->Args({5, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef OV_HAVE_OPENCV
// The same weights and bias on the same pixels as 8-bit BGR, edges replicated.
void BM_OpenCVFilter2D(benchmark::State& state) {
    const int size = int(state.range(0));
    const conv::Kernel k = conv::MakeKernel(Kernel(size));
    cv::Mat src(H, W, CV_8UC3), dst;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t p = Picture().At(x, y);
            src.at<cv::Vec3b>(y, x) = cv::Vec3b(uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16));
        }
    cv::Mat kernel(size, size, CV_32F);
    for (int i = 0; i < size * size; ++i) kernel.at<float>(i / size, i % size) = k.w[size_t(i)];
    for (auto _ : state) {
        cv::filter2D(src, dst, -1, kernel, cv::Point(-1, -1), k.bias, cv::BORDER_REPLICATE);
        benchmark::DoNotOptimize(dst.data);
    }
    SetRate(state);
}
BENCHMARK(BM_OpenCVFilter2D)->Arg(3)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

} // namespace

BENCHMARK_MAIN();
