// The four dialog templates and their initialisation data, parsed item by
// item and compared with the dialogs as the runtime's controls expect them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

constexpr WORD kJapanese = 0x0411;
constexpr WORD RT_DLGINIT_TYPE = 240;

enum class Kind { Static, Radio, Combo, Button, Group, Edit, Check, List };

const char16_t* ClassId(Kind k) {
    switch (k) {
        case Kind::Static:
            return u"{4004166A-8584-4845-A43A-1D738905A21D}";
        case Kind::Radio:
            return u"{157FB3DF-0B65-4848-ACAD-60E309E09275}";
        case Kind::Combo:
            return u"{15E8AAED-F466-42AC-AB1E-DE31C9E1C8D5}";
        case Kind::Button:
            return u"{C2BC989C-2770-41D9-B462-4BDE4E7C0328}";
        case Kind::Group:
            return u"{FA0E7D7B-10F8-4EB5-9963-5ECD08AB36B1}";
        case Kind::Edit:
            return u"{0796C5F2-ADF0-41F3-949C-670AD7FE9048}";
        case Kind::Check:
            return u"{4A5344DD-2407-48D6-A35F-052CD3C662D8}";
        case Kind::List:
            return u"{D89E1537-6279-4910-8ADD-3988DBC10272}";
    }
    return u"";
}

// The letters of the kinds' tails.
struct Values {
    std::int32_t a = 0, b = 0, e = 0, f = 0, g = 0, p = 0;
    std::uint32_t c = 0, d = 0, h = 0;
};

struct Item {
    std::uint32_t id;
    Kind kind;
    std::int16_t x, y, cx, cy;
    std::uint32_t style;
    const char16_t* caption;  // nullptr: the kind has none
    const char16_t* name;
    std::uint32_t extent_x, extent_y;
    int form;
    Values v;
};

struct Dialog {
    std::uint16_t id;
    const char16_t* title;
    std::int16_t cx, cy;
    std::uint8_t charset;
    std::size_t template_size, init_size;
    std::vector<Item> items;
};

constexpr std::uint32_t kChild = 0x50000000, kTab = 0x50010000, kGroup = 0x50020000,
                        kTabGroup = 0x50030000;
constexpr std::uint32_t kButtonFace = 0x8000000F, kButtonText = 0x80000012;

Values Static(std::int32_t a, std::uint32_t c, std::uint32_t d) {
    Values v;
    v.a = a, v.c = c, v.d = d;
    return v;
}
Values Combo(std::int32_t b, std::int32_t e, std::int32_t f) {
    Values v;
    v.b = b, v.e = e, v.f = f;
    return v;
}
Values Button(std::int32_t b, std::int32_t g, std::uint32_t h) {
    Values v;
    v.b = b, v.g = g, v.h = h;
    return v;
}
Values Edit(std::int32_t b, std::int32_t p) {
    Values v;
    v.b = b, v.p = p;
    return v;
}

