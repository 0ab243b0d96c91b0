#pragma once

#include <QString>
#include <QStringList>

// The access codes that guard the controller configuration commands. A typed code is
// compared without regard to case.
namespace AccessCodes {

QStringList PanelSetup();      // "274"
QStringList AdvancedSetup();   // "351", "rom742", "kx-204"
QStringList ControllerSetup(); // "274", "351" (Config... of Communication Setup)
QStringList FirmwareUpdate();  // "351"

bool Accepts(const QStringList& codes, const QString& typed);

} // namespace AccessCodes
