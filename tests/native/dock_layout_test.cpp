#include "framework/dock_layout.h"

#include <gtest/gtest.h>

#include "framework/dock_row_list.h"
#include "framework/dock_sides.h"

namespace {

using dock::RowList;

struct Bar {
    char name;
};

std::string Describe(const RowList<Bar>& list) {
    std::string out;
    for (Bar* b : list.Entries()) out += b ? b->name : '|';
    return out;
}

TEST(DockRowList, EmptyEntriesSeparateRowsAndEmptyRowsDisappear) {
    Bar a{'A'}, b{'B'}, c{'C'}, d{'D'};
    RowList<Bar> list;
    EXPECT_TRUE(list.IsEmpty());
    list.AppendRow(&a);
    list.Insert(&b, 0, 1, false);  // beside A
    list.AppendRow(&c);
    EXPECT_EQ(Describe(list), "|AB|C|");
    EXPECT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.RowOf(&b), (std::vector<Bar*>{&a, &b}));
    EXPECT_EQ(list.RowOf(&c), (std::vector<Bar*>{&c}));
    EXPECT_TRUE(list.RowOf(&d).empty());

    list.Insert(&d, 1, 0, true);  // a new row before C's
    EXPECT_EQ(Describe(list), "|AB|D|C|");
    list.Remove(&d);
    EXPECT_EQ(Describe(list), "|AB|C|");
    list.Remove(&c);
    EXPECT_EQ(Describe(list), "|AB|");
    list.Insert(&c, 0, 0, false);  // at the front of the first row
    EXPECT_EQ(Describe(list), "|CAB|");
    list.Insert(&d, 7, 0, true);   // past the last row: at the end
    EXPECT_EQ(Describe(list), "|CAB|D|");
    EXPECT_EQ(list.BarCount(), 4);
}

TEST(DockRowList, RowBreaksAreInsertedOnceOnly) {
    Bar a{'A'}, b{'B'}, c{'C'};
    RowList<Bar> list;
    list.AppendRow(&a);
    list.Insert(&b, 0, 9, false);
    list.Insert(&c, 0, 9, false);
    EXPECT_EQ(Describe(list), "|ABC|");
    EXPECT_TRUE(list.BreakAfter(&a));
    EXPECT_FALSE(list.BreakAfter(&a));
    EXPECT_FALSE(list.BreakAfter(&c));  // the row already ends there
    EXPECT_TRUE(list.BreakBefore(&c));
    EXPECT_FALSE(list.BreakBefore(&c));
    EXPECT_FALSE(list.BreakBefore(&a));
    EXPECT_EQ(Describe(list), "|A|B|C|");
}

TEST(DockLayout, RowsStackAndBarsOverlapByTwoAlongTheRow) {
    // Two rows in a horizontal dock bar 500 pixels long: positions kept, overlaps enforced.
    std::vector<std::vector<dock::LayoutBar>> rows = {
        {{{100, 30}, 0, false}, {{50, 26}, 300, true}},
        {{{200, 40}, 0, false}},
    };
    dock::RowsLayout layout = dock::LayoutRows(rows, true, 502);
    ASSERT_EQ(layout.places.size(), 3u);
    EXPECT_EQ(layout.places[0], (geo::Rect{-2, 0, 98, 30}));
    EXPECT_EQ(layout.places[1], (geo::Rect{300, 0, 350, 26}));  // stays where the user put it
    EXPECT_EQ(layout.places[2], (geo::Rect{-2, 30, 198, 70}));
    EXPECT_EQ(layout.thickness, 70);

    // A bar placed over its neighbour is pushed behind it; one past the end is pulled back.
    rows = {{{{100, 30}, 40, true}, {{50, 26}, 20, true}, {{60, 20}, 900, true}}};
    layout = dock::LayoutRows(rows, true, 502);
    EXPECT_EQ(layout.places[0].left, 40);
    EXPECT_EQ(layout.places[1].left, 138);
    EXPECT_EQ(layout.places[2].left, 442);

    // Vertical: along y, rows stack along x.
    rows = {{{{30, 100}, 0, false}, {{34, 80}, 0, false}}};
    layout = dock::LayoutRows(rows, false, 400);
    EXPECT_EQ(layout.places[0], (geo::Rect{0, -2, 30, 98}));
    EXPECT_EQ(layout.places[1], (geo::Rect{0, 96, 34, 176}));
    EXPECT_EQ(layout.thickness, 34);
}