// One row per item, as the dialogs are laid out.
// clang-format off
const std::vector<Dialog>& Dialogs() {
    static const std::vector<Dialog> dialogs = {
        {20001, u"きゃぷしょん", 287, 114, 128, 1262, 2844, {
            {10006, Kind::Static, 7, 7, 46, 14, kChild, u"データ形式(&F):", u"DBTypeLabel", 2143, 556, 1, Static(1, 0, kButtonFace)},
            {10003, Kind::Radio, 65, 7, 54, 14, kTabGroup, u"スタンドアロン", u"RBtnJET", 2514, 556, 1, {}},
            {10002, Kind::Radio, 129, 7, 60, 14, kTab, u"マルチユーザー", u"RBtnMSDE", 2778, 556, 1, {}},
            {10004, Kind::Static, 14, 43, 40, 14, kGroup, u"保存場所(&I):", u"FolderL", 1852, 556, 1, Static(1, 0, kButtonFace)},
            {10000, Kind::Combo, 61, 43, 160, 19, kTab, nullptr, u"ServerComboBox", 7408, 750, 1, Combo(0, 1, 1)},
            {10001, Kind::Combo, 61, 43, 160, 19, kTab, nullptr, u"FolderComboBox", 7408, 750, 1, Combo(6, 1, 1)},
            {10007, Kind::Button, 224, 43, 49, 14, kTab, u"参照(&B)...", u"SanshoButton", 2275, 556, 1, Button(0, 0, 0)},
            {10008, Kind::Button, 15, 65, 87, 13, kTab, u"サーバーの詳細設定(&S)...", u"DetailButton", 4022, 529, 1, Button(0, 0, 0)},
            {1, Kind::Button, 178, 93, 49, 14, kTab, u"OK", u"OKButton", 2275, 556, 2, Button(6, 1, 0xCDCDCDCD)},
            {2, Kind::Button, 231, 93, 49, 14, kTab, u"キャンセル", u"CancelButton", 2275, 556, 2, Button(6, 0, 0xCDCDCDCD)},
            {10005, Kind::Group, 7, 25, 273, 61, kChild, u"", u"GBLocation", 12647, 2434, 1, {}},
        }},
        {20002, u"ログイン", 170, 91, 128, 826, 1854, {
            {10002, Kind::Static, 7, 7, 150, 14, kTab, u"ユーザー名とパスワードを入力してください。", u"InfoText", 6959, 556, 1, Static(1, 0, 0x00C0C0C0)},
            {10003, Kind::Static, 7, 28, 49, 14, kTab, u"ユーザー名(&U):", u"UserText", 2275, 556, 1, Static(1, 0, 0x00C0C0C0)},
            {10004, Kind::Combo, 56, 28, 99, 19, kTab, nullptr, u"UserName", 4577, 750, 1, Combo(6, 2, 0)},
            {10005, Kind::Static, 7, 46, 49, 14, kTab, u"パスワード(&P):", u"PasswordText", 2275, 556, 1, Static(1, 0, 0x00C0C0C0)},
            {10006, Kind::Edit, 56, 46, 99, 14, kTab, nullptr, u"Password", 4577, 556, 1, Edit(0, 1)},
            {1, Kind::Button, 60, 70, 49, 14, kTab, u"OK", u"OKButton", 2275, 556, 1, Button(6, 1, 0)},
            {2, Kind::Button, 113, 70, 49, 14, kTab, u"キャンセル", u"CancelButton", 2275, 556, 1, Button(6, 0, 0)},
        }},
        {20003, u"きゃぷしょん", 187, 147, 128, 1370, 3214, {
            {10005, Kind::Check, 14, 7, 145, 14, kTab, u"サーバーにログインするユーザーを指定する(&S)", u"SaveUserChk", 6297, 556, 1, {}},
            {10002, Kind::Static, 14, 21, 50, 14, kGroup, u"ユーザー名(&U):", u"UserNameL", 2328, 556, 1, Static(1, 0, kButtonFace)},
            {10001, Kind::Edit, 75, 21, 80, 14, kTabGroup, nullptr, u"UserNameEdit", 3704, 556, 1, Edit(0, 0)},
            {10004, Kind::Static, 14, 39, 50, 14, kGroup, u"パスワード(&P):", u"PasswordL", 2328, 556, 1, Static(1, 0, kButtonFace)},
            {10006, Kind::Edit, 75, 39, 80, 14, kTabGroup, nullptr, u"PasswordEdit", 3704, 556, 1, Edit(6, 1)},
            {10008, Kind::Check, 14, 67, 135, 14, kTab, u"バックアップ先共有フォルダを指定する(&B)", u"SaveBackupShareChk", 5689, 556, 1, {}},
            {10007, Kind::Static, 14, 81, 107, 14, kGroup, u"フォルダの共有名(&I):", u"BackupShareL", 4948, 556, 1, Static(1, 0, kButtonFace)},
            {10009, Kind::Edit, 14, 99, 160, 14, kTabGroup, nullptr, u"BackupShareEdit", 7408, 556, 1, Edit(0, 0)},
            {10010, Kind::Group, 7, 67, 173, 53, kChild, u"", u"", 8017, 2117, 1, {}},
            {10003, Kind::Group, 7, 7, 173, 53, kChild, u"", u"", 8017, 2117, 1, {}},
            {1, Kind::Button, 78, 126, 49, 14, kTab, u"OK", u"OkButton", 2275, 556, 2, Button(6, 1, 0xCDCDCDCD)},
            {2, Kind::Button, 131, 126, 49, 14, kTab, u"キャンセル", u"CancelButton", 2275, 556, 2, Button(6, 0, 0xCDCDCDCD)},
        }},
        {20004, u"きゃぷしょん", 199, 137, 0, 506, 1068, {
            {10014, Kind::Static, 7, 7, 94, 8, kChild, u"現在使用可能なサーバー(&S):", u"", 3889, 318, 1, Static(0, kButtonText, kButtonFace)},
            {10013, Kind::List, 7, 25, 185, 85, kTab, nullptr, u"ServerList", 8573, 3387, 2, {}},
            {1, Kind::Button, 90, 117, 49, 14, kTab, u"OK", u"OKButton", 2275, 556, 2, Button(6, 1, 0xCDCDCDCD)},
            {2, Kind::Button, 143, 117, 49, 14, kTab, u"キャンセル", u"CancelButton", 2275, 556, 2, Button(6, 0, 0xCDCDCDCD)},
        }},
    };
    return dialogs;
}
// clang-format on

