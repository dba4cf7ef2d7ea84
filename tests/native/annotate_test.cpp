// The drawing tools' platform-free parts: shapes, the mapping of the mouse onto image pixels, the
// antialiased ink and marker, pixelation, the text label and the options file.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "editor/annotate/annotate_options.h"
#include "editor/annotate/mark.h"
#include "editor/annotate/pixelate.h"
#include "editor/annotate/text_label.h"

using MarkGeometry::Box;
using MarkGeometry::PointF;

namespace {

// A 32-bit picture with its PixelArea.
struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
    Picture(int w, int h, uint32_t fill = 0xFFFFFF) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    PixelArea Area() { return {pixels.data(), width, {0, 0, width, height}}; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }
};

double Distance(PointF a, PointF b) { return std::hypot(a.x - b.x, a.y - b.y); }

Mark MakeMark(Mark::Kind kind, std::vector<PointF> points, int width = 4, uint32_t colour = 0x0000FF) {
    Mark m;
    m.kind = kind;
    m.points = std::move(points);
    m.width = width;
    m.colour = colour;
    return m;
}

}  // namespace

TEST(AnnotateShapes, ArrowHeadSitsOnTheEndPointAcrossTheLine) {
    for (double width : {2.0, 4.0, 8.0}) {
        const PointF from{10.5, 20.5}, to{110.5, 20.5};
        MarkGeometry::Arrow a = MarkGeometry::ArrowShape(from, to, width);
        ASSERT_TRUE(a.hasHead);
        const double head = MarkGeometry::HeadLength(width);
        EXPECT_DOUBLE_EQ(a.tip.x, to.x);
        EXPECT_DOUBLE_EQ(a.tip.y, to.y);
        // The base is perpendicular to the line, as wide as the head is long, centred on it.
        EXPECT_DOUBLE_EQ(a.left.x, to.x - head);
        EXPECT_DOUBLE_EQ(a.right.x, to.x - head);
        EXPECT_DOUBLE_EQ(std::fabs(a.left.y - a.right.y), head);
        EXPECT_DOUBLE_EQ((a.left.y + a.right.y) / 2, to.y);
        // The shaft ends inside the head, short of the tip.
        EXPECT_GT(a.shaftEnd.x, to.x - head);
        EXPECT_LT(a.shaftEnd.x + width / 2, to.x);
    }
    // On a diagonal the head stays symmetric about the line.
    MarkGeometry::Arrow d = MarkGeometry::ArrowShape({0, 0}, {30, 40}, 4);
    EXPECT_NEAR(Distance(d.tip, d.left), Distance(d.tip, d.right), 1e-9);
    // A line shorter than a head gets a head of its length; no length, no head.
    MarkGeometry::Arrow s = MarkGeometry::ArrowShape({0.5, 0.5}, {5.5, 0.5}, 8);
    EXPECT_DOUBLE_EQ(s.left.x, 0.5);
    EXPECT_FALSE(MarkGeometry::ArrowShape({3, 3}, {3, 3}, 4).hasHead);
}

TEST(AnnotateShapes, ShiftSnapsToFortyFiveDegreeSteps) {
    const PointF a{100.5, 100.5};
    struct Case { PointF end, expected; };
    const Case cases[] = {
        {{150.5, 108.5}, {150.5, 100.5}},   // nearly horizontal
        {{97.5, 40.5}, {100.5, 40.5}},      // nearly vertical, upwards
        {{140.5, 136.5}, {138.5, 138.5}},   // nearly diagonal: equal offsets
        {{60.5, 143.5}, {58.5, 142.5}},     // down-left diagonal: 41.5 rounds to 42
        {{40.5, 95.5}, {40.5, 100.5}},      // leftwards
    };
    for (const Case& c : cases) {
        PointF p = MarkGeometry::Snap45(a, c.end);
        EXPECT_NEAR(p.x, c.expected.x, 1e-9) << c.end.x << "," << c.end.y;
        EXPECT_NEAR(p.y, c.expected.y, 1e-9) << c.end.x << "," << c.end.y;
        const double angle = std::atan2(p.y - a.y, p.x - a.x) * 180 / 3.14159265358979323846;
        EXPECT_NEAR(std::remainder(angle, 45.0), 0.0, 1e-9);
    }
    // Through the arrow mark: Shift changes the end it is drawn to, the square's corner likewise.
    Mark arrow = MakeMark(Mark::kArrow, {a, {150.5, 108.5}});
    arrow.constrained = true;
    EXPECT_DOUBLE_EQ(arrow.End().y, 100.5);
    Mark square = MakeMark(Mark::kRectangle, {a, {130.5, 90.5}});
    square.constrained = true;
    EXPECT_DOUBLE_EQ(square.End().x, 110.5);
    EXPECT_DOUBLE_EQ(square.End().y, 90.5);
}

