#pragma once

#include <functional>

class QString;
class QWidget;

// Gives every control under root a name that screen readers say and tests find it by, in
// the language in use: the label that stands before it in its layout becomes its buddy (the
// label beside it in a row, or above it in a column); a control after a check box or a radio
// button that switches it is named by that button's text; a control that has a tool tip and
// nothing else is named by the tip. Controls that already have a label or an accessible
// name are left as they are. A control that shares its row with a label or a switch and has
// a role (SetNameRole) is named after that label: "Hour: color".
void NameControlsByTheirLabels(QWidget* root);

// What a control is to the label of its row, for its name.
enum class NameRole { Colour, Size, Shape, Unit };
void SetNameRole(QWidget* control, NameRole role);

// Names the control by text(), and again (after every label has changed) whenever the
// language changes.
void KeepAccessibleName(QWidget* control, std::function<QString()> text);
