#pragma once

#include <QByteArray>

#include <memory>
#include <vector>

class CProjectObject;

// Copies of objects as the project file stores them, for undo and recovery: an object's
// own properties, or the object with everything below it.
QByteArray SnapshotProperties(const CProjectObject& object);
// Reads the properties back into the object; its children stay as they are.
bool RestoreProperties(CProjectObject& object, const QByteArray& snapshot);

QByteArray SnapshotSubtree(const CProjectObject& object);
// A new object for parent (not yet among its children) read from a subtree snapshot, or
// null when the snapshot cannot be read or its kind may not stand under parent.
std::unique_ptr<CProjectObject> RestoreSubtree(CProjectObject& parent, const QByteArray& snapshot);

// Where an object stands: its child index on every level below the root. Paths stay
// meaningful when the tree is rebuilt, pointers do not.
using ObjectPath = std::vector<int>;
ObjectPath PathOf(const CProjectObject& object);
// The object at the path below root, or null.
CProjectObject* ObjectAt(CProjectObject& root, const ObjectPath& path);