TEST(AnnotateMapping, StrokePointsLandOnThePixelUnderTheMouseAtEveryZoomAndAfterAPan) {
    // A 1000 x 800 image in a 200 x 150 client area: scrolled at every zoom, so each point lands
    // on the image.
    for (int zoom : {30, 100, 300, 600}) {
        for (ViewGeometry::Point scroll : {ViewGeometry::Point{0, 0}, ViewGeometry::Point{37, 23}}) {
            ViewGeometry::Layout l;
            l.clientWidth = 200, l.clientHeight = 150, l.zoom = zoom;
            l.totalWidth = 1000 * zoom / 100, l.totalHeight = 800 * zoom / 100;
            if (l.totalWidth > l.clientWidth) l.scrollX = scroll.x;
            if (l.totalHeight > l.clientHeight) l.scrollY = scroll.y;
            for (ViewGeometry::Point c : {ViewGeometry::Point{100, 75}, ViewGeometry::Point{3, 140},
                                          ViewGeometry::Point{199, 1}}) {
                const PointF p = MarkGeometry::FromClient(l, c);
                const ViewGeometry::Point pixel{static_cast<int>(p.x), static_cast<int>(p.y)};
                if (zoom >= 100) {
                    // The image pixel drawn under the client point is the one the point lands on.
                    const ViewGeometry::Point start = ViewGeometry::ImageToClient(l, pixel);
                    const int k = zoom / 100;
                    EXPECT_TRUE(c.x >= start.x && c.x < start.x + k && c.y >= start.y && c.y < start.y + k)
                        << zoom << "% client " << c.x << "," << c.y;
                } else {
                    // Reduced: the point lies within the pixel's reduced span.
                    const ViewGeometry::Point start = ViewGeometry::ImageToClient(l, pixel);
                    const ViewGeometry::Point next = ViewGeometry::ImageToClient(l, {pixel.x + 1, pixel.y + 1});
                    EXPECT_TRUE(c.x >= start.x && c.x <= next.x && c.y >= start.y && c.y <= next.y)
                        << zoom << "% client " << c.x << "," << c.y;
                }
                // A dot drawn there covers that pixel, and the repaint box shows it.
                Picture pic(1000, 800);
                MakeMark(Mark::kPen, {p}, 2, 0).Render(pic.Area());
                EXPECT_EQ(pic.At(pixel.x, pixel.y), 0u) << zoom;
                const Box shown = MarkGeometry::ClientBoxOf(l, MakeMark(Mark::kPen, {p}, 2).Bounds());
                EXPECT_TRUE(c.x >= shown.left && c.x < shown.right && c.y >= shown.top && c.y < shown.bottom)
                    << zoom << "% repaint box misses the mouse";
            }
        }
    }
}

