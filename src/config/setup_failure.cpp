#include "config/setup_failure.h"

#include "base/string_table.h"
#include "config/model_info.h"

namespace {

constexpr int kCommandFailed = 43027;
constexpr int kSavedButNotSent = 43037;
constexpr int kSaved = 43038;

// The models whose cards keep their parameters without confirming the write.
bool SavesSilently(const CModelInfo& model, SetupForm form)
{
    const QString& name = model.GetName();
    if (name == QLatin1String("RI-ZA"))
        return true;
    return form == SetupForm::PanelSetup && name == QLatin1String("RI-ZI");
}

} // namespace

QString SetupFailureText(const CModelInfo& model, SetupForm form, bool linkConnected,
                         const QString& errorText)
{
    if (SavesSilently(model, form))
        return LoadString(kSaved);
    if (!model.IsUModel() || linkConnected)
        return LoadString(kCommandFailed) + errorText;
    QString text = LoadString(kSavedButNotSent);
    return text.replace(QLatin1String("%s"), errorText);
}
