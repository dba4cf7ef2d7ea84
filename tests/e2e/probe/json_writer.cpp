#include "json_writer.h"

#include <cstdio>

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back()) out_ += ", ";
        hasItems_.back() = true;
    }
}

void JsonWriter::beginObject() {
    separate();
    out_ += '{';
    hasItems_.push_back(false);
}

void JsonWriter::endObject() {
    out_ += '}';
    hasItems_.pop_back();
}

void JsonWriter::beginArray() {
    separate();
    out_ += '[';
    hasItems_.push_back(false);
}

void JsonWriter::endArray() {
    out_ += ']';
    hasItems_.pop_back();
}

void JsonWriter::key(const char* name) {
    value(name);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::value(const char* text) {
    separate();
    out_ += '"';
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '\n': out_ += "\\n"; break;
        case '\r': out_ += "\\r"; break;
        case '\t': out_ += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out_ += escaped;
            } else {
                out_ += static_cast<char>(c);
            }
        }
    }
    out_ += '"';
}

void JsonWriter::value(const std::string& text) { value(text.c_str()); }

void JsonWriter::value(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
}

void JsonWriter::value(int64_t number) {
    separate();
    out_ += std::to_string(number);
}

void JsonWriter::value(double number) {
    separate();
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", number);
    out_ += text;
}

void JsonWriter::null() {
    separate();
    out_ += "null";
}

void JsonWriter::raw(const std::string& json) {
    separate();
    out_ += json;
}

void JsonWriter::intArray(std::initializer_list<int64_t> numbers) {
    beginArray();
    for (int64_t n : numbers) value(n);
    endArray();
}
