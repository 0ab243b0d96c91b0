#pragma once

#include "model/controller_params.h"

#include <QString>

#include <vector>

class CScreen;
class CControllerLink;
class IOperationUi;

// The controller maintenance commands of the Tools menu. Each sends its command to the
// screen's controller and shows the result display through the interface: "Command
// succeed." as information, or "Command failed:" followed by the link's error text as a
// warning. Each returns true when the controller accepted the command.

// Shows the result display for the outcome of a command; returns ok.
bool ReportCommandResult(CControllerLink& link, IOperationUi& ui, bool ok);

// Time sync (command 37) with the PC's local time.
bool SyncPanelTime(CScreen& screen, IOperationUi& ui);
// Parameter reset (command 35) after the question 41070; an answer No sends nothing and
// returns false without a result display.
bool ResetPanelParams(CScreen& screen, IOperationUi& ui);
// Clear panel (command 39), without a question.
bool ClearPanel(CScreen& screen, IOperationUi& ui);

// Brightness and on/off. Each reads the whole parameter block first, changes its fields and
// sends the block (command 32) or the power group (command 36) on one open link. The chosen
// values stay in the screen's block whatever the controller does. When the read fails
// nothing is sent (the block is not the controller's) and the result display reports the
// read's failure.

// Manual brightness 0..15 (the mode byte is left as it is).
bool SetManualBrightness(CScreen& screen, IOperationUi& ui, int value);
// The brightness timetable: up to six entries; the remaining rows keep their times and are
// marked not in use. Brightness mode becomes 2 (timing). A basic model has no timetables:
// its mode byte becomes 1 and nothing is sent.
bool SetBrightnessTimetable(CScreen& screen, IOperationUi& ui,
                            const std::vector<ScheduleEntry>& entries);
// Power on or off at once: on/off mode 1 (manual), state 1 or 0, command 36.
bool SetPanelPower(CScreen& screen, IOperationUi& ui, bool on);
// The on/off timetable: up to four entries, the rest not in use; on/off mode 2, command 32.
bool SetPowerTimetable(CScreen& screen, IOperationUi& ui,
                       const std::vector<ScheduleEntry>& entries);

// Fills a timetable of the block from entries, row by row as given (an entry may be marked
// not in use); rows beyond them keep their times, marked not in use. power: the on/off table, else
// the brightness table.
void FillTimetable(ControllerParams& params, bool power, const std::vector<ScheduleEntry>& entries);
