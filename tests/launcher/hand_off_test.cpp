// The hand-off sequence with every platform call replaced by a recording fake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/app_run.h"
#include "launcher/hand_off.h"

namespace link14 {
namespace {

struct Script {
    HRESULT initResult = S_OK;
    HRESULT createResult = S_OK;
    LONG runResult = 0;
    const char* commandLine = "\"C:\\app\\ONumra16LINK14.exe\" /a b";
    bool failBstr = false;
    int failConversionCall = 0;  // 1: sizing call fails, 2: the conversion itself
};

Script g_script;
std::vector<std::string> g_calls;
std::wstring g_runLine;
bool g_runLineNull = false;
LONG g_runShow = 0;
BSTR g_lastBstr = nullptr;
int g_liveBstrs = 0;
GUID g_clsid;
GUID g_iid;
DWORD g_context = 0;
IUnknown* g_outer = reinterpret_cast<IUnknown*>(1);
std::vector<UINT> g_boxes;

class FakeRunner : public IAppRun {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {
        g_calls.push_back("QueryInterface");
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        g_calls.push_back("AddRef");
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        g_calls.push_back(g_liveBstrs ? "Release(bstr alive)" : "Release");
        return 0;
    }
    LONG STDMETHODCALLTYPE Run(BSTR line, LONG show) override {
        g_calls.push_back("Run");
        g_runLineNull = line == nullptr;
        g_runLine = line ? std::wstring(line, SysStringLen(line)) : std::wstring();
        g_runShow = show;
        return g_script.runResult;
    }
};
FakeRunner g_runner;

void FakeInitLogging() { g_calls.push_back("InitLogging"); }
LPSTR WINAPI FakeGetCommandLineA() {
    g_calls.push_back("GetCommandLineA");
    return const_cast<LPSTR>(g_script.commandLine);
}
HRESULT WINAPI FakeCoInitialize(LPVOID reserved) {
    g_calls.push_back(reserved ? "CoInitialize(non-null)" : "CoInitialize");
    return g_script.initResult;
}
HRESULT WINAPI FakeCoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                    LPVOID* object) {
    g_calls.push_back("CoCreateInstance");
    g_clsid = clsid;
    g_outer = outer;
    g_context = context;
    g_iid = iid;
    if (FAILED(g_script.createResult)) {
        *object = nullptr;
        return g_script.createResult;
    }
    *object = static_cast<IAppRun*>(&g_runner);
    return g_script.createResult;
}
void WINAPI FakeCoUninitialize() { g_calls.push_back("CoUninitialize"); }
int WINAPI FakeMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide,
                                   int wideLength) {
    if (codePage != CP_THREAD_ACP || flags != 0) g_calls.push_back("MultiByteToWideChar(bad args)");
    if (g_script.failConversionCall == (wide ? 2 : 1)) return 0;
    return MultiByteToWideChar(codePage, flags, text, length, wide, wideLength);
}
BSTR WINAPI FakeSysAllocStringLen(const OLECHAR* text, UINT length) {
    if (g_script.failBstr) return nullptr;
    g_calls.push_back("SysAllocStringLen");
    g_lastBstr = SysAllocStringLen(text, length);
    ++g_liveBstrs;
    return g_lastBstr;
}
void WINAPI FakeSysFreeString(BSTR text) {
    g_calls.push_back(text == g_lastBstr ? "SysFreeString" : "SysFreeString(foreign)");
    --g_liveBstrs;
    SysFreeString(text);
}
void FakeShowFatalError(UINT id) {
    g_calls.push_back("ShowFatalError");
    g_boxes.push_back(id);
}

const LauncherPlatform kFake = {
    &FakeInitLogging,       &FakeGetCommandLineA, &FakeCoInitialize,
    &FakeCoCreateInstance,  &FakeCoUninitialize,  &FakeMultiByteToWideChar,
    &FakeSysAllocStringLen, &FakeSysFreeString,   &FakeShowFatalError,
};

class HandOff : public ::testing::Test {
protected:
    void SetUp() override {
        g_script = Script();
        g_calls.clear();
        g_boxes.clear();
        g_runLine.clear();
        g_runLineNull = false;
        g_runShow = -12345;
        g_liveBstrs = 0;
        g_outer = reinterpret_cast<IUnknown*>(1);
    }
    std::vector<std::string> Calls() const { return g_calls; }
};

