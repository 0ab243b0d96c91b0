#pragma once

#include <QString>

class CScreen;
class IOperationUi;

// The display-driving parameters of a screen as the two setup forms show them, loaded from
// and stored into the screen's parameter block and model. Storing changes only the bytes
// each form covers; every other byte of the block stays as read from the controller.

// The fields both setup forms show: the model, size, colours, polarities, clock and
// blanking.
struct PanelDriveValues
{
    QString modelName;  // empty or unparsable: the screen's model stays
    int colourType = 1; // 1 R, 2 RG, 3 RGB
    int width = 64;
    int height = 32;
    int dataPolarity = 0; // 0 "-", 1 "+"
    int oePolarity = 0;
    int clockFreq = 0; // 0..6: 2.0M to 5.0M
    int blanking = 5;  // 5..63
};

// The Panel Setup form: the shared fields and a row of the scan-mode table.
struct PanelSetupValues : PanelDriveValues
{
    int scanRow = 0; // row of the scan-mode table
};

// The Advanced Setup form: the shared fields, plus row order, decoder and mirror flags,
// pixel order, and the scan and fold given field by field.
struct AdvancedSetupValues : PanelDriveValues
{
    int rowOrder = 0; // -2..2
    bool no138 = false;
    bool mirror8bit = false;
    bool mirrorUpDown = false;
    int pixelOrder = 0;   // 0 normal, 1 RG exchange, 2 GB exchange
    int scanIndex = 0;    // 0 static, 1 1/2, 2 1/4, 3 1/8, 4 1/16
    int warpNumIndex = 0; // 0 no fold, 1 one, 2 three, 3 seven, 4 fifteen folds
    bool warpDown = false;
    bool warp16 = false; // fold every 16 dots, else every 8
};

PanelSetupValues LoadPanelSetup(const CScreen& screen);
// Writes the values into the block and the model; the sizes are cut to whole modules and
// the values given back with the sizes as stored.
void StorePanelSetup(CScreen& screen, PanelSetupValues& values);
// Store, then write the block (command 32); one step of the automatic scan-type trial.
// False with the link's error text when the controller did not take it.
bool StoreAndWritePanelSetup(CScreen& screen, PanelSetupValues& values);
// The Setup button: reads the block (so that the fields the form does not cover take the
// controller's values), stores and writes it, and reports the result. When the read fails
// nothing is written (the block may hold stale addresses); the values stay in the block.
bool RunPanelSetup(CScreen& screen, PanelSetupValues& values, IOperationUi& ui);

AdvancedSetupValues LoadAdvancedSetup(const CScreen& screen);
void StoreAdvancedSetup(CScreen& screen, AdvancedSetupValues& values);
// The Setup button: reads the block, stores the values, and writes it when the controller
// answered the read; reports the result. pauseMs is the settling pause after the read.
bool RunAdvancedSetup(CScreen& screen, AdvancedSetupValues& values, IOperationUi& ui,
                      int pauseMs = 50);

// The fold length stored when the panel has no fold.
constexpr int kNoFoldLength = 32;

// The communication summary of the Advanced Setup form (41016 or 41017), one setting a line.
QString CommunicationSummary(const CScreen& screen);
