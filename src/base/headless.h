#pragma once

// Sets up the environment of a program that renders without a display (the command-line
// tool, the simulator, tests, benchmarks): the offscreen platform unless another is
// chosen, and a private runtime folder when the session has none. Call before the
// QGuiApplication is created.
void PrepareHeadlessEnvironment();
