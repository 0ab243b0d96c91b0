#pragma once

#include "model/controller_params.h"
#include "model/link_settings.h"
#include "model/project_object.h"

#include <QString>
#include <QUndoCommand>

#include <array>
#include <cstdint>

class CLumivantDoc;
class CScreen;

// What the setup forms store in a screen: the controller's parameter block, the way the PC
// reaches it, the identity it reported and the send flag.
struct ScreenSettings
{
    static ScreenSettings Of(const CScreen& screen);

    ControllerParams params;
    LinkSettings link;
    std::array<std::uint8_t, 5> identity{};
    int selected = 1;
};
bool operator==(const ScreenSettings& a, const ScreenSettings& b);

// The values a setup form stored in a screen (Panel Setup, Advanced Setup, Communication
// Setup, the controller setup, brightness and on/off, a search, a read of the card's
// block). Undo and redo change only what the step itself changed, field by field and byte by
// byte of the block. The controller keeps what it was sent: undo changes the project only.
class CScreenSettingsStep final : public QUndoCommand
{
public:
    // what names the change; sent says that it went to the controller too.
    CScreenSettingsStep(CLumivantDoc& doc, const CScreen& screen, const ScreenSettings& before,
                        const ScreenSettings& after, int mergeId, const QString& what, bool sent);

    // The label of a change: what, and that the controller received it.
    static QString Label(const QString& what, bool sent);

    void undo() override { Apply(m_after, m_before); }
    void redo() override;
    int id() const override { return m_mergeId == 0 ? -1 : m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    // Changes, in the screen, whatever differs between from and to into to's value.
    void Apply(const ScreenSettings& from, const ScreenSettings& to);

    CLumivantDoc& m_doc;
    CProjectObject::Id m_screen;
    ScreenSettings m_before;
    ScreenSettings m_after;
    int m_mergeId;
    QString m_what;
    bool m_sent;
    bool m_done = true; // the form changed the screen before the step was pushed
};
