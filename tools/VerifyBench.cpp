// Times the package check (open, PE structure, Authenticode signature, signer pin) on one file.
// Usage: kp_verify_bench.exe PACKAGE PIN [ROUNDS]
// Prints one line per round, "round N: <seconds> seconds, <verdict>", then the median of the rounds
// after the first (the first also loads wintrust and the crypto providers). Exit code 0 when every
// round found the package trusted.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/PackageTrust.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kp_verify_bench.exe PACKAGE PIN [ROUNDS]\n");
        return 2;
    }
    const std::wstring pinText(argv[2]);
    const auto pins = ParseSignerPins(std::string(pinText.begin(), pinText.end()));
    if (!pins || pins->empty()) {
        std::fprintf(stderr, "bad pin\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(2, _wtoi(argv[3])) : 5;
    std::vector<double> later;
    bool allTrusted = true;
    for (int round = 1; round <= rounds; ++round) {
        const auto begin = std::chrono::steady_clock::now();
        const CPackageFile file(argv[1]);
        const PackageCheck check = file.Verify(*pins);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        std::printf("round %d: %.3f seconds, %s\n", round, seconds, PackageVerdictName(check.verdict));
        allTrusted = allTrusted && check.verdict == PackageVerdict::Trusted;
        if (round > 1) later.push_back(seconds);
    }
    std::sort(later.begin(), later.end());
    std::printf("median of rounds 2-%d: %.3f seconds\n", rounds, later[later.size() / 2]);
    return allTrusted ? 0 : 1;
}
