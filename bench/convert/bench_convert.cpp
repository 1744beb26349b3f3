// Conversion throughput of 5-megapixel result images (8-bit, 16-bit, BGR, BGRA), each
// next to a memcpy of the same number of source bytes measured in the same run.
// Usage: bench_convert [iterations]
#include "ImageConvert.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures
{
    double best = 0; // MB/s of the fastest pass
    double median = 0;
};

template <typename F>
Figures measure(int iterations, double megabytes, F &&pass)
{
    pass(); // warm-up: first touches, lazy library set-up
    std::vector<double> rates;
    for (int i = 0; i < iterations; ++i) {
        const auto t0 = Clock::now();
        pass();
        const std::chrono::duration<double> s = Clock::now() - t0;
        rates.push_back(megabytes / s.count());
    }
    std::sort(rates.begin(), rates.end());
    return Figures{rates.back(), rates[rates.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const int width = 2592, height = 1944; // 5.04 megapixels
    struct Case
    {
        const char *name;
        int type;
    };
    const Case cases[] = {{"8-bit mono (CV_8UC1)", CV_8UC1},
                          {"16-bit mono (CV_16UC1)", CV_16UC1},
                          {"3-channel BGR (CV_8UC3)", CV_8UC3},
                          {"4-channel BGRA (CV_8UC4)", CV_8UC4}};

    std::printf("%d x %d pixels, %d timed passes each; MB/s of source bytes (best / median)\n", width, height,
                iterations);
    std::printf("%-26s %10s %21s %21s %9s\n", "image", "bytes", "conversion", "memcpy", "ratio");
    bool allMet = true;
    for (const Case &c : cases) {
        cv::Mat src(height, width, c.type);
        cv::randu(src, cv::Scalar::all(0), cv::Scalar::all(c.type == CV_16UC1 ? 4096 : 256));
        const size_t bytes = src.total() * src.elemSize();
        const double mb = bytes / 1e6;
        std::vector<unsigned char> copy(bytes, 1); // touched once, like the image buffers in steady use

        const Figures conv = measure(iterations, mb, [&] {
            const QImage image = imageconvert::toQImage(src);
            if (image.isNull())
                std::abort();
        });
        const Figures mem = measure(iterations, mb, [&] {
            std::memcpy(copy.data(), src.data, bytes);
            asm volatile("" : : "r"(copy.data()) : "memory");
        });
        const double ratio = conv.median / mem.median;
        allMet = allMet && ratio >= 0.40;
        std::printf("%-26s %10zu %10.0f /%9.0f %10.0f /%9.0f %8.0f%%\n", c.name, bytes, conv.best, conv.median, mem.best,
                    mem.median, ratio * 100);
    }
    std::printf("target: every conversion >= 40%% of memcpy (median): %s\n", allMet ? "met" : "NOT met");
    return 0;
}
