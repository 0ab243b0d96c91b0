#pragma once

#include <QString>

#include <cstddef>
#include <memory>

// An element cursor over an XML document. It keeps three positions: the parent element,
// the main (current) element below the parent, and the child element below the main one.
class CXmlNavigator
{
public:
    CXmlNavigator();
    ~CXmlNavigator();
    CXmlNavigator(const CXmlNavigator&) = delete;
    CXmlNavigator& operator=(const CXmlNavigator&) = delete;

    // Starts an empty document.
    void Create();
    // Parses a file or a buffer (UTF-8 with or without byte-order mark, UTF-16 with one);
    // the positions start at the document. False when nothing could be parsed.
    bool Load(const QString& path);
    bool LoadBuffer(const void* data, std::size_t size);
    // After a failed Load or LoadBuffer: the parser's reason with the line and column, or
    // empty when the document simply holds no element.
    const QString& ParseErrorText() const;
    // Writes the document; false when the file could not be written completely.
    bool Save(const QString& path) const;
    QByteArray SaveToBuffer() const;

    void AddProcessingInstruction(const char* target, const char* text);
    // Appends an element after the main position at the parent level; it becomes main.
    void AddElem(const char* name);
    // Appends a child element under main with the text (none when empty); it becomes
    // the child position.
    void AddChildElem(const char* name, const QString& text);
    void AddChildElem(const char* name, int number);

    // Searches the siblings after the main position (from the parent's first child when
    // there is none) for the next element of that name, any element for an empty name.
    bool FindElem(const char* name = "");
    void IntoElem();
    void OutOfElem();
    QString GetElemText() const;
    // The main element's text as the document holds it (UTF-8), valid until it changes.
    const char* GetElemUtf8() const;
    // The main element's name (empty when there is no main element).
    const char* ElemName() const;
    // The main element's text as a number (plain decimal conversion).
    int GetElemNumber() const;

    // How many IntoElem steps the cursor stands below the document.
    int Depth() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
