#include "common/istring.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/mbcs.h"
#include "common/mbstring.h"
#include "common/string_memory.h"

namespace link14 {

namespace {
const char kEmpty[1] = {0};

int Measure(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }
}  // namespace

IString::IString() : data_(nullptr), length_(0), capacity_(0) {}

IString::IString(const char* text) : IString() { Assign(text); }

IString::IString(const char* text, int length) : IString() { Assign(text, length); }

IString::IString(const IString& other) : IString() { Assign(other.CStr(), other.length_); }

IString::IString(IString&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = 0;
    other.capacity_ = 0;
}

IString::~IString() { StringMemory().Free(data_); }

IString& IString::operator=(const IString& other) {
    if (this != &other) Assign(other.CStr(), other.length_);
    return *this;
}

IString& IString::operator=(IString&& other) noexcept {
    if (this != &other) {
        StringMemory().Free(data_);
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = 0;
        other.capacity_ = 0;
    }
    return *this;
}

const char* IString::CStr() const { return data_ ? data_ : kEmpty; }

char IString::At(int index) const { return (index >= 0 && index < length_) ? data_[index] : '\0'; }

void IString::Reserve(int capacity) {
    if (capacity <= capacity_) return;
    int grown = capacity_ ? capacity_ : 16;
    while (grown < capacity) {
        if (grown > (1 << 29)) {
            grown = capacity;
            break;
        }
        grown *= 2;
    }
    data_ =
        static_cast<char*>(StringMemory().Reallocate(data_, static_cast<std::size_t>(grown) + 1));
    capacity_ = grown;
}

void IString::Empty() {
    length_ = 0;
    if (data_) data_[0] = '\0';
}

IString& IString::Assign(const char* text) { return Assign(text, Measure(text)); }

IString& IString::Assign(const char* text, int length) {
    if (!text || length <= 0) {
        Empty();
        return *this;
    }
    if (data_ && text >= data_ && text < data_ + capacity_ + 1) {
        // Assigning a part of ourselves: copy first.
        IString copy(text, length);
        return *this = static_cast<IString&&>(copy);
    }
    Reserve(length);
    std::memcpy(data_, text, static_cast<std::size_t>(length));
    data_[length] = '\0';
    length_ = length;
    return *this;
}

IString& IString::Append(const char* text) { return Append(text, Measure(text)); }

IString& IString::Append(const char* text, int length) {
    if (!text || length <= 0) return *this;
    if (data_ && text >= data_ && text < data_ + capacity_ + 1) {
        IString copy(text, length);
        return Append(copy.CStr(), copy.Length());
    }
    // A string past INT_MAX bytes is out of memory for us, like a failed allocation.
    if (length > INT_MAX - length_) std::abort();
    Reserve(length_ + length);
    std::memcpy(data_ + length_, text, static_cast<std::size_t>(length));
    length_ += length;
    data_[length_] = '\0';
    return *this;
}

IString& IString::Append(const IString& text) { return Append(text.CStr(), text.Length()); }

IString& IString::Append(char c) { return Append(&c, 1); }

IString& IString::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
    return *this;
}

IString& IString::AppendFormatV(const char* format, va_list args) {
    if (!format) return *this;
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed <= 0) return *this;
    // Formatted apart from our own text, which an argument may point into,
    // then appended.
    char small[64];
    if (needed < static_cast<int>(sizeof small)) {
        std::vsnprintf(small, sizeof small, format, args);
        return Append(small, needed);
    }
    IString formatted;
    formatted.Reserve(needed);
    std::vsnprintf(formatted.data_, static_cast<std::size_t>(needed) + 1, format, args);
    formatted.length_ = needed;
    return Append(formatted);
}

int IString::ReplaceAll(const char* from, const char* to) {
    const int fromLength = Measure(from);
    if (fromLength == 0 || length_ == 0) return 0;
    const int toLength = Measure(to);
    IString result;
    int count = 0;
    int i = 0;
    while (i < length_) {
        if (i + fromLength <= length_ && std::memcmp(data_ + i, from, fromLength) == 0) {
            result.Append(to, toLength);
            i += fromLength;
            ++count;
            continue;
        }
        // Step over whole characters so that a match never starts inside one.
        const int step =
            (IsLeadByte(static_cast<unsigned char>(data_[i])) && i + 1 < length_) ? 2 : 1;
        result.Append(data_ + i, step);
        i += step;
    }
    if (count) *this = static_cast<IString&&>(result);
    return count;
}

IString IString::Left(int n) const {
    if (n <= 0) return IString();
    return IString(CStr(), n < length_ ? n : length_);
}

IString IString::SafeLeft(int n) const { return link14::SafeLeft(*this, n); }

bool IString::operator==(const char* text) const {
    const int length = Measure(text);
    return length == length_ && (length == 0 || std::memcmp(data_, text, length) == 0);
}

bool IString::operator==(const IString& other) const {
    return other.length_ == length_ &&
           (length_ == 0 || std::memcmp(data_, other.data_, length_) == 0);
}

IString operator+(const IString& a, const char* b) {
    IString r(a);
    r.Append(b);
    return r;
}

IString operator+(const IString& a, const IString& b) {
    IString r(a);
    r.Append(b);
    return r;
}

}  // namespace link14
