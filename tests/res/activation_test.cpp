// This program carries the executable's resources, so the process runs
// with the full manifest as its default activation context. The runner's
// test double lies beside it.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/app_run.h"

namespace {

CLSID Clsid(const wchar_t* text) {
    CLSID id{};
    CLSIDFromString(text, &id);
    return id;
}

const wchar_t* const kRuntimeClasses[] = {
    L"{CAF3F30D-6A26-4FCB-B160-5353976D86D0}",
    L"{FEC34EC9-3552-42A3-A5A5-6706B09E919D}",
    L"{692BE9B0-CF1F-4403-BFAA-D6B6205A185D}",
};
const wchar_t* const kControlClasses[] = {
    L"{4004166A-8584-4845-A43A-1D738905A21D}", L"{157FB3DF-0B65-4848-ACAD-60E309E09275}",
    L"{15E8AAED-F466-42AC-AB1E-DE31C9E1C8D5}", L"{C2BC989C-2770-41D9-B462-4BDE4E7C0328}",
    L"{FA0E7D7B-10F8-4EB5-9963-5ECD08AB36B1}", L"{0796C5F2-ADF0-41F3-949C-670AD7FE9048}",
    L"{4A5344DD-2407-48D6-A35F-052CD3C662D8}", L"{D89E1537-6279-4910-8ADD-3988DBC10272}",
};

class Activation : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(Activation, RunnerIsCreatedFromTheServerBesideTheExecutable) {
    link14::IAppRun* runner = nullptr;
    ASSERT_EQ(CoCreateInstance(link14::CLSID_AppRun, nullptr, link14::kAppRunClassContext,
                               link14::IID_IAppRun, reinterpret_cast<void**>(&runner)),
              S_OK);
    runner->Release();
}

TEST_F(Activation, ClassesOfTheRuntimeAndTheDialogsResolve) {
    std::vector<const wchar_t*> classes(std::begin(kRuntimeClasses), std::end(kRuntimeClasses));
    classes.insert(classes.end(), std::begin(kControlClasses), std::end(kControlClasses));
    for (const wchar_t* text : classes) {
        const CLSID id = Clsid(text);
        ACTCTX_SECTION_KEYED_DATA data{};
        data.cbSize = sizeof(data);
        EXPECT_TRUE(FindActCtxSectionGuid(
            0, nullptr, ACTIVATION_CONTEXT_SECTION_COM_SERVER_REDIRECTION, &id, &data))
            << "not in the activation context: " << std::string(text, text + 38);
    }
}

TEST_F(Activation, ServersThatAreNotThereFailAsMissingFilesNotAsUnknownClasses) {
    // The business component and the controls are declared but not deployed here.
    const CLSID biz = Clsid(kRuntimeClasses[1]);
    IUnknown* object = nullptr;
    const HRESULT hr = CoCreateInstance(biz, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(&object));
    EXPECT_TRUE(FAILED(hr));
    EXPECT_NE(hr, REGDB_E_CLASSNOTREG);
    // {00000000-0000-0000-0000-0000000000AB}: in no manifest and no registry.
    const CLSID unknown = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0xAB}};
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
}

TEST_F(Activation, ProgIdNamesTheRunner) {
    wchar_t* progid = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(link14::CLSID_AppRun, &progid), S_OK);
    EXPECT_EQ(std::wstring(progid), L"Numra.ZRShotokuzeiUI");
    CoTaskMemFree(progid);
    // The platform may answer with an alias of the class; it must still
    // create the runner.
    CLSID id{};
    ASSERT_EQ(CLSIDFromProgID(L"Numra.ZRShotokuzeiUI", &id), S_OK);
    link14::IAppRun* runner = nullptr;
    ASSERT_EQ(CoCreateInstance(id, nullptr, link14::kAppRunClassContext, link14::IID_IAppRun,
                               reinterpret_cast<void**>(&runner)),
              S_OK);
    runner->Release();
}

TEST(ActivationContext, RunLevelAsInvokerWithoutUiAccess) {
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION info{};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, RunlevelInformationInActivationContext, &info,
                             sizeof(info), &written));
    EXPECT_EQ(info.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(info.UiAccess, 0u);
}

// No context handle: the process default context, built from the manifest.
TEST(ActivationContext, DpiAware) {
    EXPECT_TRUE(IsProcessDPIAware());
    wchar_t value[16] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr,
                                     L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                     L"dpiAware", value, 16, &written));
    EXPECT_EQ(std::wstring(value), L"true");
}

TEST(ActivationContext, SupportedOperatingSystemsInOrder) {
    alignas(8) unsigned char buffer[512] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, CompatibilityInformationInActivationContext,
                             buffer, sizeof(buffer), &written));
    DWORD count = 0;
    memcpy(&count, buffer, sizeof(count));
    ASSERT_EQ(count, 5u);
    // Elements are {GUID, type} or, in newer layouts, {GUID, type, max version}.
    const SIZE_T stride = (written % 32 == 8) ? 32 : 20;
    const SIZE_T first = stride == 32 ? 8 : 4;
    const wchar_t* expected[] = {
        L"{E2011457-1546-43C5-A5FE-008DEEE3D3F0}", L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",
        L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}", L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",
        L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}",
    };
    for (DWORD i = 0; i < count; ++i) {
        GUID id;
        memcpy(&id, buffer + first + i * stride, sizeof(id));
        EXPECT_TRUE(IsEqualGUID(id, Clsid(expected[i]))) << "element " << i;
    }
}

}  // namespace
