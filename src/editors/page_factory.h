#pragma once

class CLumivantDoc;
class CProjectObject;
class CPropertyPage;
class QWidget;

// The property page of the object's kind, loaded and ready, as a child of parent; null
// when the kind has no page.
CPropertyPage* CreatePropertyPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent);
