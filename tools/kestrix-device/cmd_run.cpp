// kestrix-device run: runs Kestrix on the device, headless from a script
// (or standard input), or in a window.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "common/device.h"

namespace kxtool {

namespace {

struct RunOptions {
    std::string script;
    bool window = false;
};

const char* const kRunHelp = R"(Runs Kestrix on the emulated device.

Headless (the default), Kestrix reads commands from --script FILE or from
standard input, one a line:
  click CONTROL        a tap on a control: an IDC_ name (IDC_KEY_A, IDC_SAVE)
                       or a numeric id (1028, 0x404)
  command IDOK         the OK button of the caption
  command IDCANCEL     the close button of the caption
  tick [N]             N periods of 300 ms pass on the virtual clock (default 1),
                       with every timer message they bring
  dump                 print the dialog's state
  screenshot FILE.png  save what the window shows (with --window only)
Blank lines and lines starting with # are skipped. At the end of the input a
dialog that is still open is closed with IDCANCEL.

It prints one JSON object a line, each with an "event":
  dump        {"event":"dump","title":...,"style":N,"exstyle":N,"controls":[...],
              "pixels":[x,y,w,h] of the whole window on the screen}
              each control {"id","name","class","text","style","rect":[x,y,w,h]
              in dialog units,"font","visible","pixels":[x,y,w,h] in screen
              pixels}; "font" is null when the control has the dialog's own
              font, "system" when it has none, else {"face","points","height"}
  messagebox  {"event":"messagebox","caption","text","type":N}; answered OK at once
  launch      {"event":"launch","file","parameters","found":true|false}
  screenshot  {"event":"screenshot","file"}: a screenshot was saved (--window)
  exit        {"event":"exit","result":N}: the dialog's result (1 OK, 2 cancel)
  error       {"event":"error","line":N,"message":...}: a line that could not be
              carried out; the run goes on
The exit status is 0 when the script ran, whatever the dialog did.

With --window, Kestrix opens a real window on the display; a script, if
given, drives it (ticks then take real time).

Environment: KESTRIX_PROGRAM names the Kestrix executable to run (default:
the one beside this tool).)";

std::filesystem::path programPath() {
    if (const char* named = std::getenv("KESTRIX_PROGRAM"); named && *named) {
        return named;
    }
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return self.parent_path() / "Kestrix";
}

void run(ToolContext& ctx, const RunOptions& options) {
    std::filesystem::path device = ctx.deviceFolder();
    std::error_code ec;
    // The default device is laid out on first use; a device named on the
    // command line or in KESTRIX_DEVICE must exist, so a typing error does
    // not quietly make a new one.
    const char* named = std::getenv("KESTRIX_DEVICE");
    bool isDefault = ctx.deviceOption.empty() && !(named && *named);
    if (isDefault && !std::filesystem::exists(device, ec)) {
        if (!initDevice(ctx, InitOptions{}, std::cerr)) {
            return;
        }
    }
    if (!std::filesystem::is_directory(device / "root", ec)) {
        fail(ctx, "no emulated device at " + device.string() +
                      " (create one with: kestrix-device init)");
        return;
    }
    std::filesystem::path program = programPath();
    if (access(program.c_str(), X_OK) != 0) {
        fail(ctx, "cannot run " + program.string() + ": " + std::strerror(errno));
        return;
    }
    std::string script;
    if (!options.script.empty()) {
        script = std::filesystem::absolute(options.script).string();
        if (access(script.c_str(), R_OK) != 0) {
            fail(ctx, "cannot read the script " + options.script + ": " + std::strerror(errno));
            return;
        }
    }
    setenv("KESTRIX_DEVICE", device.c_str(), 1);
    setenv("KESTRIX_BACKEND", options.window ? "window" : "headless", 1);
    if (script.empty()) {
        unsetenv("KESTRIX_SCRIPT");
    } else {
        setenv("KESTRIX_SCRIPT", script.c_str(), 1);
    }
    std::string argv0 = program.string();
    char* args[] = {argv0.data(), nullptr};
    execv(program.c_str(), args);
    fail(ctx, "cannot run " + program.string() + ": " + std::strerror(errno));
}

} // namespace

void addRunCommand(CLI::App& app, ToolContext& ctx) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* cmd = app.add_subcommand("run", "Run Kestrix on the device (headless or --window)");
    cmd->footer(kRunHelp);
    cmd->add_option("--script", options->script, "Read commands from FILE instead of stdin")
        ->type_name("FILE");
    cmd->add_flag("--window", options->window, "Open a real window on the display");
    cmd->callback([&ctx, options] { run(ctx, *options); });
}

} // namespace kxtool
