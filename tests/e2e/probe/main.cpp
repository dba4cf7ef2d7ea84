// probe.exe: reads window state from inside Windows for the end-to-end tests, one command per run,
// and prints one JSON object on stdout. Exit codes: 0 done, 1 target not found within --timeout,
// 2 usage error, 3 the operation failed. See tests/e2e/lib/probe.py for the Python side.
#include "commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct CommandEntry {
    const char* name;
    int (*run)(Invocation&, JsonWriter&);
};

const CommandEntry kCommands[] = {
    {"windows", cmdWindows},     {"find", cmdFind},       {"foreground", cmdForeground},
    {"dialog", cmdDialog},       {"status", cmdStatus},   {"listview", cmdListView},
    {"menu", cmdMenu},           {"click", cmdClick},     {"command", cmdCommand},
    {"post", cmdPost},           {"send", cmdSend},       {"close", cmdClose},
    {"settext", cmdSetText},     {"hotkey", cmdHotKey},   {"clipboard", cmdClipboard},
    {"screen", cmdScreen},       {"pixel", cmdPixel},     {"show", cmdShow},       {"idle", cmdIdle},
    {"toolbar", cmdToolbar},     {"tooltip", cmdTooltip},
    {"popupmenu", cmdPopupMenu}, {"tray", cmdTray},       {"accelerators", cmdAccelerators},
    {"command-all", cmdCommandAll},
};

const char kUsageText[] =
    "usage: probe.exe COMMAND [--timeout MS] [--visible] [--class NAME] [--hwnd H] [--init] [--] ARGS...\n"
    "commands: windows | find CAPTION | foreground [CAPTION] | dialog CAPTION | status CAPTION |\n"
    "  listview CAPTION | menu CAPTION [--init] | click CAPTION ID | command CAPTION ID |\n"
    "  command-all CAPTION ID |\n"
    "  post CAPTION MSG WPARAM LPARAM | send CAPTION MSG WPARAM LPARAM | close CAPTION |\n"
    "  settext CAPTION ID TEXT | hotkey VK MODS | clipboard OUT.bmp | screen OUT.bmp [X Y W H] |\n"
    "  pixel X Y | show CAPTION SW | popupmenu | tray query|delete CAPTION ID |\n"
    "  tray taskbar-created | accelerators FILE ID\n"
    "With --hwnd the CAPTION argument is left out.\n";

}  // namespace

int main(int argc, char** argv) {
    Invocation inv;
    JsonWriter out;
    out.beginObject();
    int code = kUsage;
    if (!parseInvocation(argc, argv, &inv)) {
        std::fputs(kUsageText, stderr);
        out.field("error", "usage");
    } else {
        const CommandEntry* entry = nullptr;
        for (const CommandEntry& c : kCommands)
            if (inv.command == c.name) entry = &c;
        if (entry) {
            code = entry->run(inv, out);
        } else {
            std::fputs(kUsageText, stderr);
            out.field("error", "unknown command " + inv.command);
        }
    }
    out.endObject();
    std::fputs(out.text().c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return code;
}
