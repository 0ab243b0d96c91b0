#pragma once

#include <QString>

#include <cstdint>
#include <type_traits>

// One pass over an object's property elements, in the order the project file holds them.
// The same list of calls writes the file (CPropertyWriter), reads it (CPropertyReader)
// and describes the object to the command-line tool, so the order is stated once.
class CPropertyIo
{
public:
    virtual ~CPropertyIo() = default;
    virtual bool IsReading() const = 0;

    // An integer field of any width. Written as the project file writes numbers: signed
    // fields and 32-bit fields as the signed 32-bit value, narrower unsigned fields as
    // their unsigned value. Read with a plain decimal conversion and cut to the width.
    // Returns true when a reader found the key.
    template <typename T> bool Int(const char* key, T& field)
    {
        static_assert(std::is_integral_v<T>);
        // Narrow unsigned fields widen to their unsigned value, 32-bit ones wrap to signed.
        std::int32_t value = static_cast<std::int32_t>(field);
        if (!Number(key, value))
            return false;
        field = static_cast<T>(value);
        return true;
    }

    // A text field; a text read from a file keeps at most maxChars characters.
    bool Text(const char* key, QString& field, int maxChars)
    {
        if (!TextValue(key, field))
            return false;
        if (field.size() > maxChars)
            field.truncate(maxChars);
        return true;
    }

protected:
    // Writers store value and return false; readers return true with the value read when
    // the key was found.
    virtual bool Number(const char* key, std::int32_t& value) = 0;
    virtual bool TextValue(const char* key, QString& value) = 0;
};

// The plain decimal conversion of the project file: leading white space, an optional
// sign, then digits; anything else reads as 0. Values beyond 32 bits saturate.
std::int32_t ParseDecimal(const char* text);
