// Counted 8-bit string in the thread's ANSI code page.
#pragma once

#include <cstdarg>

namespace link14 {

class IString {
public:
    IString();
    IString(const char* text);  // NOLINT: implicit like a literal
    IString(const char* text, int length);
    IString(const IString& other);
    IString(IString&& other) noexcept;
    ~IString();

    IString& operator=(const IString& other);
    IString& operator=(IString&& other) noexcept;
    IString& operator=(const char* text) { return Assign(text); }
    IString& operator+=(const char* text) { return Append(text); }
    IString& operator+=(const IString& text) { return Append(text); }
    IString& operator+=(char c) { return Append(c); }

    int Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    // Always terminated; never null.
    const char* CStr() const;
    // Byte at `index`; 0 outside the text.
    char At(int index) const;

    void Empty();
    IString& Assign(const char* text);
    IString& Assign(const char* text, int length);
    IString& Append(const char* text);
    IString& Append(const char* text, int length);
    IString& Append(const IString& text);
    IString& Append(char c);
    // printf-style; the output is bounded by what vsnprintf measures.
    IString& AppendFormat(const char* format, ...);
    IString& AppendFormatV(const char* format, va_list args);

    // Replaces every occurrence of `from` (non-empty) with `to`, scanning left
    // to right and double-byte aware: a match never starts on the second byte
    // of a double-byte character. Returns the number of replacements.
    int ReplaceAll(const char* from, const char* to);

    // The first `n` bytes (the whole text when n >= Length(), empty when n <= 0).
    IString Left(int n) const;
    // As Left, but never cuts a double-byte character in two.
    IString SafeLeft(int n) const;

    bool operator==(const char* text) const;
    bool operator==(const IString& other) const;
    bool operator!=(const char* text) const { return !(*this == text); }

private:
    void Reserve(int capacity);

    char* data_;
    int length_;
    int capacity_;
};

IString operator+(const IString& a, const char* b);
IString operator+(const IString& a, const IString& b);

}  // namespace link14
