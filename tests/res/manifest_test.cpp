// The application manifest: its byte format, then its contents through the
// platform's XML parser.
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

// {F5078F32-C551-11D3-89B9-0000F81FE221}
const CLSID kDomDocument30 = {
    0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
// {2933BF95-7B36-11D2-B20E-00C04F983E60}
const IID kIXMLDOMDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string ManifestBytes() {
    auto data = Executable().Find(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), 0x0409);
    return data ? std::string(data->begin(), data->end()) : std::string();
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

TEST(ManifestBytes, DeclarationThenOneLineWithoutWhiteSpaceBetweenElements) {
    const std::string m = ManifestBytes();
    ASSERT_GT(m.size(), 3u);
    EXPECT_EQ(m.substr(0, 3), "\xEF\xBB\xBF") << "byte-order mark";
    const std::string decl(kDeclaration);
    ASSERT_EQ(m.substr(3, decl.size()), decl);
    const std::string body = m.substr(3 + decl.size());
    EXPECT_EQ(body.find_first_of("\r\n\t"), std::string::npos) << "one line";
    EXPECT_EQ(body.find("/>"), std::string::npos) << "empty elements as start and end tag";
    EXPECT_EQ(body.find("> "), std::string::npos);
    EXPECT_EQ(body.find(" <"), std::string::npos);
    EXPECT_EQ(
        body.rfind("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\" "
                   "xmlns:asmv3=\"urn:schemas-microsoft-com:asm.v3\">",
                   0),
        0u);
    EXPECT_EQ(body.substr(body.size() - 11), "</assembly>");
    // Both settings elements declare the 2005 namespace, in which dpiAware lies.
    EXPECT_NE(body.find("<asmv3:application xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                        "WindowsSettings\"><asmv3:windowsSettings xmlns=\"http://"
                        "schemas.microsoft.com/SMI/2005/WindowsSettings\"><dpiAware>true</"
                        "dpiAware></asmv3:windowsSettings></asmv3:application>"),
              std::string::npos);
}

// Owns one COM interface pointer.
template <typename T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (p_) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const wchar_t* s) : b_(SysAllocString(s)) {}
    Bstr() = default;
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* out() { return &b_; }
    operator BSTR() const { return b_; }
    std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

class Manifest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument2,
                                   reinterpret_cast<void**>(doc_.out())),
                  S_OK);
        doc_->put_async(VARIANT_FALSE);
        doc_->put_validateOnParse(VARIANT_FALSE);
        doc_->put_resolveExternals(VARIANT_FALSE);
        const std::string bytes = ManifestBytes();
        ASSERT_FALSE(bytes.empty());
        // The parser reads the bytes as they are: BOM, declared encoding.
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
        void* p = nullptr;
        SafeArrayAccessData(array, &p);
        memcpy(p, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_ARRAY | VT_UI1;
        source.parray = array;
        VARIANT_BOOL ok = VARIANT_FALSE;
        const HRESULT hr = doc_->load(source, &ok);
        VariantClear(&source);
        if (ok != VARIANT_TRUE) {
            Com<IXMLDOMParseError> error;
            Bstr reason;
            doc_->get_parseError(error.out());
            if (error.get()) error->get_reason(reason.out());
            FAIL() << "not well-formed (hr " << std::hex << hr << "): " << Utf8(reason.str());
        }
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(
            L"xmlns:a='urn:schemas-microsoft-com:asm.v1' "
            L"xmlns:v3='urn:schemas-microsoft-com:asm.v3' "
            L"xmlns:ws='http://schemas.microsoft.com/SMI/2005/WindowsSettings' "
            L"xmlns:c='urn:schemas-microsoft-com:compatibility.v1'");
        ASSERT_EQ(doc_->setProperty(Bstr(L"SelectionNamespaces"), v), S_OK);
        VariantClear(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(L"XPath");
        ASSERT_EQ(doc_->setProperty(Bstr(L"SelectionLanguage"), v), S_OK);
        VariantClear(&v);
    }

    struct Element {
        std::wstring name;  // qualified, as written
        std::wstring ns;
        std::map<std::wstring, std::wstring> attributes;
        std::wstring text;
    };

    static Element Describe(IXMLDOMNode* node) {
        Element e;
        Bstr name, ns, text;
        node->get_nodeName(name.out());
        node->get_namespaceURI(ns.out());
        node->get_text(text.out());
        e.name = name.str();
        e.ns = ns.str();
        e.text = text.str();
        Com<IXMLDOMNamedNodeMap> attrs;
        if (node->get_attributes(attrs.out()) == S_OK && attrs.get()) {
            long n = 0;
            attrs->get_length(&n);
            for (long i = 0; i < n; ++i) {
                Com<IXMLDOMNode> a;
                // Wine's parser lists namespace declarations but cannot hand
                // them out; the byte test checks those.
                if (attrs->get_item(i, a.out()) != S_OK || !a.get()) continue;
                Bstr an, av;
                a->get_nodeName(an.out());
                a->get_text(av.out());
                e.attributes[an.str()] = av.str();
            }
        }
        return e;
    }

    static std::wstring Attr(const Element& e, const wchar_t* name) {
        const auto it = e.attributes.find(name);
        return it == e.attributes.end() ? std::wstring() : it->second;
    }

    std::vector<Element> Select(const wchar_t* xpath) {
        std::vector<Element> out;
        Com<IXMLDOMNodeList> list;
        EXPECT_EQ(doc_->selectNodes(Bstr(xpath), list.out()), S_OK) << Utf8(std::wstring(xpath));
        if (!list.get()) return out;
        long n = 0;
        list->get_length(&n);
        for (long i = 0; i < n; ++i) {
            Com<IXMLDOMNode> node;
            if (list->get_item(i, node.out()) != S_OK || !node.get()) {
                ADD_FAILURE() << "node " << i << " of " << Utf8(std::wstring(xpath));
                continue;
            }
            out.push_back(Describe(node.get()));
        }
        return out;
    }

    Com<IXMLDOMDocument2> doc_;
};