// A typed value of a property stream.
enum VarType : std::uint16_t { I2 = 2, I4 = 3, S = 8, B = 11, U4 = 19 };
struct Value {
    VarType type;
    std::int64_t number;  // I2, I4, B (sign-extended), U4
    std::u16string text;  // S
    bool operator==(const Value& o) const {
        return type == o.type && number == o.number && text == o.text;
    }
};
Value N(VarType t, std::int64_t n) { return {t, n, {}}; }
Value Str(const char16_t* s) { return {S, 0, s}; }

std::string Describe(const Value& v) {
    static const std::map<int, std::string> names = {
        {I2, "I2"}, {I4, "I4"}, {S, "S"}, {B, "B"}, {U4, "U4"}};
    const auto it = names.find(v.type);
    const std::string name = it == names.end() ? "type " + std::to_string(v.type) : it->second;
    return name + " " + (v.type == S ? "\"" + Utf8(v.text) + "\"" : std::to_string(v.number));
}

// What the control's stream must hold after its five header words.
std::vector<Value> ExpectedValues(const Item& item) {
    std::vector<Value> out;
    if (item.caption) out.push_back(Str(item.caption));
    const std::int64_t first[] = {0, 100, 0, 100, 0, 100, 0, 100};
    const std::int64_t second[] = {0, 0, 1, 100, 0, 0, 1, 100};
    for (std::int64_t m : item.form == 2 ? second : first) out.push_back(N(I2, m));
    for (int i = 0; i < 3; ++i) out.push_back(Str(u""));
    out.push_back(Str(item.form == 2 ? u"TableSonota" : u""));
    for (int i = 0; i < 4; ++i) out.push_back(N(I4, 1));
    out.push_back(Str(item.name));
    out.push_back(Str(u""));
    const Values& v = item.v;
    const Value common[] = {N(I4, 0), N(B, -1), N(B, -1), N(B, 1)};  // after I2
    auto append = [&out](std::initializer_list<Value> values) {
        out.insert(out.end(), values.begin(), values.end());
    };
    switch (item.kind) {
        case Kind::Static:
            append({N(I4, 0), N(I4, 6), N(B, 0), N(I2, 0), N(I4, v.a), N(B, -1), N(B, -1), N(B, 1),
                    N(U4, 0), N(B, 0), N(I4, 0), N(I4, 0), N(I4, 1), N(I4, 0), N(I4, 0), N(U4, v.c),
                    N(U4, kButtonFace), N(U4, v.d)});
            break;
        case Kind::Radio:
            append({N(I4, 0), N(I4, 6), N(B, 0), N(I2, 0), common[0], common[1], common[2],
                    common[3], N(U4, 0), N(B, 0), N(I4, 0), N(I4, 0), N(I4, 0), N(I4, 2),
                    N(U4, kButtonFace)});
            break;
        case Kind::Combo:
            append({N(I4, 0), N(I4, v.b), Str(u""), N(I4, v.e), N(B, 0), N(I2, 0), common[0],
                    common[1], common[2], common[3], N(U4, 0), N(B, 0), N(I4, 1), N(I4, v.f),
                    N(I2, 3), N(I4, 0), N(B, 0)});
            break;
        case Kind::Button:
            append({N(I4, 0), N(I4, v.b), N(I4, v.g), N(I4, 0), N(B, 0), N(I2, 0), common[0],
                    common[1], common[2], common[3], N(U4, v.h), N(B, 0), N(I4, 0), N(I4, 0),
                    N(I4, 2), N(I4, 2)});
            break;
        case Kind::Group:
            append({N(I4, 0), N(I4, 6), N(B, 0), N(I2, 0), common[0], common[1], common[2],
                    common[3], N(U4, 0), N(B, 0), N(I4, 0)});
            break;
        case Kind::Edit:
            append({N(I4, 0),  N(I4, v.b), N(I4, 0),  N(I4, 0),  N(B, -1), N(I2, 1),
                    common[0], common[1],  common[2], common[3], N(U4, 0), N(B, 0),
                    N(I4, 0),  N(I4, v.p), N(I4, 0),  N(I4, 0),  N(I4, 0), N(I4, 1),
                    N(I4, 0),  N(I4, 0),   N(I4, 0),  N(I4, 0)});
            break;
        case Kind::Check:
            append({N(I4, 0), N(I4, 6), N(I4, 0), N(B, 0), N(I2, 0), common[0], common[1],
                    common[2], common[3], N(U4, 0), N(B, 0), N(I4, 0), N(I4, 0), N(I4, 0), N(I4, 0),
                    N(I4, 0), N(U4, kButtonFace)});
            break;
        case Kind::List:
            append({N(I4, 0), N(I4, 6), N(I4, 0), N(B, 0), N(I2, 1), common[0], common[1],
                    common[2], common[3], N(U4, 0), N(B, 0), N(I4, 0), N(I4, 0), N(I4, 1),
                    N(I4, 0)});
            break;
    }
    return out;
}

