#pragma once

#include "editors/screen_page.h"

class CLumivantDoc;
class CProjectObject;
class CPropertyPage;
class QWidget;

// The property page of the object's kind, loaded and ready, as a child of parent; null
// when the kind has no page. A screen's page offers the commands as buttons.
CPropertyPage* CreatePropertyPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent,
                                  const ScreenCommands& commands = {});

// The entry-effect page of a zone, for the host to show beside the content page (the
// image page has it inside already); null for an object that is not a zone.
CPropertyPage* CreateEffectPage(CProjectObject& object, CLumivantDoc& doc, QWidget* parent);
