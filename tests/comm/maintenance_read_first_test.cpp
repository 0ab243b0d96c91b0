// Brightness and on/off read the controller's block first; a read that fails in any way
// must not be followed by a write of the project's own (stale) block, while the values the
// person chose stay in the project's block.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "model/screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>

namespace {

using P = ControllerParams;

const std::vector<std::uint8_t> kIdentity{0x91, 0x01, 0x00, 0x05, 0x01};

enum class ReadFault { WrongSize, BadChecksum, ErrorStatus, NoAnswer };

ScriptedController::Reply FaultyRead(ReadFault fault, const ParsedRequest& request)
{
    if (request.command == CmdIdentify)
        return ScriptedController::Answer(0, kIdentity);
    if (request.command != CmdReadParams)
        return ScriptedController::Answer(0);
    const std::vector<std::uint8_t> block(P::kSize, 0x5A);
    switch (fault) {
    case ReadFault::WrongSize:
        return ScriptedController::Answer(0);
    case ReadFault::BadChecksum: {
        auto reply = ScriptedController::Answer(0, block);
        (*reply)[reply->size() / 2] ^= 0xFF;
        return reply;
    }
    case ReadFault::ErrorStatus:
        return ScriptedController::Answer(1, block);
    case ReadFault::NoAnswer:
        break;
    }
    return std::nullopt;
}

using Command = std::function<bool(CScreen&, IOperationUi&)>;
// What the command's choice does to a block.
using Choice = std::function<void(P&)>;

struct NamedCommand
{
    const char* name;
    Command command;
    Choice choice;
};

const std::vector<NamedCommand>& Commands()
{
    static const std::vector<NamedCommand> commands{
        {"brightness", [](CScreen& s, IOperationUi& ui) { return SetManualBrightness(s, ui, 5); },
         [](P& p) { p.SetU8(P::Brightness, 5); }},
        {"brightness timetable",
         [](CScreen& s, IOperationUi& ui) {
             return SetBrightnessTimetable(s, ui, {ScheduleEntry{60, 120, 3}});
         },
         [](P& p) {
             FillTimetable(p, false, {ScheduleEntry{60, 120, 3}});
             p.SetU8(P::BrightnessMode, 2);
         }},
        {"power", [](CScreen& s, IOperationUi& ui) { return SetPanelPower(s, ui, false); },
         [](P& p) {
             p.SetU8(P::PowerMode, 1);
             p.SetU8(P::PowerState, 0);
         }},
        {"power timetable",
         [](CScreen& s, IOperationUi& ui) {
             return SetPowerTimetable(s, ui, {ScheduleEntry{60, 120, 1}});
         },
         [](P& p) {
             FillTimetable(p, true, {ScheduleEntry{60, 120, 1}});
             p.SetU8(P::PowerMode, 2);
         }},
    };
    return commands;
}

} // namespace

TEST(MaintenanceReadFirst, FailedReadSendsNothingAndKeepsTheChoiceInTheBlock)
{
    // Every way the read can fail with brightness, one way with the other commands.
    for (const ReadFault fault : {ReadFault::WrongSize, ReadFault::BadChecksum,
                                  ReadFault::ErrorStatus, ReadFault::NoAnswer}) {
        for (const auto& [name, command, choice] : Commands()) {
            if (fault != ReadFault::ErrorStatus && std::string(name) != "brightness")
                continue;
            SCOPED_TRACE(testing::Message() << name << ", fault " << static_cast<int>(fault));
            ScriptedController controller(
                [fault](const ParsedRequest& request, int) { return FaultyRead(fault, request); });
            UdpProject project(controller.Port(), 60);
            P expected = project.screen->Params();
            choice(expected);
            RecordingOperationUi ui;
            EXPECT_FALSE(command(*project.screen, ui));
            const std::vector<int> sent = controller.Commands();
            EXPECT_EQ(std::count(sent.begin(), sent.end(), int(CmdWriteParams)), 0);
            EXPECT_EQ(std::count(sent.begin(), sent.end(), int(CmdPowerGroup)), 0);
            EXPECT_TRUE(ui.informs.isEmpty());
            ASSERT_EQ(ui.warnings.size(), 1);
            EXPECT_TRUE(ui.warnings[0].startsWith(QStringLiteral("Command failed:")))
                << ui.warnings[0].toStdString();
            EXPECT_GT(ui.warnings[0].size(), QStringLiteral("Command failed:").size());
            // Only the chosen values changed in the project's block.
            EXPECT_TRUE(project.screen->Params() == expected);
        }
    }
}

TEST(MaintenanceReadFirst, GoodReadIsChangedAndWrittenBack)
{
    std::mutex mutex;
    std::vector<std::uint8_t> written;
    ScriptedController controller([&](const ParsedRequest& request, int) {
        if (request.command == CmdWriteParams) {
            std::lock_guard lock(mutex);
            written = request.payload;
        }
        if (request.command == CmdReadParams)
            return ScriptedController::Answer(0, std::vector<std::uint8_t>(P::kSize, 0x5A));
        return FaultyRead(ReadFault::NoAnswer, request);
    });
    UdpProject project(controller.Port(), 300);
    RecordingOperationUi ui;
    ASSERT_TRUE(SetManualBrightness(*project.screen, ui, 5));
    std::lock_guard lock(mutex);
    ASSERT_EQ(written.size(), std::size_t(P::kSize));
    // The card's own block comes back with only the brightness changed.
    EXPECT_EQ(written[P::Brightness], 5);
    EXPECT_EQ(written[P::Width], 0x5A);
}
