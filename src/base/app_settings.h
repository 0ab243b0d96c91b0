#pragma once

#include <QString>

// The process-wide settings of the settings file (section "App"), after clamping.
struct AppSettings
{
    int delay = 2; // default hold of new clock, date-time and countdown zones, seconds
    int exit = 0;  // what closing the main window asks: 0 confirm, 1 save dialog, 2 nothing
    int lang = 0;  // 0 automatic, 1 Simplified Chinese, 2 Traditional Chinese, 3 English, ...
    int tip = 0;   // 0 message boxes, 1 beep and status-bar text
    int mul = 1;   // preview zoom multiplier, 1 to 8
    int div = 1;   // preview zoom divisor, 1 to 2
    int pkg = 128; // data packet size for sending: 64, 128 or 256
    // The View menu's switches, 0 or 1: the preview and the editor's LED page in the colours
    // the content was designed in (else as the card shows it), the preview's LED look, the
    // warnings list.
    int designer = 0;
    int dots = 0;
    int warnings = 1;

    // Reads the file; a missing or unreadable file gives the defaults.
    static AppSettings Load(const QString& path);
    // Writes the two keys the program writes back at exit ("mul" and "div").
    bool SaveZoom(const QString& path) const;
    // Writes the View menu's switches ("designer", "dots", "warnings"), also at exit.
    bool SaveView(const QString& path) const;
    // Writes "delay", "exit" and "tip", as the Options dialog does.
    bool SaveOptions(const QString& path) const;
    bool SaveLanguage(const QString& path) const;

    void Clamp();
};

// The settings used by the running process.
AppSettings& Settings();