TEST(DockLayout, DroppedBarJoinsTheRowUnderItOrStartsANewOne) {
    std::vector<std::vector<geo::Rect>> rows = {
        {{-2, 0, 98, 30}, {96, 0, 196, 30}},
        {{-2, 30, 400, 60}},
    };
    EXPECT_EQ(dock::FindInsertion(rows, true, {10, -5}), (dock::Insertion{0, 0, true}));
    EXPECT_EQ(dock::FindInsertion(rows, true, {10, 10}), (dock::Insertion{0, 0, false}));
    EXPECT_EQ(dock::FindInsertion(rows, true, {60, 10}), (dock::Insertion{0, 1, false}));
    EXPECT_EQ(dock::FindInsertion(rows, true, {300, 29}), (dock::Insertion{0, 2, false}));
    EXPECT_EQ(dock::FindInsertion(rows, true, {300, 45}), (dock::Insertion{1, 1, false}));
    EXPECT_EQ(dock::FindInsertion(rows, true, {300, 80}), (dock::Insertion{2, 0, true}));
    EXPECT_EQ(dock::FindInsertion({}, false, {3, 3}), (dock::Insertion{0, 0, true}));
}

TEST(DockLayout, BandsComeOffTheAreaAndNeverExceedIt) {
    geo::Rect area{0, 0, 400, 300};
    EXPECT_EQ(dock::TakeBand(area, dock::kTop, 30), (geo::Rect{0, 0, 400, 30}));
    EXPECT_EQ(dock::TakeBand(area, dock::kBottom, 20), (geo::Rect{0, 280, 400, 300}));
    EXPECT_EQ(dock::TakeBand(area, dock::kLeft, 50), (geo::Rect{0, 30, 50, 280}));
    EXPECT_EQ(dock::TakeBand(area, dock::kRight, 500), (geo::Rect{50, 30, 400, 280}));
    EXPECT_EQ(area, (geo::Rect{50, 30, 50, 280}));  // nothing left, but never inside out
    EXPECT_EQ(dock::TakeBand(area, dock::kTop, 10).Height(), 10);
}

TEST(DockLayout, DraggedBarDocksWhereTheCursorReachesADockBar) {
    // A frame whose client area is 600 x 400 from y 50: a toolbar row at the top, nothing elsewhere.
    std::vector<dock::DockArea> areas = {
        {dock::kTop, dock::DockAreaOf({0, 50, 600, 80}, dock::kTop, 16)},
        {dock::kBottom, dock::DockAreaOf({0, 450, 600, 450}, dock::kBottom, 16)},
        {dock::kLeft, dock::DockAreaOf({0, 80, 0, 450}, dock::kLeft, 16)},
        {dock::kRight, dock::DockAreaOf({600, 80, 600, 450}, dock::kRight, 16)},
    };
    EXPECT_EQ(areas[0].rect, (geo::Rect{0, 50, 600, 96}));
    EXPECT_EQ(areas[1].rect, (geo::Rect{0, 434, 600, 450}));  // empty: a strip along the edge
    EXPECT_EQ(dock::PickDockArea(areas, {300, 250}), 0u);       // the middle: floats
    EXPECT_EQ(dock::PickDockArea(areas, {300, 60}), dock::kTop);
    EXPECT_EQ(dock::PickDockArea(areas, {300, 95}), dock::kTop);  // just below its row
    EXPECT_EQ(dock::PickDockArea(areas, {300, 440}), dock::kBottom);
    EXPECT_EQ(dock::PickDockArea(areas, {5, 440}), dock::kBottom);  // the corner: first asked wins
    EXPECT_EQ(dock::PickDockArea(areas, {5, 300}), dock::kLeft);
    EXPECT_EQ(dock::PickDockArea(areas, {590, 300}), dock::kRight);
    EXPECT_EQ(dock::PickDockArea(areas, {650, 300}), 0u);  // outside the frame
}

TEST(DockLayout, DragShapeKeepsTheGrabbedPointUnderTheCursor) {
    EXPECT_EQ(dock::PlaceDragShape({200, 40}, {500, 300}, {20, 10}), (geo::Rect{480, 290, 680, 330}));
    // A grab further in than the shape is deep lands on its last pixel.
    EXPECT_EQ(dock::PlaceDragShape({30, 40}, {500, 300}, {120, 10}), (geo::Rect{471, 290, 501, 330}));
}

}  // namespace