TEST(AnnotateInk, PenRectangleAndArrowCoverTheirPixelsWithSoftEdgesOnly) {
    Picture pic(60, 40);
    MakeMark(Mark::kPen, {{5.5, 10.5}, {50.5, 10.5}}, 4, 0x0000FF).Render(pic.Area());
    const uint32_t red = 0xFF0000;  // COLORREF 0x0000FF as a pixel
    for (int x = 6; x <= 50; ++x) {
        EXPECT_EQ(pic.At(x, 9), red) << x;
        EXPECT_EQ(pic.At(x, 10), red) << x;
        EXPECT_EQ(pic.At(x, 11), red) << x;
        EXPECT_EQ(pic.At(x, 14), 0xFFFFFFu) << x;
    }
    // The edge row is partly covered: a mix, neither white nor red.
    EXPECT_NE(pic.At(20, 8), red);
    EXPECT_NE(pic.At(20, 8), 0xFFFFFFu);

    // A rectangle's outline has square, fully inked corners and an untouched inside.
    Picture box(40, 40);
    MakeMark(Mark::kRectangle, {{5.5, 5.5}, {30.5, 25.5}}, 2, 0).Render(box.Area());
    for (auto [x, y] : {std::pair{5, 5}, {30, 25}, {5, 25}, {30, 5}, {17, 5}, {30, 14}}) EXPECT_EQ(box.At(x, y), 0u);
    // The band's outer quarter-pixel corner fades rather than rounding off.
    EXPECT_NE(box.At(4, 4), 0u);
    EXPECT_NE(box.At(4, 4), 0xFFFFFFu);
    EXPECT_EQ(box.At(18, 15), 0xFFFFFFu);
    EXPECT_EQ(box.At(3, 3), 0xFFFFFFu);

    // An arrow's head is wider than its shaft near the tip and the tip's pixel is inked.
    Picture arrow(80, 40);
    MakeMark(Mark::kArrow, {{5.5, 20.5}, {70.5, 20.5}}, 2, 0).Render(arrow.Area());
    EXPECT_EQ(arrow.At(66, 20), 0u);
    EXPECT_EQ(arrow.At(60, 24), 0u);   // inside the head, off the shaft
    EXPECT_EQ(arrow.At(20, 25), 0xFFFFFFu);  // beside the shaft
}

TEST(AnnotateInk, HighlighterMultipliesAndDoesNotDarkenWhereItCrossesItself) {
    Picture pic(60, 60, 0xFFFFFF);
    for (int x = 0; x < 60; ++x) pic.At(x, 30) = 0x202020;  // a dark line of "text"
    // Yellow (COLORREF 0x00FFFF): white takes yellow, the dark line stays as dark.
    Mark m = MakeMark(Mark::kHighlighter, {{5.5, 30.5}, {55.5, 30.5}, {30.5, 30.5}, {30.5, 50.5}}, 4, 0x00FFFF);
    m.Render(pic.Area());
    EXPECT_EQ(pic.At(20, 29), 0xFFFF00u);
    EXPECT_EQ(pic.At(20, 30), 0x202000u);
    // Drawn over twice (the path turns back on itself): the same as once.
    EXPECT_EQ(pic.At(40, 29), 0xFFFF00u);
    EXPECT_EQ(pic.At(30, 31), 0xFFFF00u);
}

TEST(AnnotatePixelate, BlocksAreAtLeastEightAndGrowWithTheArea) {
    EXPECT_EQ(Pixelate::BlockSize(1, 1), 8);
    EXPECT_EQ(Pixelate::BlockSize(50, 20), 8);
    EXPECT_GT(Pixelate::BlockSize(600, 400), 20);
    EXPECT_GE(Pixelate::BlockSize(3840, 2160), Pixelate::BlockSize(600, 400));
}

