#include "framework/message_map.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message) const {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr)
        for (const MessageMapEntry* e = map->entries; e->thunk; ++e)
            if (e->message == message && !e->reflected && message != WM_COMMAND && message != WM_NOTIFY)
                return e;
    return nullptr;
}

bool CCmdTarget::DispatchCommand(UINT message, UINT id, int code, void* extra, LRESULT* result,
                                 HandlerInfo* info, bool reflected) {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->thunk; ++e) {
            if (e->message != message || e->code != code || e->reflected != reflected) continue;
            if (id < e->firstId || id > e->lastId) continue;
            if (info) {
                info->target = this;
                info->entry = e;
                return true;
            }
            LRESULT ignored = 0;
            MessageArgs args{message, 0, 0, id, extra, result ? result : &ignored};
            e->thunk(this, args);
            return true;
        }
    }
    return false;
}

bool CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    return DispatchCommand(WM_COMMAND, id, code, extra, nullptr, info, false);
}

bool CCmdTarget::OnNotifyMsg(UINT id, int code, NMHDR* header, LRESULT* result) {
    return DispatchCommand(WM_NOTIFY, id, code, header, result, nullptr, false);
}