TEST_F(Manifest, RootAndIdentity) {
    auto root = Select(L"/a:assembly");
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(Attr(root[0], L"manifestVersion"), L"1.0");
    // Children in this order and nothing else.
    std::vector<std::wstring> order;
    for (const Element& e : Select(L"/a:assembly/*")) {
        if (order.empty() || order.back() != e.name) order.push_back(e.name);
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"assemblyIdentity", L"file", L"trustInfo",
                                                L"asmv3:application", L"compatibility"}));
    auto id = Select(L"/a:assembly/a:assemblyIdentity");
    ASSERT_EQ(id.size(), 1u);
    EXPECT_EQ(id[0].attributes,
              (std::map<std::wstring, std::wstring>{{L"version", L"14.0.1.0"},
                                                    {L"processorArchitecture", L"X86"},
                                                    {L"name", L"Orvak.Numra.ONumra16LINK14"},
                                                    {L"type", L"win32"}}));
}

TEST_F(Manifest, FilesAndClasses) {
    EXPECT_EQ(Select(L"/a:assembly/a:file").size(), 28u);
    const auto classes = Select(L"/a:assembly/a:file/a:comClass");
    EXPECT_EQ(classes.size(), 108u);
    std::set<std::wstring> clsids, progids;
    for (const Element& c : classes) {
        EXPECT_TRUE(clsids.insert(c.attributes.at(L"clsid")).second) << "twice";
        if (c.attributes.count(L"progid")) {
            EXPECT_TRUE(progids.insert(c.attributes.at(L"progid")).second) << "twice";
        }
        for (const auto& [k, v] : c.attributes) {
            EXPECT_TRUE(k == L"clsid" || k == L"tlbid" || k == L"progid") << Utf8(k);
        }
    }
    std::set<std::wstring> files;
    for (const Element& f : Select(L"/a:assembly/a:file")) {
        EXPECT_TRUE(files.insert(f.attributes.at(L"name")).second) << "file twice";
    }
    // Nothing in a file element but classes and at most one type library.
    EXPECT_EQ(
        Select(L"/a:assembly/a:file/*[not(self::a:comClass) and not(self::a:typelib)]").size(), 0u);
}

TEST_F(Manifest, RuntimeServersFirstWithoutTypeLibraries) {
    struct Server {
        const wchar_t* file;
        const wchar_t* clsid;
        const wchar_t* progid;
    } servers[] = {
        {L"ZRShotokuzeiUI.dll", L"{CAF3F30D-6A26-4FCB-B160-5353976D86D0}", L"Numra.ZRShotokuzeiUI"},
        {L"ZRShotokuzeiBiz.dll", L"{FEC34EC9-3552-42A3-A5A5-6706B09E919D}",
         L"Numra.ZRShotokuzeiBiz"},
        {L"ZRConnector.dll", L"{692BE9B0-CF1F-4403-BFAA-D6B6205A185D}", L"Numra.ZRConnector"},
    };
    for (int i = 0; i < 3; ++i) {
        const std::wstring path = L"/a:assembly/a:file[" + std::to_wstring(i + 1) + L"]";
        auto file = Select(path.c_str());
        ASSERT_EQ(file.size(), 1u);
        EXPECT_EQ(Attr(file[0], L"name"), servers[i].file);
        auto classes = Select((path + L"/*").c_str());
        ASSERT_EQ(classes.size(), 1u) << "one class, no type library";
        EXPECT_EQ(classes[0].name, L"comClass");
        EXPECT_EQ(classes[0].attributes,
                  (std::map<std::wstring, std::wstring>{{L"clsid", servers[i].clsid},
                                                        {L"progid", servers[i].progid}}));
    }
}

