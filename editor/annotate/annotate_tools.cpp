#include "editor/annotate/annotate_tools.h"

#include "editor/annotate/annotate_store.h"
#include "editor/annotate/area_refresh.h"
#include "editor/annotate/label_painter.h"
#include "editor/annotate/pixel_patch.h"
#include "editor/bitmap_ops.h"
#include "framework/color_dialog.h"

using MarkGeometry::Box;

AnnotateTools::AnnotateTools(EditorHost& host, EditorState& state, ImageDisplay& display, EditHistory& history,
                             ImageEditor& editor)
    : host(host), state(state), display(display), history(history), editor(editor),
      options(AnnotateStore::Load()) {}

int AnnotateTools::ToolForKey(UINT key) {
    switch (key) {
    case 'P': return Mark::kPen;
    case 'A': return Mark::kArrow;
    case 'R': return Mark::kRectangle;
    case 'H': return Mark::kHighlighter;
    case 'T': return Mark::kText;
    case 'X': return Mark::kPixelate;
    default: return -1;
    }
}

void AnnotateTools::ChooseTool(Mark::Kind kind) {
    tool = kind;
    state.editMode = EditorState::kEditAnnotate;
    state.hasSelection = false;
    ::InvalidateRect(host.EditorWindow(), nullptr, FALSE);  // the selection's frame goes
}

void AnnotateTools::ChooseColour(CWnd* owner) {
    CColorDialog dialog(options.colour, CC_FULLOPEN | CC_ANYCOLOR, owner);
    if (dialog.DoModal() != IDOK) return;
    options.colour = dialog.GetColor() & 0xFFFFFF;
    AnnotateStore::Save(options);
}

void AnnotateTools::SetWidth(int width) {
    if (!AnnotateOptions::ValidWidth(width)) return;
    options.width = width;
    AnnotateStore::Save(options);
}

// ---- the unmarked image and the area redraws -------------------------------------------------

