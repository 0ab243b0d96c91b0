#pragma once

// Switches the user interface to the "lang" setting (0 automatic, 1 Simplified Chinese,
// 2 Traditional Chinese, 3 English; 4 and 5 fall back to English): the string table, the
// program's catalogue and Qt's own translations; every window is then told to relabel.
void ApplyLanguage(int lang);
