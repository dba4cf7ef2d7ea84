// `status CAPTION` and `listview CAPTION`: common controls of another process, read through a
// buffer inside that process (see remote_buffer.h).
#include "commands.h"
#include "remote_buffer.h"
#include "win_text.h"
#include "window_json.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

// Remote layout: the structure the message fills or reads first, then the text buffer.
const size_t kStructBytes = 256;
const size_t kTextBytes = 4096;

void writeControlPlace(JsonWriter& out, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    out.field("hwnd", handleNumber(control));
    out.field("id", GetDlgCtrlID(control));
    writeRect(out, "rect", rect);
    out.field("visible", IsWindowVisible(control) != FALSE);
}

std::string readRemoteText(const RemoteBuffer& remote, size_t offset, size_t length) {
    std::vector<char> text(std::min(length, kTextBytes - 1) + 1, '\0');
    if (!remote.read(text.data(), text.size() - 1, offset)) return "";
    return utf8FromAnsi(text.data());
}

// The status bar's pane texts, widths and places.
void writeStatusParts(JsonWriter& out, HWND bar, RemoteBuffer& remote) {
    const int maxParts = static_cast<int>(kStructBytes / sizeof(int));
    LRESULT count = 0;
    sendWithTimeout(bar, SB_GETPARTS, maxParts, remote.at(), &count);
    count = std::clamp<LRESULT>(count, 0, maxParts);
    std::vector<int> rights(maxParts, 0);
    remote.read(rights.data(), count * sizeof(int));

    out.key("parts");
    out.beginArray();
    for (int i = 0; i < count; ++i) {
        LRESULT lengthAndType = 0;
        sendWithTimeout(bar, SB_GETTEXTLENGTHA, i, 0, &lengthAndType);
        const size_t length = LOWORD(lengthAndType);
        remote.write("", 1, kStructBytes);
        // SB_GETTEXT copies without a limit: never let it run past the remote buffer.
        if (length < kTextBytes) sendWithTimeout(bar, SB_GETTEXTA, i, remote.at(kStructBytes));

        RECT rect{};
        sendWithTimeout(bar, SB_GETRECT, i, remote.at());
        remote.read(&rect, sizeof rect);
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);

        out.beginObject();
        out.field("text", readRemoteText(remote, kStructBytes, length));
        out.field("right", rights[i]);
        out.field("width", static_cast<int>(rect.right - rect.left));
        writeRect(out, "rect", rect);
        out.endObject();
    }
    out.endArray();
}

}  // namespace

int cmdStatus(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "status CAPTION");
    HWND window = nullptr, bar = nullptr;
    if (int code = resolveDescendantOfClass(inv, out, STATUSCLASSNAMEA, &window, &bar)) return code;
    RemoteBuffer remote(bar, kStructBytes + kTextBytes);
    if (!remote.ok()) return fail(out, kFailed, "cannot allocate memory in the status bar's process");

    writeControlPlace(out, bar);
    LRESULT simple = 0;
    sendWithTimeout(bar, SB_ISSIMPLE, 0, 0, &simple);
    out.field("simple", simple != 0);
    if (simple) {
        LRESULT lengthAndType = 0;
        sendWithTimeout(bar, SB_GETTEXTLENGTHA, SB_SIMPLEID, 0, &lengthAndType);
        remote.write("", 1, kStructBytes);
        if (LOWORD(lengthAndType) < kTextBytes)
            sendWithTimeout(bar, SB_GETTEXTA, SB_SIMPLEID, remote.at(kStructBytes));
        out.field("simple_text", readRemoteText(remote, kStructBytes, LOWORD(lengthAndType)));
    }
    writeStatusParts(out, bar, remote);
    return kOk;
}

namespace {

std::string listViewText(HWND list, RemoteBuffer& remote, int item, int subItem) {
    LVITEMA request{};
    request.mask = LVIF_TEXT;
    request.iItem = item;
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<LPSTR>(remote.at(kStructBytes));
    request.cchTextMax = kTextBytes;
    remote.write("", 1, kStructBytes);
    if (!remote.write(&request, sizeof request)) return "";
    LRESULT length = 0;
    sendWithTimeout(list, LVM_GETITEMTEXTA, item, remote.at(), &length);
    return readRemoteText(remote, kStructBytes, static_cast<size_t>(std::max<LRESULT>(length, 0)));
}

// The item's whole row in screen coordinates (all zero when the list cannot say).
RECT listViewItemRect(HWND list, RemoteBuffer& remote, int item) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    LRESULT ok = 0;
    if (remote.write(&rect, sizeof rect)) sendWithTimeout(list, LVM_GETITEMRECT, item, remote.at(), &ok);
    if (!ok || !remote.read(&rect, sizeof rect)) return RECT{};
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int writeColumns(JsonWriter& out, HWND list, RemoteBuffer& remote) {
    LRESULT header = 0, columns = 0;
    sendWithTimeout(list, LVM_GETHEADER, 0, 0, &header);
    if (header) sendWithTimeout(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &columns);
    out.key("columns");
    out.beginArray();
    for (int i = 0; i < columns; ++i) {
        LVCOLUMNA request{};
        request.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        request.pszText = reinterpret_cast<LPSTR>(remote.at(kStructBytes));
        request.cchTextMax = kTextBytes;
        remote.write("", 1, kStructBytes);
        remote.write(&request, sizeof request);
        sendWithTimeout(list, LVM_GETCOLUMNA, i, remote.at());
        LVCOLUMNA answer{};
        remote.read(&answer, sizeof answer);
        out.beginObject();
        out.field("text", readRemoteText(remote, kStructBytes, kTextBytes));
        out.field("width", answer.cx);
        out.endObject();
    }
    out.endArray();
    return static_cast<int>(columns);
}

}  // namespace

int cmdListView(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "listview CAPTION");
    HWND window = nullptr, list = nullptr;
    if (int code = resolveDescendantOfClass(inv, out, WC_LISTVIEWA, &window, &list)) return code;
    RemoteBuffer remote(list, kStructBytes + kTextBytes);
    if (!remote.ok()) return fail(out, kFailed, "cannot allocate memory in the list view's process");

    writeControlPlace(out, list);
    LRESULT view = 0;
    sendWithTimeout(list, LVM_GETVIEW, 0, 0, &view);
    out.field("view", static_cast<int>(view));
    const int columns = writeColumns(out, list, remote);

    LRESULT count = 0;
    sendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, &count);
    out.field("count", static_cast<int>(count));
    std::vector<int> selected;
    out.key("items");
    out.beginArray();
    for (int item = 0; item < count; ++item) {
        LRESULT state = 0;
        sendWithTimeout(list, LVM_GETITEMSTATE, item, LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK, &state);
        if (state & LVIS_SELECTED) selected.push_back(item);
        out.beginObject();
        out.field("index", item);
        out.key("texts");
        out.beginArray();
        for (int sub = 0; sub < std::max(columns, 1); ++sub) out.value(listViewText(list, remote, item, sub));
        out.endArray();
        out.field("selected", (state & LVIS_SELECTED) != 0);
        out.field("focused", (state & LVIS_FOCUSED) != 0);
        writeRect(out, "rect", listViewItemRect(list, remote, item));
        // State image 1 is "unchecked", 2 "checked" with LVS_EX_CHECKBOXES; 0 means no check box.
        const int stateImage = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
        if (stateImage == 0) out.nullField("checked"); else out.field("checked", stateImage == 2);
        out.endObject();
    }
    out.endArray();
    out.key("selected");
    out.beginArray();
    for (int index : selected) out.value(index);
    out.endArray();
    return kOk;
}
