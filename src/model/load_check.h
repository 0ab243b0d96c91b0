#pragma once

#include "model/project_finding.h"

#include <QByteArray>
#include <QString>

// Reads a project file the way CProjectRoot::LoadProject does and adds a finding for
// everything the loader skips, drops or ignores without a word: keys out of the writer's
// order, unknown keys and kinds, objects it never reaches, implicit windows without
// exactly one zone, rectangles it cannot use. False when the loader would refuse the file
// as a whole (its own failure text then says why); the findings up to there stay.
bool CheckProjectLoading(const QString& path, ProjectFindings& findings);
bool CheckProjectLoadingBuffer(const QByteArray& bytes, ProjectFindings& findings);
