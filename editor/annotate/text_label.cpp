#include "editor/annotate/text_label.h"

#include <algorithm>

void TextLabel::Type(char c) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) return;
    text.insert(caret, 1, c);
    ++caret;
}

bool TextLabel::Enter() {
    if (LineStart() == LineEnd()) {
        // The empty line is dropped, with the line break that made it.
        if (caret > 0 && text[caret - 1] == '\n') {
            text.erase(caret - 1, 1);
            --caret;
        } else if (caret < text.size() && text[caret] == '\n') {
            text.erase(caret, 1);
        }
        return false;
    }
    text.insert(caret, 1, '\n');
    ++caret;
    return true;
}

void TextLabel::Backspace() {
    if (caret == 0) return;
    text.erase(caret - 1, 1);
    --caret;
}

void TextLabel::Delete() {
    if (caret < text.size()) text.erase(caret, 1);
}

void TextLabel::Left() {
    if (caret > 0) --caret;
}

void TextLabel::Right() {
    if (caret < text.size()) ++caret;
}

void TextLabel::Home() { caret = LineStart(); }
void TextLabel::End() { caret = LineEnd(); }

size_t TextLabel::LineStart() const {
    size_t i = caret;
    while (i > 0 && text[i - 1] != '\n') --i;
    return i;
}

size_t TextLabel::LineEnd() const {
    size_t i = caret;
    while (i < text.size() && text[i] != '\n') ++i;
    return i;
}

size_t TextLabel::CaretLine() const {
    return static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(caret), '\n'));
}

size_t TextLabel::CaretColumn() const { return caret - LineStart(); }
