#include "setup_ui/setup_steps.h"

#include "comm/controller_link.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"

#include <QCoreApplication>

namespace SetupSteps {

QString Named(const QString& form, const CScreen& screen)
{
    return QCoreApplication::translate("SetupSteps", "%1 of %2").arg(form, screen.GetName());
}

bool ReadParams(CLumivantDoc& doc, CScreen& screen)
{
    const QString what =
        QCoreApplication::translate("SetupSteps", "Parameters of %1 read from the panel")
            .arg(screen.GetName());
    return doc.ChangeScreenSettings(
        screen, what, [&screen] { return LinkOf(screen).ReadParams(); },
        CLumivantDoc::CardWrite::None);
}

} // namespace SetupSteps
