// The package check under Wine, on the demo package and the copies tools/sign-demo-package.sh makes
// of it (unsigned, changed after signing, signed by a key that is not pinned).
#include <gtest/gtest.h>

#include <windows.h>
#include <softpub.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "KPCore/inner/PackageProcess.h"
#include "net/PackageTrust.h"

namespace {

std::wstring DemoFile(const std::wstring& name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    for (int up = 0; up < 3; ++up)  // ...\tests\net\me.exe -> the build folder
        folder = folder.substr(0, folder.find_last_of(L'\\'));
    return folder + L"\\tools\\demo\\" + name;
}

std::vector<Sha256Digest> PinFrom(const std::wstring& file)
{
    std::ifstream in(std::string(file.begin(), file.end()));  // an ASCII path
    std::stringstream text;
    text << in.rdbuf();
    return ParseSignerPins(text.str()).value_or(std::vector<Sha256Digest>());
}

std::wstring TempCopy(const std::wstring& source, const std::wstring& name, std::size_t keep = SIZE_MAX)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"kptrust-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
    DeleteFileW(path.c_str());
    if (!CopyFileW(source.c_str(), path.c_str(), FALSE)) return L"";
    if (keep != SIZE_MAX) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(keep);
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    return path;
}

class PackageTrust : public ::testing::Test {
protected:
    void SetUp() override
    {
        demoPin = PinFrom(DemoFile(L"KPCaptureSetup.pin"));
        foreignPin = PinFrom(DemoFile(L"KPCaptureSetup-foreign.pin"));
        ASSERT_EQ(demoPin.size(), 1u) << "the demo package is signed when it is built";
        ASSERT_EQ(foreignPin.size(), 1u);
        both = {demoPin[0], foreignPin[0]};
    }

    static PackageCheck Check(const std::wstring& path, const std::vector<Sha256Digest>& pins)
    {
        const CPackageFile file(path);
        return file.Verify(pins);
    }

    std::vector<Sha256Digest> demoPin, foreignPin, both;
};

}  // namespace

TEST_F(PackageTrust, OnlyTheGenuineSignedPackagePasses)
{
    const std::wstring genuine = DemoFile(L"KPCaptureSetup.exe");
    const std::wstring foreign = DemoFile(L"KPCaptureSetup-foreign.exe");
    PackageCheck check = Check(genuine, demoPin);
    EXPECT_EQ(check.verdict, PackageVerdict::Trusted) << check.detail;
    // The log names the signer by its certificate and its key, whose digest is the pin.
    EXPECT_EQ(check.signer.rfind(L"KPSetup Demo Publisher, key ", 0), 0u) << check.signer;
    EXPECT_EQ(check.signer.size(), std::wstring(L"KPSetup Demo Publisher, key ").size() + 64);
    EXPECT_EQ(Check(foreign, demoPin).signer.rfind(L"KPSetup Foreign Publisher, key ", 0), 0u);
    EXPECT_EQ(Check(genuine, both).verdict, PackageVerdict::Trusted);
    EXPECT_EQ(Check(genuine, BuiltInSignerPins()).verdict, PackageVerdict::Trusted)
        << "this build trusts the demo publisher";

    // Valid signatures by a key that is not on the list.
    EXPECT_EQ(Check(genuine, foreignPin).verdict, PackageVerdict::SignerNotPinned);
    EXPECT_EQ(Check(genuine, {}).verdict, PackageVerdict::SignerNotPinned);
    EXPECT_EQ(Check(foreign, demoPin).verdict, PackageVerdict::SignerNotPinned);
    EXPECT_EQ(Check(foreign, both).verdict, PackageVerdict::Trusted) << "its signature itself holds";

    check = Check(DemoFile(L"KPCaptureSetup-unsigned.exe"), both);
    EXPECT_EQ(check.verdict, PackageVerdict::NoSignature);
    EXPECT_EQ(check.detail, static_cast<long>(TRUST_E_NOSIGNATURE));
    EXPECT_EQ(check.signer, L"");
    check = Check(DemoFile(L"KPCaptureSetup-tampered.exe"), both);
    EXPECT_EQ(check.verdict, PackageVerdict::BadSignature);
    EXPECT_EQ(check.detail, static_cast<long>(TRUST_E_BAD_DIGEST));
}

TEST_F(PackageTrust, WhatIsNotACompleteProgramIsRefusedBeforeItsSignatureIsRead)
{
    const std::wstring genuine = DemoFile(L"KPCaptureSetup.exe");
    const std::wstring cut = TempCopy(genuine, L"cut.exe", 4096 + 100);
    PackageCheck check = Check(cut, demoPin);
    EXPECT_EQ(check.verdict, PackageVerdict::NotAnExecutable);
    const std::wstring empty = TempCopy(genuine, L"empty.exe", 0);
    EXPECT_EQ(Check(empty, demoPin).verdict, PackageVerdict::NotAnExecutable);
    check = Check(cut + L".missing", demoPin);
    EXPECT_EQ(check.verdict, PackageVerdict::CannotOpen);
    EXPECT_EQ(check.detail, static_cast<long>(ERROR_FILE_NOT_FOUND));
    DeleteFileW(cut.c_str());
    DeleteFileW(empty.c_str());
}

TEST_F(PackageTrust, TheCheckedFileCannotBeChangedWhileHeldYetStarts)
{
    const std::wstring path = TempCopy(DemoFile(L"KPCaptureSetup.exe"), L"held.exe");
    const std::wstring other = TempCopy(DemoFile(L"KPCaptureSetup-foreign.exe"), L"other.exe");
    ASSERT_FALSE(path.empty());
    {
        const CPackageFile file(path);
        ASSERT_TRUE(file.IsOpen()) << file.OpenError();
        EXPECT_EQ(file.Verify(demoPin).verdict, PackageVerdict::Trusted);

        HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
        EXPECT_FALSE(DeleteFileW(path.c_str()));
        EXPECT_FALSE(MoveFileExW(path.c_str(), (path + L".moved").c_str(), 0));
        EXPECT_FALSE(MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) << "nor replaced";
        EXPECT_EQ(file.Verify(demoPin).verdict, PackageVerdict::Trusted) << "checked twice, same answer";

        // The system's loader still opens it: the package runs while the check's handle is held.
        // Without its arguments the demo package exits with 2 at once.
        DWORD error = 1;
        const std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(path, L"", &error);
        ASSERT_TRUE(process) << error;
        ASSERT_EQ(WaitForSingleObject(process->Process(), 30000), WAIT_OBJECT_0);
        EXPECT_EQ(*process->ExitCode(), 2u);
    }
    EXPECT_TRUE(DeleteFileW(path.c_str())) << "released with the object";
    DeleteFileW(other.c_str());
}

TEST_F(PackageTrust, AFileSomebodyHoldsForWritingCannotBeChecked)
{
    const std::wstring path = TempCopy(DemoFile(L"KPCaptureSetup.exe"), L"written.exe");
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const CPackageFile file(path);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.OpenError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    const PackageCheck check = file.Verify(demoPin);
    EXPECT_EQ(check.verdict, PackageVerdict::CannotOpen);
    EXPECT_EQ(check.detail, static_cast<long>(ERROR_SHARING_VIOLATION));
    CloseHandle(writer);
    DeleteFileW(path.c_str());
}
