#pragma once

#include <QString>

#include <initializer_list>

// A numbered text with its "%s" and "%d" places filled in order by the values, and "%%"
// written as "%".
QString SystemText(int id, std::initializer_list<QString> values = {});
