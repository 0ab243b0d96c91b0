#pragma once

#include "base/string_table.h"

#include <QByteArray>

#include <string>

// The web page's texts from the string table in the three languages, as a script setting
// window.LUMIVANT_TEXTS = {"en": {ID: TEXT, ...}, "zh-CN": {...}, "zh-TW": {...}}; the page
// picks by the browser's language.
QByteArray WebTextsScript();

// The language an Accept-Language header asks for first among those of the string table;
// the process's language when it names none of them.
Language LanguageOfRequest(const std::string& acceptLanguage);