Box AnnotateTools::ImageBox() const {
    const CSize size = BitmapOps::SizeOf(state.imageBitmap);
    return {0, 0, static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

MarkGeometry::PointF AnnotateTools::ImagePoint(CPoint client) const {
    return MarkGeometry::FromClient(display.Layout(), {client.x, client.y});
}

bool AnnotateTools::TakeBefore() {
    if (!state.imageBitmap) return false;
    ownBefore.DeleteObject();
    // The current state of the history is an exact copy of the image: no second copy is needed.
    if (!history.Empty()) {
        const HistorySlot& slot = history.At(history.historyCurrent);
        if (slot.image && BitmapOps::SizeOf(slot.image) == BitmapOps::SizeOf(state.imageBitmap)) return true;
    }
    ownBefore = BitmapOps::CopyOf(state.imageBitmap, host.EditorWindow());
    if (ownBefore) return true;
    const CSize size = BitmapOps::SizeOf(state.imageBitmap);
    editor.ReportNoMemory(size.cx, size.cy);
    return false;
}

HBITMAP AnnotateTools::Before() const {
    if (ownBefore) return ownBefore;
    return history.At(history.historyCurrent).image;
}

void AnnotateTools::Show(Box area) {
    AreaRefresh::Show(host.EditorWindow(), display.Layout(), state.imageBitmap, display.displayBitmap, area);
}

void AnnotateTools::Redraw(Box area, bool caret) {
    // The image went or was replaced under the mark (a direct grab shown meanwhile): drop it.
    if (!state.imageBitmap || !(BitmapOps::SizeOf(Before()) == BitmapOps::SizeOf(state.imageBitmap))) {
        Abandon();
        return;
    }
    area = MarkGeometry::Intersect(area, ImageBox());
    PixelPatch patch;
    if (!patch.Load(Before(), area, host.EditorWindow())) return;
    if (typing) {
        LabelPainter::Draw(patch.Dc(), {area.left, area.top}, label, labelOrigin, options.width, options.colour,
                           caret);
    } else {
        mark.Render(patch.Pixels());
    }
    patch.StoreInto(state.imageBitmap);
    Show(area);
}

void AnnotateTools::Restore(Box area) {
    PixelPatch patch;
    if (!patch.Load(Before(), MarkGeometry::Intersect(area, ImageBox()), host.EditorWindow())) return;
    patch.StoreInto(state.imageBitmap);
    Show(patch.Area());
}

void AnnotateTools::Record() {
    // Copies that cannot be made leave the image as it was before the mark.
    if (!editor.RecordDrawing()) Restore(drawn);
    ownBefore.DeleteObject();
    drawn = {};
}

// ---- the mouse ---------------------------------------------------------------------------------

void AnnotateTools::OnLButtonDown(CPoint client, bool shift) {
    if (!state.hasImage || !state.imageBitmap) return;
    if (typing) {  // a click elsewhere ends the label
        EndLabel();
        return;
    }
    if (!TakeBefore()) return;
    const MarkGeometry::PointF p = ImagePoint(client);
    if (tool == Mark::kText) {
        typing = true;
        label = TextLabel();
        labelOrigin = {static_cast<LONG>(p.x), static_cast<LONG>(p.y)};
        drawn = LabelPainter::Bounds(label, labelOrigin, options.width);
        Redraw(drawn);
        return;
    }
    ::SetCapture(host.EditorWindow());
    mark = Mark();
    mark.kind = tool;
    mark.colour = options.colour;
    mark.width = options.width;
    mark.constrained = shift;
    mark.seed = (::GetTickCount() ^ (++marksMade * 2654435761u)) | 1;
    mark.points = {p};
    drawing = true;
    drawn = mark.Bounds();
    Redraw(drawn);
}

void AnnotateTools::OnMouseMove(CPoint client, bool shift) {
    if (!drawing) return;
    const MarkGeometry::PointF p = ImagePoint(client);
    const MarkGeometry::PointF last = mark.points.back();
    if (mark.kind == Mark::kPen || mark.kind == Mark::kHighlighter) {
        if (p.x == last.x && p.y == last.y) return;
        mark.points.push_back(p);
        const Box newest = mark.NewestBounds();
        drawn = MarkGeometry::Union(drawn, newest);
        Redraw(newest);
        return;
    }
    if (mark.points.size() == 2 && p.x == last.x && p.y == last.y && mark.constrained == shift) return;
    mark.points.resize(1);
    mark.points.push_back(p);
    mark.constrained = shift;
    // What the shape covered before and covers now: the old one is wiped, the new one drawn.
    const Box now = mark.Bounds();
    Redraw(MarkGeometry::Union(drawn, now));
    drawn = now;
}

void AnnotateTools::OnLButtonUp(CPoint client, bool shift) {
    if (drawing) {
        OnMouseMove(client, shift);
        drawing = false;
        if (mark.Draws()) {
            Record();
        } else {
            Restore(drawn);
            ownBefore.DeleteObject();
        }
    }
    if (::GetCapture() == host.EditorWindow()) ::ReleaseCapture();
}

void AnnotateTools::OnCaptureLost() {
    if (!drawing) return;
    drawing = false;
    if (mark.Draws()) Record();
    else Restore(drawn);
}

bool AnnotateTools::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT) return false;
    ::SetCursor(::LoadCursorA(nullptr, tool == Mark::kText ? IDC_IBEAM : IDC_CROSS));
    return true;
}

// ---- the text label ----------------------------------------------------------------------------

void AnnotateTools::OnKeyDown(UINT key) {
    if (!typing) return;
    switch (key) {
    case VK_RETURN:
        if (!label.Enter()) return EndLabel();
        break;
    case VK_DELETE: label.Delete(); break;
    case VK_BACK: label.Backspace(); break;
    case VK_LEFT: label.Left(); break;
    case VK_RIGHT: label.Right(); break;
    case VK_HOME: label.Home(); break;
    case VK_END: label.End(); break;
    default: return;
    }
    const Box now = LabelPainter::Bounds(label, labelOrigin, options.width);
    Redraw(MarkGeometry::Union(drawn, now));
    drawn = now;
}

void AnnotateTools::OnChar(char c) {
    if (!typing || static_cast<unsigned char>(c) < 32) return;
    label.Type(c);
    const Box now = LabelPainter::Bounds(label, labelOrigin, options.width);
    Redraw(MarkGeometry::Union(drawn, now));
    drawn = now;
}

void AnnotateTools::EndLabel() {
    // The label without its caret; an empty one leaves nothing.
    Redraw(drawn, false);
    typing = false;
    if (label.Empty()) {
        Restore(drawn);
        ownBefore.DeleteObject();
        drawn = {};
        return;
    }
    Record();
}

// ---- ends from outside -------------------------------------------------------------------------

void AnnotateTools::Finish() {
    if (typing) EndLabel();
    if (drawing) {
        drawing = false;
        if (::GetCapture() == host.EditorWindow()) ::ReleaseCapture();
        if (mark.Draws()) Record();
        else Restore(drawn);
    }
}

void AnnotateTools::Abandon() {
    drawing = typing = false;
    ownBefore.DeleteObject();
    drawn = {};
}
