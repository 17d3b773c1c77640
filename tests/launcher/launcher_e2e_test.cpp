// The built launcher started as a child process, with the runner's test
// double beside it or not, and the error box read back from the real window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/launch.h"

namespace link14 {
namespace {

TEST(LauncherEndToEnd, WholeCommandLineArrivesUnchanged) {
    ASSERT_EQ(932u, GetACP()) << "the test prefix must run with the Japanese ANSI code page";
    Install install(true);
    ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
    // Quoted program path, two arguments, Japanese text of code page 932.
    const std::wstring line = Quoted(install.Exe()) + L" /data \"\u5E33\u7C3F \u8868\u793A.dat\"";
    Child child;
    ASSERT_TRUE(Start(child, install, line));
    EXPECT_EQ(0u, child.Wait());
    const Record r = ReadRecord(install.RecordPath());
    ASSERT_TRUE(r.present);
    EXPECT_EQ(line, r.commandLine);
}

TEST(LauncherEndToEnd, ShowStateArrivesUnchanged) {
    struct Case {
        int requested;
        int expected;
    } cases[] = {{SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE},
                 {SW_SHOWMINIMIZED, SW_SHOWMINIMIZED},
                 {-1, SW_SHOWDEFAULT}};
    for (const Case& c : cases) {
        Install install(true);
        ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
        Child child;
        ASSERT_TRUE(Start(child, install, Quoted(install.Exe()), c.requested));
        EXPECT_EQ(0u, child.Wait());
        const Record r = ReadRecord(install.RecordPath());
        ASSERT_TRUE(r.present);
        EXPECT_EQ(c.expected, r.showState) << "requested " << c.requested;
    }
}

TEST(LauncherEndToEnd, RunResultBecomesTheExitCode) {
    for (int value : {0, 7, -5, -1}) {
        Install install(true);
        ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
        ScopedEnv result(L"LINK14_APPRUN_RESULT", std::to_wstring(value));
        Child child;
        ASSERT_TRUE(Start(child, install, Quoted(install.Exe())));
        EXPECT_EQ(static_cast<DWORD>(value), child.Wait()) << value;
        EXPECT_TRUE(ReadRecord(install.RecordPath()).present);
    }
}

// --- The error box -------------------------------------------------------

struct BoxView {
    HWND box = nullptr;
    std::wstring title;
    std::wstring text;
    bool errorIcon = false;
    int visibleButtons = 0;
    HWND okButton = nullptr;
    HWND owner = nullptr;
    int boxesOfChild = 0;
};

struct FindData {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    FindData* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == data->pid && IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0)
        data->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> BoxesOf(DWORD pid) {
    FindData data{pid, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

// Whether the icon control shows the system's error icon: its pixels on
// screen against the icon drawn on the control's own background.
bool ShowsErrorIcon(HWND control) {
    RECT r{};
    if (!IsWindowVisible(control) || !GetWindowRect(control, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC shotDc = CreateCompatibleDC(screen);
    HDC drawDc = CreateCompatibleDC(screen);
    void* shotBits = nullptr;
    void* drawBits = nullptr;
    HBITMAP shot = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &shotBits, nullptr, 0);
    HBITMAP drawn = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &drawBits, nullptr, 0);
    bool same = false;
    if (shot && drawn) {
        HGDIOBJ oldShot = SelectObject(shotDc, shot);
        HGDIOBJ oldDrawn = SelectObject(drawDc, drawn);
        BitBlt(shotDc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        DWORD* shotPixels = static_cast<DWORD*>(shotBits);
        DWORD* drawPixels = static_cast<DWORD*>(drawBits);
        const size_t count = static_cast<size_t>(w) * h;
        for (size_t i = 0; i < count; ++i) drawPixels[i] = shotPixels[count - 1];
        const HICON error = LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_ERROR
        DrawIconEx(drawDc, 0, 0, error, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
        GdiFlush();
        bool differsFromBackground = false;
        same = true;
        for (size_t i = 0; i < count; ++i) {
            if ((shotPixels[i] & 0xFFFFFF) != (drawPixels[i] & 0xFFFFFF)) same = false;
            if ((shotPixels[i] & 0xFFFFFF) != (shotPixels[count - 1] & 0xFFFFFF))
                differsFromBackground = true;
        }
        same = same && differsFromBackground;
        SelectObject(shotDc, oldShot);
        SelectObject(drawDc, oldDrawn);
    }
    if (shot) DeleteObject(shot);
    if (drawn) DeleteObject(drawn);
    DeleteDC(shotDc);
    DeleteDC(drawDc);
    ReleaseDC(nullptr, screen);
    return same;
}

BOOL CALLBACK InspectChild(HWND hwnd, LPARAM param) {
    BoxView* view = reinterpret_cast<BoxView*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(hwnd)) {
        ++view->visibleButtons;
        if (GetDlgCtrlID(hwnd) == IDOK) view->okButton = hwnd;
    } else if (_wcsicmp(cls, L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            view->errorIcon = SendMessageW(hwnd, STM_GETICON, 0, 0) != 0 && ShowsErrorIcon(hwnd);
        } else if (!TextOf(hwnd).empty()) {
            view->text = TextOf(hwnd);
        }
    }
    return TRUE;
}

// Waits for the child's box, reads it and dismisses it with its OK button.
BoxView ReadAndDismissBox(Child& child) {
    BoxView view;
    for (int i = 0; i < 600 && !view.box; ++i) {
        if (WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0) break;
        std::vector<HWND> boxes = BoxesOf(child.info.dwProcessId);
        if (!boxes.empty()) {
            Sleep(500);  // let the box finish painting itself
            boxes = BoxesOf(child.info.dwProcessId);
            view.boxesOfChild = static_cast<int>(boxes.size());
            view.box = boxes.empty() ? nullptr : boxes[0];
            break;
        }
        Sleep(100);
    }
    if (!view.box) return view;
    view.title = TextOf(view.box);
    view.owner = GetWindow(view.box, GW_OWNER);
    EnumChildWindows(view.box, InspectChild, reinterpret_cast<LPARAM>(&view));
    if (view.okButton) {
        PostMessageW(view.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(view.okButton));
    }
    return view;
}

// The default title of message boxes, as the platform gives it.
std::wstring DefaultBoxTitle() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const wchar_t* text = nullptr;
    // String 2 of user32 is the title of a box without a caption.
    const int n = LoadStringW(user32, 2, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring(L"Error");
}

void ExpectOneErrorBoxThenMinusOne(Child& child, const Install& install) {
    const std::wstring expectedText =
        L"AppRun\u30AA\u30D6\u30B8\u30A7\u30AF\u30C8\u306E\u4F5C\u6210\u306B\u5931\u6557\u3057"
        L"\u307E\u3057\u305F\u3002\n\u51E6\u7406\u3092\u7D99\u7D9A\u3059\u308B\u3053\u3068\u304C"
        L"\u3067\u304D\u307E\u305B\u3093\u3002";
    const BoxView view = ReadAndDismissBox(child);
    ASSERT_NE(nullptr, view.box) << "no error box appeared";
    EXPECT_EQ(1, view.boxesOfChild);
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(expectedText, view.text);
    EXPECT_EQ(DefaultBoxTitle(), view.title);
    EXPECT_TRUE(view.errorIcon);
    EXPECT_EQ(1, view.visibleButtons);
    EXPECT_NE(nullptr, view.okButton);
    EXPECT_EQ(nullptr, view.owner);
    EXPECT_EQ(static_cast<DWORD>(-1), child.Wait());
    EXPECT_FALSE(ReadRecord(install.RecordPath()).present) << "Run must not be called";
    EXPECT_TRUE(BoxesOf(child.info.dwProcessId).empty());
}

TEST(LauncherEndToEnd, MissingServerShowsOneErrorBoxThenMinusOne) {
    Install install(false);
    ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
    Child child;
    ASSERT_TRUE(Start(child, install, Quoted(install.Exe())));
    ExpectOneErrorBoxThenMinusOne(child, install);
}

TEST(LauncherEndToEnd, RefusingClassFactoryShowsOneErrorBoxThenMinusOne) {
    Install install(true);
    ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
    ScopedEnv refuse(L"LINK14_APPRUN_REFUSE", L"1");
    Child child;
    ASSERT_TRUE(Start(child, install, Quoted(install.Exe())));
    ExpectOneErrorBoxThenMinusOne(child, install);
}

}  // namespace
}  // namespace link14
