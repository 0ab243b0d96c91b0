#pragma once

#include <QString>

class CScreen;

// The question a send asks before a screen whose windows overlap or leave the screen
// (text 41068, naming the programs); empty when its windows fit.
QString SendOverlapQuestion(const CScreen& screen);
