#pragma once

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <vector>

class ControllerParams;

// Reads received screen data as the card plays it, with the card's own colour count and
// data polarity: adds the programs, windows and zones to the summary ("decoded" true, or
// false with "decodeError") and writes "program-N.png" per program into the folder, each
// showing the first page of every window at its place on the screen.
bool DescribeScreenData(const std::vector<std::uint8_t>& data, const ControllerParams& params,
                        const QString& folder, QJsonObject& summary);
