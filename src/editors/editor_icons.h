#pragma once

#include <QIcon>

// The small pictures of the text editor's tool bar, drawn at run time so that they are
// sharp at any device pixel ratio and need no theme.
enum class EditorIcon {
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignTop,
    AlignMiddle,
    AlignBottom,
    SaveFile,
    OpenFile,
    InsertImage,
    LineSpace,
};

QIcon MakeEditorIcon(EditorIcon icon);