TEST_F(HandOff, SuccessfulRunCallsEverythingInOrder) {
    g_script.runResult = 0;
    EXPECT_EQ(0, LauncherMain(kFake, SW_SHOWDEFAULT));
    const std::vector<std::string> expected = {
        "InitLogging", "GetCommandLineA", "CoInitialize", "CoCreateInstance", "SysAllocStringLen",
        "Run",         "SysFreeString",   "Release",      "CoUninitialize"};
    EXPECT_EQ(expected, Calls());
    EXPECT_TRUE(IsEqualGUID(g_clsid, CLSID_AppRun));
    EXPECT_TRUE(IsEqualGUID(g_iid, IID_IAppRun));
    EXPECT_EQ(0x17u, g_context);
    EXPECT_EQ(nullptr, g_outer);
    EXPECT_EQ(L"\"C:\\app\\ONumra16LINK14.exe\" /a b", g_runLine);
    EXPECT_EQ(SW_SHOWDEFAULT, g_runShow);
    EXPECT_EQ(0, g_liveBstrs);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(HandOff, RunResultBecomesTheExitCodeUnchanged) {
    for (LONG value : {0L, 7L, -5L, static_cast<LONG>(0x80004005L), 1L, -1L}) {
        SetUp();
        g_script.runResult = value;
        EXPECT_EQ(value, LauncherMain(kFake, SW_SHOWMINNOACTIVE)) << value;
        EXPECT_EQ(SW_SHOWMINNOACTIVE, g_runShow);
    }
}

TEST_F(HandOff, FailedComInitialisationEndsSilentlyWithOne) {
    for (HRESULT failure : {E_OUTOFMEMORY, RPC_E_CHANGED_MODE, E_UNEXPECTED}) {
        SetUp();
        g_script.initResult = failure;
        EXPECT_EQ(1, LauncherMain(kFake, SW_SHOWDEFAULT));
        const std::vector<std::string> expected = {"InitLogging", "GetCommandLineA",
                                                   "CoInitialize"};
        EXPECT_EQ(expected, Calls());
    }
}

TEST_F(HandOff, AlreadyInitialisedApartmentCountsAsSuccess) {
    g_script.initResult = S_FALSE;
    g_script.runResult = 3;
    EXPECT_EQ(3, LauncherMain(kFake, SW_SHOWDEFAULT));
    EXPECT_EQ("CoUninitialize", Calls().back());
}

TEST_F(HandOff, FailedCreationShowsOneBoxAndGivesMinusOne) {
    for (HRESULT failure : {REGDB_E_CLASSNOTREG, E_NOINTERFACE, CO_E_ERRORINDLL, E_FAIL}) {
        SetUp();
        g_script.createResult = failure;
        EXPECT_EQ(-1, LauncherMain(kFake, SW_SHOWDEFAULT));
        const std::vector<std::string> expected = {"InitLogging",    "GetCommandLineA",
                                                   "CoInitialize",   "CoCreateInstance",
                                                   "ShowFatalError", "CoUninitialize"};
        EXPECT_EQ(expected, Calls());
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ(10010u, g_boxes[0]);
    }
}

TEST_F(HandOff, EmptyCommandLineArrivesAsEmptyNotNullBstr) {
    g_script.commandLine = "";
    EXPECT_EQ(0, LauncherMain(kFake, SW_SHOWDEFAULT));
    EXPECT_FALSE(g_runLineNull);
    EXPECT_EQ(L"", g_runLine);
    EXPECT_EQ(0, g_liveBstrs);
}

TEST_F(HandOff, ShiftJisCommandLineIsConvertedWithTheThreadCodePage) {
    // "a 表示" in code page 932: the second byte of 表 is a backslash value.
    ASSERT_EQ(932u, GetACP()) << "the test prefix must run with the Japanese ANSI code page";
    g_script.commandLine = "a \x95\x5C\x8E\xA6";
    ASSERT_EQ(0, LauncherMain(kFake, SW_SHOWDEFAULT));
    EXPECT_EQ(L"a \u8868\u793A", g_runLine);
}

TEST_F(HandOff, UnconvertibleLineIsNeverHandedOver) {
    for (int failing : {1, 2}) {
        SetUp();
        g_script.failConversionCall = failing;
        EXPECT_EQ(-1, LauncherMain(kFake, SW_SHOWDEFAULT)) << failing;
        EXPECT_EQ(0, g_liveBstrs) << failing;
        for (const std::string& call : Calls()) EXPECT_NE("Run", call) << failing;
        EXPECT_EQ("Release", Calls()[Calls().size() - 2]) << failing;
        EXPECT_EQ("CoUninitialize", Calls().back()) << failing;
    }
}

TEST_F(HandOff, NoBstrMeansNoRunButARelease) {
    g_script.failBstr = true;
    EXPECT_EQ(-1, LauncherMain(kFake, SW_SHOWDEFAULT));
    const std::vector<std::string> expected = {"InitLogging",  "GetCommandLineA",
                                               "CoInitialize", "CoCreateInstance",
                                               "Release",      "CoUninitialize"};
    EXPECT_EQ(expected, Calls());
}

}  // namespace
}  // namespace link14