// Reads typed values to the end of the stream. Every string's byte count
// is its characters plus one null, so an empty string is a count of 2.
std::vector<Value> ParseValues(Reader& r) {
    std::vector<Value> out;
    while (!r.AtEnd()) {
        const auto type = static_cast<VarType>(r.U16());
        switch (type) {
            case I2:
            case B:
                out.push_back(N(type, r.I16()));
                break;
            case I4:
                out.push_back(N(type, r.I32()));
                break;
            case U4:
                out.push_back(N(type, r.U32()));
                break;
            case S: {
                const std::uint32_t bytes = r.U32();
                EXPECT_TRUE(bytes >= 2 && bytes % 2 == 0) << "string of " << bytes << " bytes";
                std::u16string text = r.Utf16(bytes / 2);
                EXPECT_EQ(text.back(), u'\0') << "string without its null";
                text.pop_back();
                EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
                out.push_back({S, 0, text});
                break;
            }
            default:
                ADD_FAILURE() << "unknown type code " << type << " at " << r.offset() - 2;
                return out;
        }
    }
    return out;
}

class DialogTest : public ::testing::TestWithParam<Dialog> {};

TEST_P(DialogTest, TemplateItemByItem) {
    const Dialog& d = GetParam();
    auto data = Executable().Find(RT_DIALOG, MAKEINTRESOURCEW(d.id), kJapanese);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size(), d.template_size);
    Reader r(*data);
    EXPECT_EQ(r.U16(), 1u) << "version";
    EXPECT_EQ(r.U16(), 0xFFFFu) << "signature";
    EXPECT_EQ(r.U32(), 0u) << "help id";
    EXPECT_EQ(r.U32(), 0u) << "extended style";
    EXPECT_EQ(r.U32(), 0x80C800C0u) << "style";
    EXPECT_EQ(r.U16(), d.items.size());
    EXPECT_EQ(r.I16(), 0);
    EXPECT_EQ(r.I16(), 0);
    EXPECT_EQ(r.I16(), d.cx);
    EXPECT_EQ(r.I16(), d.cy);
    EXPECT_EQ(r.U16(), 0u) << "no menu";
    EXPECT_EQ(r.U16(), 0u) << "no window class";
    EXPECT_EQ(r.Sz(), d.title);
    EXPECT_EQ(r.U16(), 9u) << "point size";
    EXPECT_EQ(r.U16(), 400u) << "weight";
    EXPECT_EQ(r.U8(), 0u) << "italic";
    EXPECT_EQ(r.U8(), d.charset);
    EXPECT_EQ(r.Sz(), u"MS UI Gothic");
    for (const Item& item : d.items) {
        SCOPED_TRACE("control " + std::to_string(item.id));
        r.Align4();
        EXPECT_EQ(r.U32(), 0u) << "help id";
        EXPECT_EQ(r.U32(), 0u) << "extended style";
        EXPECT_EQ(r.U32(), item.style);
        EXPECT_EQ(r.I16(), item.x);
        EXPECT_EQ(r.I16(), item.y);
        EXPECT_EQ(r.I16(), item.cx);
        EXPECT_EQ(r.I16(), item.cy);
        EXPECT_EQ(r.U32(), item.id);
        EXPECT_EQ(r.Sz(), ClassId(item.kind)) << "class";
        EXPECT_EQ(r.Sz(), u"") << "title";
        EXPECT_EQ(r.U16(), 0u) << "creation data";
    }
    EXPECT_TRUE(r.AtEnd()) << r.remaining() << " bytes after the last item";
}

