#pragma once

#include "model/project_root.h"

#include <memory>

// The large project of the benchmarks: one screen, 200 programs x 16 windows x 10 zones.
std::unique_ptr<CProjectRoot> LargeProject();
