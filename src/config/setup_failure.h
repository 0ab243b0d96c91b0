#pragma once

#include <QString>

class CModelInfo;

// Which setup dialog reports a failed parameter write.
enum class SetupForm { PanelSetup, AdvancedSetup };

// The warning shown when the parameter block could not be written (or, in the Advanced
// Setup, when the screen did not answer the read), worded by model and link state. The
// values stay in the screen's block in every case, which the wording says for some models.
QString SetupFailureText(const CModelInfo& model, SetupForm form, bool linkConnected,
                         const QString& errorText);
