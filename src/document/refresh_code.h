#pragma once

// What a change touched, as pages and dialogs tell the views.
enum class RefreshCode : int {
    Content = 1,
    Geometry = 2,
    EffectSettings = 3,
    Name = 5,
};
