#include "editor/annotate/label_painter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/gdi.h"

namespace LabelPainter {

namespace {

CFont MakeFont(int width) {
    LOGFONTA lf{};
    lf.lfHeight = -FontHeight(width);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    CFont font;
    font.CreateFontIndirect(lf);
    return font;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

int CaretWidth(int width) { return std::max(1, width / 2); }

// Measures with the label's font selected on a screen-compatible DC.
struct Measure {
    CDC dc;
    CFont font;
    HGDIOBJ previous = nullptr;
    int lineHeight = 0;
    explicit Measure(int width) : font(MakeFont(width)) {
        dc.CreateCompatibleDC(nullptr);
        previous = ::SelectObject(dc, font.GetSafeHandle());
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc, &tm);
        lineHeight = tm.tmHeight;
    }
    ~Measure() { ::SelectObject(dc, previous); }
    int Extent(const std::string& s) const {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx;
    }
};

}  // namespace

int FontHeight(int width) { return 10 + 4 * width; }

MarkGeometry::Box Bounds(const TextLabel& label, POINT origin, int width) {
    Measure m(width);
    const std::vector<std::string> lines = Lines(label.Text());
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, m.Extent(line));
    // Italic overhang and antialiasing reach a little past the measured extent.
    const int slack = m.lineHeight / 4 + CaretWidth(width);
    return {static_cast<int>(origin.x) - 2, static_cast<int>(origin.y),
            static_cast<int>(origin.x) + widest + slack,
            static_cast<int>(origin.y) + m.lineHeight * static_cast<int>(lines.size())};
}

void Draw(HDC dc, POINT offset, const TextLabel& label, POINT origin, int width, COLORREF colour, bool caret) {
    Measure m(width);
    CSelectGuard keepFont(dc, m.font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    const std::vector<std::string> lines = Lines(label.Text());
    const int x = origin.x - offset.x, y = origin.y - offset.y;
    for (size_t i = 0; i < lines.size(); ++i)
        ::TextOutA(dc, x, y + static_cast<int>(i) * m.lineHeight, lines[i].c_str(), static_cast<int>(lines[i].size()));
    if (!caret) return;
    const size_t line = label.CaretLine();
    const int caretX = x + m.Extent(lines[line].substr(0, label.CaretColumn()));
    const RECT bar{caretX, y + static_cast<int>(line) * m.lineHeight, caretX + CaretWidth(width),
                   y + static_cast<int>(line + 1) * m.lineHeight};
    CBrush brush(colour);
    ::FillRect(dc, &bar, brush);
}

}  // namespace LabelPainter