TEST(AnnotatePixelate, EachBlockIsOneColourNearItsMeanAndNoPixelKeepsItsValue) {
    // A flat area, a detailed one (every pixel different) and a two-colour one.
    Picture pic(120, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            pic.At(x, y) = x < 40 ? 0x808080 : x < 80 ? uint32_t((x * 7 + y * 13) & 0xFF) * 0x010101u
                                                       : ((x + y) % 2 ? 0x000000 : 0xFFFFFF);
    const Picture original = pic;
    const Box region{5, 6, 115, 86};
    Pixelate::Apply(pic.Area(), region, 12345);
    const int size = Pixelate::BlockSize(region.Width(), region.Height());
    for (int top = region.top; top < region.bottom; top += size) {
        for (int left = region.left; left < region.right; left += size) {
            const int right = std::min(left + size, region.right), bottom = std::min(top + size, region.bottom);
            std::set<uint32_t> colours;
            long sum[3] = {0, 0, 0};
            for (int y = top; y < bottom; ++y)
                for (int x = left; x < right; ++x) {
                    colours.insert(pic.At(x, y));
                    uint32_t p = const_cast<Picture&>(original).At(x, y);
                    sum[0] += p & 0xFF, sum[1] += (p >> 8) & 0xFF, sum[2] += p >> 16;
                    EXPECT_NE(pic.At(x, y), p) << x << "," << y;
                }
            ASSERT_EQ(colours.size(), 1u) << "block at " << left << "," << top;
            const long n = long(right - left) * (bottom - top);
            const uint32_t c = *colours.begin();
            for (int ch = 0; ch < 3; ++ch)
                EXPECT_NEAR(double((c >> (8 * ch)) & 0xFF), double(sum[ch]) / n, 7.0) << left << "," << top;
        }
    }
    // Outside the region nothing changed.
    EXPECT_EQ(pic.At(4, 50), original.pixels[50 * 120 + 4]);
    EXPECT_EQ(pic.At(60, 86), original.pixels[86 * 120 + 60]);
    // The noise depends on the seed.
    Picture again = original, other = original;
    Pixelate::Apply(again.Area(), region, 12345);
    Pixelate::Apply(other.Area(), region, 777);
    EXPECT_EQ(again.pixels, pic.pixels);
    EXPECT_NE(other.pixels, pic.pixels);
}

TEST(AnnotatePixelate, AMarkDraggedEitherWayCoversBothCornerPixels) {
    Picture pic(50, 50, 0x123456);
    Mark m = MakeMark(Mark::kPixelate, {{40.5, 30.5}, {10.5, 5.5}});
    EXPECT_EQ(m.Region(), (Box{10, 5, 41, 31}));
    m.Render(pic.Area());
    EXPECT_NE(pic.At(10, 5), 0x123456u);
    EXPECT_NE(pic.At(40, 30), 0x123456u);
    EXPECT_EQ(pic.At(41, 30), 0x123456u);
    EXPECT_FALSE(MakeMark(Mark::kPixelate, {{4.5, 4.5}, {4.5, 9.5}}).Draws());
}

TEST(AnnotateText, TypingEnterAndDeleteEditTheLabelAtTheCaret) {
    TextLabel label;
    for (char c : std::string("Helo")) label.Type(c);
    label.Left();
    label.Type('l');
    EXPECT_EQ(label.Text(), "Hello");
    label.End();
    EXPECT_TRUE(label.Enter());
    label.Type('x');
    label.Type('\t');  // control characters never reach the text
    label.Backspace();
    label.Type('W');
    EXPECT_EQ(label.Text(), "Hello\nW");
    EXPECT_EQ(label.CaretLine(), 1u);
    EXPECT_EQ(label.CaretColumn(), 1u);
    label.Home();
    label.Delete();
    EXPECT_EQ(label.Text(), "Hello\n");
    // Enter on the empty line ends the label and takes the empty line away.
    EXPECT_FALSE(label.Enter());
    EXPECT_EQ(label.Text(), "Hello");
    TextLabel empty;
    EXPECT_FALSE(empty.Enter());
    EXPECT_TRUE(empty.Empty());
}

TEST(AnnotateOptionsFile, RoundTripsAndADamagedFileGivesTheDefaults) {
    AnnotateOptions o;
    o.colour = 0x00123456;
    o.width = 8;
    const std::string data = o.Encode();
    ASSERT_EQ(data.size(), 12u);
    AnnotateOptions back;
    ASSERT_TRUE(AnnotateOptions::Decode(data, back));
    EXPECT_EQ(back.colour, 0x00123456u);
    EXPECT_EQ(back.width, 8);

    std::string badWidth = data;
    badWidth[8] = 3;
    std::string badColour = data;
    badColour[7] = 1;
    std::string badTag = data;
    badTag[0] = 'X';
    for (const std::string& bad : {badWidth, badColour, badTag, data.substr(0, 11), data + "x", std::string()}) {
        AnnotateOptions out;
        out.width = 2;
        EXPECT_FALSE(AnnotateOptions::Decode(bad, out));
        EXPECT_EQ(out.width, AnnotateOptions::kDefaultWidth);
        EXPECT_EQ(out.colour, AnnotateOptions::kDefaultColour);
    }
}
