// Decoding the skin's largest images, the page backgrounds, as the first frame of a window does:
// the plain image drawn at 100 % and its @2x variant drawn at 200 %. Reads the files the skin
// generator wrote into this build folder (skin/images).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/image/ImageDecoder.h"

namespace {

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_DecodePageBackground(benchmark::State& state)
{
    const std::string name = state.range(0) == 200 ? "table_bg_install_01@2x.png" : "table_bg_install_01.png";
    const std::vector<unsigned char> bytes = ReadFile(std::string(KP_SKIN_IMAGES) + "/Install uninstall/" + name);
    if (bytes.empty()) {
        state.SkipWithError(("cannot read " + name).c_str());
        return;
    }
    for (auto _ : state) {
        auto image = SkinUI::DecodeImage(bytes.data(), bytes.size(), 0);
        if (!image) {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(image->pixels.data());
    }
    state.SetLabel(name);
}

}  // namespace

BENCHMARK(BM_DecodePageBackground)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