TEST_P(DialogTest, InitialisationEntryPerItemInOrder) {
    const Dialog& d = GetParam();
    auto data =
        Executable().Find(MAKEINTRESOURCEW(RT_DLGINIT_TYPE), MAKEINTRESOURCEW(d.id), kJapanese);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size(), d.init_size);
    Reader r(*data);
    for (const Item& item : d.items) {
        SCOPED_TRACE("control " + std::to_string(item.id));
        ASSERT_EQ(r.U16(), item.id);
        EXPECT_EQ(r.U16(), 0x0376u) << "message";
        const std::uint32_t length = r.U32();
        const Bytes stream = r.Take(length);
        Reader s(stream);
        EXPECT_EQ(s.U32(), 0u);
        EXPECT_EQ(s.U32(), 0x20u);
        EXPECT_EQ(s.U32(), 0x0710u);
        EXPECT_EQ(s.U32(), item.extent_x);
        EXPECT_EQ(s.U32(), item.extent_y);
        const std::vector<Value> actual = ParseValues(s);
        const std::vector<Value> expected = ExpectedValues(item);
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(actual[i], expected[i]) << "value " << i << ": " << Describe(actual[i])
                                              << ", expected " << Describe(expected[i]);
        }
    }
    EXPECT_EQ(r.U16(), 0u) << "terminator";
    EXPECT_TRUE(r.AtEnd());
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTest, ::testing::ValuesIn(Dialogs()),
                         [](const auto& info) { return std::to_string(info.param.id); });

// Entries whose lengths the runtime's copies are known to have.
TEST(DialogInit, KnownEntryLengths) {
    struct Case {
        std::uint16_t dialog, control;
        std::uint32_t length;
    } cases[] = {{20001, 10006, 270}, {20002, 10002, 286}};
    for (const Case& c : cases) {
        auto data = Executable().Find(MAKEINTRESOURCEW(RT_DLGINIT_TYPE), MAKEINTRESOURCEW(c.dialog),
                                      kJapanese);
        ASSERT_TRUE(data);
        Reader r(*data);
        bool found = false;
        for (std::uint16_t id = r.U16(); id != 0; id = r.U16()) {
            r.U16();
            const std::uint32_t length = r.U32();
            if (id == c.control) {
                EXPECT_EQ(length, c.length) << c.dialog << "/" << c.control;
                found = true;
            }
            r.Take(length);
        }
        EXPECT_TRUE(found) << c.dialog << "/" << c.control;
    }
}

}  // namespace
}  // namespace link14::test
