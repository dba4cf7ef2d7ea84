#pragma once
// The text of a label being typed, with its caret: letters go in at the caret, Enter starts a new
// line, and Enter on an empty line (or on an empty label) ends the label.
#include <cstddef>
#include <string>

class TextLabel {
public:
    const std::string& Text() const { return text; }
    size_t Caret() const { return caret; }
    bool Empty() const { return text.empty(); }

    // A printable character at the caret (control characters are ignored).
    void Type(char c);
    // Enter: false when it ends the label (the caret's line is empty; the empty line goes),
    // true when it started a new line.
    bool Enter();
    void Backspace();  // the character before the caret
    void Delete();     // the character after the caret
    void Left();
    void Right();
    void Home();  // start of the caret's line
    void End();   // end of the caret's line

    // The caret as (line, column) in characters.
    size_t CaretLine() const;
    size_t CaretColumn() const;

private:
    size_t LineStart() const;
    size_t LineEnd() const;

    std::string text;
    size_t caret = 0;
};
