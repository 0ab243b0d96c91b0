#pragma once

#include <QPixmap>

// Our own drawing of how a module is wired to the card: the card, the ribbon cable and
// the first module's connector with its signal names.
QPixmap WiringDiagramPixmap();
