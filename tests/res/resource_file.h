// Reading the executable's resources back through the platform's resource API.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace link14::test {

using Bytes = std::vector<std::uint8_t>;

// The executable under test, named by LINK14_RES_EXE. ctest passes a Unix
// path; Wine sees it through drive Z:.
std::wstring ExecutablePath();

// A module loaded as an image resource file: never run, so a 32-bit
// executable can be read from a 64-bit test.
class ResourceFile {
public:
    explicit ResourceFile(const std::wstring& path);
    ~ResourceFile();
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    HMODULE handle() const { return module_; }

    // One resource in exactly this language, or nothing.
    std::optional<Bytes> Find(LPCWSTR type, LPCWSTR name, WORD language) const;

    struct Entry {
        std::wstring type;  // "#n" for numeric types, as the API spells them
        std::wstring name;
        WORD language;
        DWORD size;
    };
    // Every resource of the module, in the API's order.
    std::vector<Entry> Enumerate() const;

private:
    HMODULE module_;
};

// The executable under test, opened once for all tests of the program.
const ResourceFile& Executable();

// Little-endian reads over a resource; reading past the end throws, which
// fails the test that does it.
class Reader {
public:
    explicit Reader(const Bytes& data) : data_(data) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // A null-terminated UTF-16 string; the terminator is consumed.
    std::u16string Sz();
    std::u16string Utf16(std::size_t units);
    Bytes Take(std::size_t n);
    void Align4();

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return data_.size() - offset_; }
    bool AtEnd() const { return offset_ == data_.size(); }

private:
    void Need(std::size_t n) const;
    const Bytes& data_;
    std::size_t offset_ = 0;
};

std::string Utf8(const std::u16string& text);
std::string Utf8(const std::wstring& text);

}  // namespace link14::test
