#include "tests/res/resource_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace link14::test {

std::wstring ExecutablePath() {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(L"LINK14_RES_EXE", buffer, 1024);
    if (n == 0 || n >= 1024) {
        throw std::runtime_error("LINK14_RES_EXE names no executable");
    }
    std::wstring path(buffer, n);
    if (path[0] == L'/') {
        path.insert(0, L"Z:");
    }
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

ResourceFile::ResourceFile(const std::wstring& path)
    : module_(LoadLibraryExW(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    if (!module_) {
        throw std::runtime_error("cannot open " + Utf8(path) + " as a resource file");
    }
}

ResourceFile::~ResourceFile() { FreeLibrary(module_); }

namespace {

std::wstring Spell(LPCWSTR id) {
    if (IS_INTRESOURCE(id)) {
        return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(id));
    }
    return id;
}

LPCWSTR Unspell(const std::wstring& s) {
    if (s[0] == L'#') return MAKEINTRESOURCEW(std::stoi(s.substr(1)));
    return s.c_str();
}

// Enumeration callbacks: named functions, since a 32-bit build needs the
// platform's calling convention.
struct LanguageSearch {
    WORD language;
    bool found;
};

BOOL CALLBACK MatchLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR p) {
    auto* s = reinterpret_cast<LanguageSearch*>(p);
    if (lang == s->language) s->found = true;
    return TRUE;
}

struct Listing {
    std::vector<std::wstring> types;
    std::vector<std::wstring> names;
    std::wstring type, name;
    std::vector<ResourceFile::Entry> entries;
};

BOOL CALLBACK AddType(HMODULE, LPWSTR type, LONG_PTR p) {
    reinterpret_cast<Listing*>(p)->types.push_back(Spell(type));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p) {
    reinterpret_cast<Listing*>(p)->names.push_back(Spell(name));
    return TRUE;
}

BOOL CALLBACK AddLanguage(HMODULE m, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR p) {
    auto* l = reinterpret_cast<Listing*>(p);
    HRSRC info = FindResourceExW(m, type, name, lang);
    l->entries.push_back({l->type, l->name, lang, SizeofResource(m, info)});
    return TRUE;
}

}  // namespace

std::optional<Bytes> ResourceFile::Find(LPCWSTR type, LPCWSTR name, WORD language) const {
    HRSRC info = FindResourceExW(module_, type, name, language);
    if (!info) return std::nullopt;
    // FindResourceEx falls back to other languages; only an exact match counts.
    LanguageSearch search{language, false};
    EnumResourceLanguagesW(module_, type, name, MatchLanguage, reinterpret_cast<LONG_PTR>(&search));
    if (!search.found) return std::nullopt;
    const DWORD size = SizeofResource(module_, info);
    HGLOBAL loaded = LoadResource(module_, info);
    const auto* p = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!p) return std::nullopt;
    return Bytes(p, p + size);
}

std::vector<ResourceFile::Entry> ResourceFile::Enumerate() const {
    Listing l;
    const auto context = reinterpret_cast<LONG_PTR>(&l);
    EnumResourceTypesW(module_, AddType, context);
    for (const std::wstring& type : l.types) {
        l.names.clear();
        EnumResourceNamesW(module_, Unspell(type), AddName, context);
        for (const std::wstring& name : l.names) {
            l.type = type;
            l.name = name;
            EnumResourceLanguagesW(module_, Unspell(type), Unspell(name), AddLanguage, context);
        }
    }
    return l.entries;
}

const ResourceFile& Executable() {
    static const ResourceFile file(ExecutablePath());
    return file;
}

void Reader::Need(std::size_t n) const {
    if (n > remaining()) {
        throw std::out_of_range("read of " + std::to_string(n) + " bytes at offset " +
                                std::to_string(offset_) + " past the end (" +
                                std::to_string(data_.size()) + ")");
    }
}

std::uint8_t Reader::U8() {
    Need(1);
    return data_[offset_++];
}

std::uint16_t Reader::U16() {
    Need(2);
    const std::uint16_t v = static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return v;
}

std::uint32_t Reader::U32() {
    const std::uint32_t lo = U16();
    const std::uint32_t hi = U16();
    return lo | (hi << 16);
}

std::u16string Reader::Sz() {
    std::u16string s;
    for (char16_t c = static_cast<char16_t>(U16()); c != 0; c = static_cast<char16_t>(U16())) {
        s.push_back(c);
    }
    return s;
}

std::u16string Reader::Utf16(std::size_t units) {
    Need(units * 2);
    std::u16string s;
    for (std::size_t i = 0; i < units; ++i) s.push_back(static_cast<char16_t>(U16()));
    return s;
}

Bytes Reader::Take(std::size_t n) {
    Need(n);
    Bytes b(data_.begin() + static_cast<std::ptrdiff_t>(offset_),
            data_.begin() + static_cast<std::ptrdiff_t>(offset_ + n));
    offset_ += n;
    return b;
}

void Reader::Align4() {
    const std::size_t pad = (4 - offset_ % 4) % 4;
    Need(pad);
    offset_ += pad;
}

std::string Utf8(const std::u16string& text) {
    return Utf8(std::wstring(text.begin(), text.end()));
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

}  // namespace link14::test
