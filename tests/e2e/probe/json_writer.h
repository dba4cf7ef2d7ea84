// A small streaming JSON writer: the probe and the fixture print exactly one object per run, and the
// Python side of the end-to-end tests parses it. Strings are expected in UTF-8 (see ansi_text.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // Inside an object every value is preceded by its key.
    void key(const char* name);

    void value(const std::string& text);
    void value(const char* text);
    void value(bool flag);
    void value(int number) { value(static_cast<int64_t>(number)); }
    void value(long number) { value(static_cast<int64_t>(number)); }
    void value(unsigned number) { value(static_cast<int64_t>(number)); }
    void value(unsigned long number) { value(static_cast<int64_t>(number)); }
    void value(int64_t number);
    void value(double number);  // three decimals: ratios and shares
    void null();
    // A value that is already JSON (made by another JsonWriter).
    void raw(const std::string& json);

    template <typename T>
    void field(const char* name, const T& v) {
        key(name);
        value(v);
    }
    void nullField(const char* name) {
        key(name);
        null();
    }
    // [a, b, c, d]: rectangles and points.
    void intArray(std::initializer_list<int64_t> numbers);
    void intArrayField(const char* name, std::initializer_list<int64_t> numbers) {
        key(name);
        intArray(numbers);
    }

    const std::string& text() const { return out_; }

private:
    void separate();

    std::string out_;
    std::vector<bool> hasItems_;  // one entry per open object or array
    bool afterKey_ = false;
};
