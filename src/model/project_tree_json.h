#pragma once

#include <QJsonObject>

#include <functional>

class CProjectObject;

// The project tree as JSON: each object's kind, name, fore flag, properties and children,
// as lumivant-cli info --json prints it. With ZonePaths::Include every zone also carries
// "path": {"numbers": "s1/p1/w1/z1", "names": "Screen/Program/Window/Zone"}, the two
// ways a script names it.
enum class ZonePaths { Omit, Include };

// Called for every object after its node is made, to add to it.
using TreeJsonExtra = std::function<void(const CProjectObject& object, QJsonObject& node)>;

QJsonObject ProjectTreeJson(const CProjectObject& object, ZonePaths paths = ZonePaths::Omit,
                            const TreeJsonExtra& extra = {});
