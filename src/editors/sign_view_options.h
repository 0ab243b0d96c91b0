#pragma once

#include "render/sign_picture.h"

#include <QObject>

// How the desktop's views show the sign, as the View menu sets it: the form of the pages
// (as the card shows them, or in the colours they were designed in) and the preview's LED
// look. The values live in the settings (written at exit); every view that shows pages
// follows changed().
class CSignViewOptions final : public QObject
{
    Q_OBJECT

public:
    static CSignViewOptions& Instance();

    bool DesignerColours() const;
    SignForm Form() const { return DesignerColours() ? SignForm::Designer : SignForm::Card; }
    // The switch, whatever the zoom; the preview shows the look only where it fits.
    bool LedLook() const;

    void SetDesignerColours(bool on);
    void SetLedLook(bool on);

signals:
    void changed();

private:
    CSignViewOptions() = default;
};