TEST_F(Manifest, DialogControlClassesWithTheirTypeLibrary) {
    const wchar_t* controls[] = {
        L"{4004166A-8584-4845-A43A-1D738905A21D}", L"{157FB3DF-0B65-4848-ACAD-60E309E09275}",
        L"{15E8AAED-F466-42AC-AB1E-DE31C9E1C8D5}", L"{C2BC989C-2770-41D9-B462-4BDE4E7C0328}",
        L"{FA0E7D7B-10F8-4EB5-9963-5ECD08AB36B1}", L"{0796C5F2-ADF0-41F3-949C-670AD7FE9048}",
        L"{4A5344DD-2407-48D6-A35F-052CD3C662D8}", L"{D89E1537-6279-4910-8ADD-3988DBC10272}",
    };
    for (const wchar_t* clsid : controls) {
        SCOPED_TRACE(Utf8(std::wstring(clsid)));
        const std::wstring q =
            std::wstring(L"/a:assembly/a:file/a:comClass[@clsid='") + clsid + L"']";
        auto c = Select(q.c_str());
        ASSERT_EQ(c.size(), 1u);
        const std::wstring tlbid = Attr(c[0], L"tlbid");
        EXPECT_FALSE(tlbid.empty());
        auto lib = Select((q + L"/../a:typelib").c_str());
        ASSERT_EQ(lib.size(), 1u);
        EXPECT_EQ(Attr(lib[0], L"tlbid"), tlbid);
    }
}

TEST_F(Manifest, TypeLibrariesMatchTheirClasses) {
    for (const Element& lib : Select(L"/a:assembly/a:file/a:typelib")) {
        EXPECT_EQ(
            lib.attributes,
            (std::map<std::wstring, std::wstring>{
                {L"tlbid", lib.attributes.at(L"tlbid")}, {L"version", L"1.0"}, {L"helpdir", L""}}));
    }
    EXPECT_EQ(Select(L"/a:assembly/a:file[count(a:typelib) > 1]").size(), 0u);
    // A class names the type library of its own file, or none when the file has none.
    EXPECT_EQ(Select(L"/a:assembly/a:file/a:comClass[@tlbid != ../a:typelib/@tlbid]").size(), 0u);
    EXPECT_EQ(Select(L"/a:assembly/a:file[not(a:typelib)]/a:comClass[@tlbid]").size(), 0u);
    EXPECT_EQ(Select(L"/a:assembly/a:file[a:typelib]/a:comClass[not(@tlbid)]").size(), 0u);
}

TEST_F(Manifest, RunsAsInvokerAndIsDpiAware) {
    auto level = Select(
        L"/a:assembly/v3:trustInfo/v3:security/v3:requestedPrivileges/v3:requestedExecutionLevel");
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(Attr(level[0], L"level"), L"asInvoker");
    EXPECT_EQ(Attr(level[0], L"uiAccess"), L"false");
    auto dpi = Select(L"/a:assembly/v3:application/v3:windowsSettings/ws:dpiAware");
    ASSERT_EQ(dpi.size(), 1u);
    EXPECT_EQ(dpi[0].text, L"true");
    EXPECT_EQ(Select(L"/a:assembly/v3:application/*").size(), 1u);
    EXPECT_EQ(Select(L"/a:assembly/v3:application/v3:windowsSettings/*").size(), 1u);
}

TEST_F(Manifest, SupportedOperatingSystemsInOrder) {
    std::vector<std::wstring> ids;
    for (const Element& e : Select(L"/a:assembly/c:compatibility/c:application/c:supportedOS")) {
        ids.push_back(Attr(e, L"Id"));
    }
    EXPECT_EQ(ids, (std::vector<std::wstring>{L"{e2011457-1546-43c5-a5fe-008deee3d3f0}",
                                              L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                              L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                              L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                              L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));
}

}  // namespace
}  // namespace link14::test
