// tovani-cli resample IN OUT --size WxH --filter NAME [--bench N]
// Resizes a bitmap or JPEG picture with the game's filtered resampler and writes a 24-bit
// bitmap. With --bench N the picture is resampled N times and the median time of the
// resampling alone is printed in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "Commands.h"
#include "RenderArguments.h"
#include "core/Files.h"
#include "graphics/ImageIO.h"
#include "graphics/Resampler.h"

namespace tovani::cli {

int RunResample(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    int width = 0, height = 0, filter = -1, runs = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size") {
            if (i + 1 >= args.size())
                return Fail("--size needs WIDTHxHEIGHT");
            if (std::string why = PictureSizeProblem(args[++i], width, height); !why.empty())
                return Fail(why);
        } else if (a == "--filter") {
            if (i + 1 >= args.size())
                return Fail("--filter needs a filter name");
            filter = FilterByName(args[++i]);
            if (filter < 0)
                return Fail("unknown filter \"" + args[i] +
                            "\"; the filters are Box, Triangle, Hermite, Bell, B-Spline, "
                            "Lanczos3 and Mitchell");
        } else if (a == "--bench") {
            if (i + 1 >= args.size() || !ParseCount(args[++i], runs))
                return Fail("--bench needs a number of runs from 1 to 100000");
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail("unknown option \"" + a + "\"");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return Fail("resample needs an input picture and an output file");
    if (width == 0)
        return Fail("resample needs --size WIDTHxHEIGHT");
    if (filter < 0)
        return Fail("resample needs --filter NAME");

    PictureResult in = LoadPictureFile(files[0]);
    if (!in)
        return Fail("cannot use \"" + files[0] + "\": " + in.error);
    PixelBuffer out(width, height);
    std::string error;
    if (!Resample(*in.picture, out, filter, &error))
        return Fail(error);
    if (runs > 0) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Resample(*in.picture, out, filter);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%.3f\n", times[times.size() / 2]);
    }
    if (!WriteFileAtomic(files[1], EncodeBmp24(out)))
        return Fail("cannot write \"" + files[1] + "\"");
    return 0;
}

} // namespace tovani::cli
