// Kestrix in a real window on a virtual display, tapped with the mouse at
// the places where it draws its buttons, and what it leaves on the device
// afterwards.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>

#include "child_process.h"
#include "window_run.h"
#include "scripted_run.h"
#include "virtual_display.h"

namespace kxtest {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

class WindowRunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_scratch = std::make_unique<TempDevice>();
        s_display = std::make_unique<VirtualDisplay>(s_scratch->folder().parent_path());
    }
    static void TearDownTestSuite() {
        s_display.reset();
        s_scratch.reset();
    }

    // Starts `kestrix-device run --window` on the device with this script.
    std::unique_ptr<ChildProcess> start(const TempDevice& device, const std::string& script) {
        return startWindowRun(device, s_display->name(), script);
    }

    // The next event of this kind, skipping others; fails the test when it
    // does not come within the time.
    static json waitForEvent(ChildProcess& run, const std::string& kind,
                             std::chrono::milliseconds timeout = 20s) {
        if (std::optional<json> event = nextEvent(run, kind, nullptr, timeout)) {
            return *event;
        }
        ADD_FAILURE() << "no \"" << kind << "\" event came; output so far:\n"
                      << ::testing::PrintToString(run.lines());
        return json();
    }

    // Taps the middle of a control as the dump places it on the screen.
    void tap(const json& dump, const std::string& name) {
        json pixels = control(dump, name).at("pixels");
        int x = pixels[0].get<int>() + pixels[2].get<int>() / 2;
        int y = pixels[1].get<int>() + pixels[3].get<int>() / 2;
        ASSERT_TRUE(s_display->click(x, y)) << "xdotool could not click " << name;
    }

    static std::string lastEntry(const TempDevice& device) {
        return readFile(device.lastEntryFile());
    }

    static std::string utf16le(const std::string& ascii) {
        std::string out;
        for (char c : ascii) {
            out += c;
            out += '\0';
        }
        return out;
    }

    static std::unique_ptr<TempDevice> s_scratch;
    static std::unique_ptr<VirtualDisplay> s_display;
};

std::unique_ptr<TempDevice> WindowRunTest::s_scratch;
std::unique_ptr<VirtualDisplay> WindowRunTest::s_display;

// The script only asks for the layout and then keeps the window open long
// enough for the clicks; the window must be closed by them.
constexpr const char* kHoldOpen = "dump\ntick 200\n";

TEST_F(WindowRunTest, TapsOnTheDrawnButtonsEditSaveAndStoreTheAddress) {
    TempDevice device; // a 2450 board
    writeFile(device.folder().parent_path() / "key.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Comm\\SMSC91181]\r\n");
    ASSERT_EQ(
        device
            .tool("reg import " + shellQuote((device.folder().parent_path() / "key.reg").string()))
            .exitCode,
        0);
    auto run = start(device, kHoldOpen);
    json dump = waitForEvent(*run, "dump");
    ASSERT_TRUE(dump.is_object());

    // Centred on the virtual screen, as the dialog centres itself.
    const json& window = dump.at("pixels");
    EXPECT_EQ(window[0].get<int>(), (1024 - window[2].get<int>()) / 2);
    EXPECT_EQ(window[1].get<int>(), (768 - window[3].get<int>()) / 2);

    // 1, 2, A into the first three digits; then digit 5 gets F.
    for (const char* name : {"IDC_KEY_1", "IDC_KEY_2", "IDC_KEY_A", "IDC_DIGIT5", "IDC_KEY_F"}) {
        tap(dump, name);
    }
    tap(dump, "IDC_SAVE");
    json launch = waitForEvent(*run, "launch");
    EXPECT_EQ(launch.value("file", ""), "Windows\\SaveRegs.exe");
    tap(dump, "IDC_CLOSE");

    json exit = waitForEvent(*run, "exit");
    EXPECT_EQ(exit.value("result", 0), 1) << "Close ends the dialog with IDOK";
    EXPECT_EQ(run->waitExit(20s), std::optional<int>(0));

    CommandResult reg = device.tool("reg export");
    EXPECT_NE(reg.out.find("\"MACADD\"=hex:02,7d,e3,12,a0,f0"), std::string::npos) << reg.out;
    EXPECT_EQ(lastEntry(device), utf16le("12A0F0"));
}

struct CaptionCase {
    const char* button;
    int result;
};

void PrintTo(const CaptionCase& c, std::ostream* out) {
    *out << c.button;
}

class CaptionButtonTest : public WindowRunTest,
                          public ::testing::WithParamInterface<CaptionCase> {};

// The caption's OK and close buttons end the dialog with IDOK and IDCANCEL;
// the digits shown are stored either way.
TEST_P(CaptionButtonTest, EndsTheDialogAndStoresTheDigits) {
    TempDevice device;
    auto run = start(device, kHoldOpen);
    json dump = waitForEvent(*run, "dump");
    ASSERT_TRUE(dump.is_object());
    tap(dump, "IDC_KEY_7");

    // The caption is 26 pixels high inside a 3-pixel frame; at its right
    // end sit the close box (22 wide) and, left of it, the OK box (30 wide),
    // 2 pixels apart.
    const json& window = dump.at("pixels");
    int right = window[0].get<int>() + window[2].get<int>() - 3 - 2;
    int y = window[1].get<int>() + 3 + 13;
    int x = std::string(GetParam().button) == "close" ? right - 11 : right - 22 - 2 - 15;
    ASSERT_TRUE(s_display->click(x, y));

    json exit = waitForEvent(*run, "exit");
    EXPECT_EQ(exit.value("result", 0), GetParam().result);
    EXPECT_EQ(run->waitExit(20s), std::optional<int>(0));
    EXPECT_EQ(lastEntry(device), utf16le("700000"));
}

INSTANTIATE_TEST_SUITE_P(Caption, CaptionButtonTest,
                         ::testing::Values(CaptionCase{"OK", 1}, CaptionCase{"close", 2}),
                         [](const auto& info) { return std::string(info.param.button); });

// A screenshot holds the whole window; one that cannot be written is an
// error event and the run goes on.
TEST_F(WindowRunTest, ScreenshotSavesTheWindowAndReportsBadFiles) {
    TempDevice device;
    std::filesystem::path good = device.folder().parent_path() / "shot.png";
    auto run =
        start(device, "screenshot " + good.string() +
                          "\nscreenshot /nonexistent-folder/shot.png\n"
                          "screenshot " +
                          (device.folder().parent_path() / "shot.bmp").string() + "\ndump\n");
    json saved = waitForEvent(*run, "screenshot");
    json missingFolder = waitForEvent(*run, "error");
    json wrongType = waitForEvent(*run, "error");
    json dump = waitForEvent(*run, "dump");
    EXPECT_EQ(run->waitExit(20s), std::optional<int>(0));

    EXPECT_EQ(saved.value("file", ""), good.string());
    EXPECT_EQ(missingFolder.value("line", 0), 2);
    EXPECT_NE(missingFolder.value("message", "").find("/nonexistent-folder/shot.png"),
              std::string::npos);
    EXPECT_EQ(wrongType.value("line", 0), 3);
    EXPECT_FALSE(std::filesystem::exists(device.folder().parent_path() / "shot.bmp"));

    // A PNG whose header gives the window's size.
    std::string png = readFile(good);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(be32(16), dump.at("pixels")[2].get<uint32_t>());
    EXPECT_EQ(be32(20), dump.at("pixels")[3].get<uint32_t>());
}

} // namespace
} // namespace kxtest
